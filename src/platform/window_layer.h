#pragma once

#include <cstdint>

class QWidget;

namespace zedade {

// A small window layer over Qt widgets, for code written against window handles and window
// procedures: stable positive handle values, a widget's direct children in order, and replaceable
// procedures that see the right-button and context-menu input of a widget as messages.
//
// Handles are never reused within a run. Everything here belongs to the user-interface thread.

using WindowHandle = int32_t;  // 0: no window

// Messages a procedure receives.
namespace msg {
constexpr uint32_t kContextMenu = 0x007B;  // context menu asked for from the keyboard
constexpr uint32_t kRightButtonDown = 0x0204;
constexpr uint32_t kRightButtonUp = 0x0205;
constexpr uint32_t kRightButtonDoubleClick = 0x0206;
}  // namespace msg

using WindowProcedure = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// The procedure that every widget starts with: Qt's own handling of the input.
intptr_t DefaultWindowProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

WindowHandle HandleOf(QWidget* widget);  // assigns one on first use; 0 for nullptr
QWidget* WidgetOf(WindowHandle handle);  // nullptr once the widget is gone

// The direct child widget of `parent` that follows `after` (the first one when `after` is 0), in
// stacking order from the top; 0 when there is none.
WindowHandle FindChildWindow(WindowHandle parent, WindowHandle after);

// Replaces the widget's procedure and returns the previous one (0 for an unknown handle).
WindowProcedure SetWindowProcedure(WindowHandle window, WindowProcedure procedure);
WindowProcedure WindowProcedureOf(WindowHandle window);

// Calls a procedure the way the window layer does: `previous` may be DefaultWindowProcedure.
intptr_t CallWindowProcedure(WindowProcedure previous, WindowHandle window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam);

}  // namespace zedade
