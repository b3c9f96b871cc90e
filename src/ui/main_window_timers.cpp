#include "ui/main_window_timers.h"

#include <QLabel>

#include "platform/clock.h"
#include "platform/qt_text.h"
#include "platform/timer.h"
#include "ui/decorations.h"
#include "ui/main_window.h"

namespace zedade::ui {
namespace {

Rgb unpack(uint32_t packed) {
  return {static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF), static_cast<int>((packed >> 16) & 0xFF)};
}

}  // namespace

void MarqueeTick(MainWindow& window) {
  QLabel* notice = window.label("标签1");
  notice->move(MarqueeStep(notice->x(), window.outerWidth()), notice->y());
}

void ClockTick(MainWindow& window) {
  RandomSource& random = ProcessRandom();
  random.seed(SystemClock().tickCount());
  window.label("标签2")->setText(ToQString(ClockText(SystemClock().now())));
  window.setLabelTextColour("标签1", unpack(DrawColour(random)));
  window.setLabelTextColour("标签3", unpack(DrawColour(random)));
}

void BindMainWindowTimers(MainWindow& window) {
  QObject::connect(window.timer("时钟1"), &Timer::tick, &window, [&window] { MarqueeTick(window); });
  QObject::connect(window.timer("时钟2"), &Timer::tick, &window, [&window] { ClockTick(window); });
}

}  // namespace zedade::ui
