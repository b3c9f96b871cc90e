#pragma once

#include "config/addresses.h"
#include "playback/browser_guard.h"

namespace zedade {

namespace ui {
class MainWindow;
class FullParseWindow;
}  // namespace ui

// The event bindings of the windows: each control event to the handler that serves it.
void BindMainWindow(ui::MainWindow& window, const Addresses& addresses, SubclassTable& guardedWindows);
void BindFullParseWindow(ui::FullParseWindow& window, const Addresses& addresses);

// The handler of "全网解析": opens the second player window, or brings the open one forward.
void OpenFullParseWindow(const Addresses& addresses);

}  // namespace zedade
