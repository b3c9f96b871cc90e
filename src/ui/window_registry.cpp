#include "ui/window_registry.h"

#include <QWidget>

namespace zedade::ui {

WindowRegistry& WindowRegistry::instance() {
  static WindowRegistry registry;
  return registry;
}

void WindowRegistry::add(QWidget* window) {
  ++m_count;
  connect(window, &QObject::destroyed, this, [this] {
    if (--m_count == 0) emit lastWindowDestroyed();
  });
}

}  // namespace zedade::ui
