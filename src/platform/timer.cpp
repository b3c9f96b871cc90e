#include "platform/timer.h"

namespace zedade {

Timer::Timer(QObject* parent) : QObject(parent) {
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &Timer::tick);
}

void Timer::setPeriod(int ms) {
  if (ms == m_period) return;
  m_period = ms;
  if (ms > 0) {
    m_timer.start(ms);
  } else {
    m_timer.stop();
  }
}

}  // namespace zedade
