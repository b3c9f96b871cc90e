#include "ui/update_download_window.h"

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>

#include "ui/layouts.h"

namespace zedade::ui {

UpdateDownloadWindow::UpdateDownloadWindow() : Form(UpdateDownloadWindowLayout()) {}

void UpdateDownloadWindow::RunModal(const std::function<void(UpdateDownloadWindow&)>& createdHandler) {
  QPointer<UpdateDownloadWindow> window = new UpdateDownloadWindow();
  window->setWindowModality(Qt::ApplicationModal);
  QEventLoop loop;
  connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  if (createdHandler) createdHandler(*window);
  if (!window) return;
  window->centreOnScreen();
  window->show();
  loop.exec();
}

QLabel* UpdateDownloadWindow::label(const char* name) const { return control<QLabel>(name); }
QProgressBar* UpdateDownloadWindow::progressBar() const { return control<QProgressBar>("进度条"); }

}  // namespace zedade::ui
