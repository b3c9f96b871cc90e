#pragma once

namespace zedade::ui {

class MainWindow;

// The main window's two timers: 时钟1 scrolls the notice 标签1; 时钟2 shows the date and time in
// 标签2 and gives 标签1 and 标签3 new random text colours.
void BindMainWindowTimers(MainWindow& window);

// One tick of each timer (bound above; tests call them directly).
void MarqueeTick(MainWindow& window);
void ClockTick(MainWindow& window);

}  // namespace zedade::ui
