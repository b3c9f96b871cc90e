#include "platform/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace zedade {

bool OnUiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

void RunOnUiThreadBlocking(const std::function<void()>& function) {
  if (OnUiThread()) {
    function();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), function, Qt::BlockingQueuedConnection);
}

}  // namespace zedade
