#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace zedade {

// A window's timer control: a positive period ticks from the moment it is set; 0 or less stops
// it; setting the current period again changes nothing.
class Timer final : public QObject {
  Q_OBJECT

 public:
  explicit Timer(QObject* parent = nullptr);

  void setPeriod(int ms);
  int period() const { return m_period; }
  bool isTicking() const { return m_timer.isActive(); }

 signals:
  void tick();

 private:
  QTimer m_timer;
  int m_period = 0;
};

}  // namespace zedade
