#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace zedade::testing {

// Runs the event loop until the condition holds or the time runs out; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 15000) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

// Lets the event loop run for a while.
inline void pumpEvents(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

}  // namespace zedade::testing
