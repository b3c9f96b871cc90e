#include "platform/window_layer.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <unordered_map>

namespace zedade {
namespace {

// Turns a widget's right-button and context-menu events into messages for its procedure. Every
// other event passes untouched.
class ProcedureFilter final : public QObject {
 public:
  ProcedureFilter(WindowHandle handle, QObject* parent) : QObject(parent), m_handle(handle) {}

  WindowProcedure procedure = DefaultWindowProcedure;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton) return false;
        const uint32_t message = event->type() == QEvent::MouseButtonPress     ? msg::kRightButtonDown
                                 : event->type() == QEvent::MouseButtonRelease ? msg::kRightButtonUp
                                                                               : msg::kRightButtonDoubleClick;
        const bool handled = dispatch(message, mouse->position().toPoint());
        if (message != msg::kRightButtonDoubleClick) m_rightButtonSwallowed = handled;
        return handled;
      }
      case QEvent::ContextMenu: {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        // A menu that the mouse's right button brings up belongs to that button's messages: it
        // opens only if they reached the widget.
        if (menu->reason() == QContextMenuEvent::Mouse) return m_rightButtonSwallowed;
        return dispatch(msg::kContextMenu, menu->globalPos());
      }
      default:
        return false;
    }
  }

 private:
  bool dispatch(uint32_t message, QPoint point);

  WindowHandle m_handle;
  bool m_rightButtonSwallowed = false;
};

struct Registry {
  std::unordered_map<WindowHandle, QPointer<QWidget>> widgets;
  std::unordered_map<const QWidget*, WindowHandle> handles;
  std::unordered_map<WindowHandle, ProcedureFilter*> filters;
  WindowHandle next = 1;
};

Registry& registry() {
  static Registry r;
  return r;
}

// Set by DefaultWindowProcedure: the message went all the way down to Qt's own handling.
thread_local bool t_reachedDefault = false;

bool ProcedureFilter::dispatch(uint32_t message, QPoint point) {
  const intptr_t lParam = (static_cast<intptr_t>(point.y() & 0xFFFF) << 16) | (point.x() & 0xFFFF);
  const bool outer = t_reachedDefault;
  t_reachedDefault = false;
  procedure(m_handle, message, 0, lParam);
  const bool handled = !t_reachedDefault;
  t_reachedDefault = outer;
  return handled;
}

ProcedureFilter* filterOf(WindowHandle window, bool create) {
  Registry& r = registry();
  if (auto it = r.filters.find(window); it != r.filters.end()) return it->second;
  QWidget* widget = WidgetOf(window);
  if (!widget || !create) return nullptr;
  auto* filter = new ProcedureFilter(window, widget);
  widget->installEventFilter(filter);
  r.filters[window] = filter;
  QObject::connect(filter, &QObject::destroyed, [window] { registry().filters.erase(window); });
  return filter;
}

}  // namespace

intptr_t DefaultWindowProcedure(WindowHandle, uint32_t, uintptr_t, intptr_t) {
  t_reachedDefault = true;
  return 0;
}

WindowHandle HandleOf(QWidget* widget) {
  if (!widget) return 0;
  Registry& r = registry();
  if (auto it = r.handles.find(widget); it != r.handles.end()) return it->second;
  const WindowHandle handle = r.next++;
  r.handles[widget] = handle;
  r.widgets[handle] = widget;
  QObject::connect(widget, &QObject::destroyed, [widget, handle] {
    registry().handles.erase(widget);
    registry().widgets.erase(handle);
  });
  return handle;
}

QWidget* WidgetOf(WindowHandle handle) {
  Registry& r = registry();
  auto it = r.widgets.find(handle);
  return it == r.widgets.end() ? nullptr : it->second.data();
}

WindowHandle FindChildWindow(WindowHandle parent, WindowHandle after) {
  QWidget* widget = WidgetOf(parent);
  if (!widget) return 0;
  QWidget* previous = WidgetOf(after);
  bool take = after == 0;
  const QObjectList& children = widget->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {  // Qt keeps the top last
    auto* child = qobject_cast<QWidget*>(*it);
    if (!child || child->isWindow()) continue;
    if (take) return HandleOf(child);
    if (child == previous) take = true;
  }
  return 0;
}

WindowProcedure SetWindowProcedure(WindowHandle window, WindowProcedure procedure) {
  ProcedureFilter* filter = filterOf(window, true);
  if (!filter) return nullptr;
  WindowProcedure previous = filter->procedure;
  filter->procedure = procedure;
  return previous;
}

WindowProcedure WindowProcedureOf(WindowHandle window) {
  if (ProcedureFilter* filter = filterOf(window, false)) return filter->procedure;
  return WidgetOf(window) ? DefaultWindowProcedure : nullptr;
}

intptr_t CallWindowProcedure(WindowProcedure previous, WindowHandle window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) {
  return previous ? previous(window, message, wParam, lParam) : DefaultWindowProcedure(window, message, wParam, lParam);
}

}  // namespace zedade
