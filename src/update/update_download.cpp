#include "update/update_download.h"

#include <QLabel>
#include <QProgressBar>

#include <chrono>
#include <thread>

#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/ui_thread.h"
#include "ui/update_download_window.h"
#include "update/progress_text.h"

namespace zedade {

Text UpdateFileName() { return Gbk("Rizavud1.1版.exe"); }

void OnUpdateDownloadWindowCreated(ui::UpdateDownloadWindow& window, UpdateContext& context) {
  SetUpdateTask(context.taskParam, context.updateAddress.value_or(Text()), Gbk(context.desktopFolder),
                [&context](int type, int, int64_t value, int64_t, Download*) {
                  return UpdateTaskCallback(context, type, value);
                });
  AddTask(context.download, context.taskParam);
  if (context.attachSkin) context.attachSkin();
  QObject::connect(window.timer("时钟"), &Timer::tick, &window, [&window, &context] {
    ShowUpdateProgress(window, context.download, context.totalSize.load());
  });
}

void ShowUpdateProgress(ui::UpdateDownloadWindow& window, const Download& download, double totalSize) {
  const ProgressTexts progress = ProgressOfTick(totalSize, [&download] { return GetDoneLength(download); });
  window.label("透明标签1")->setText(ToQString(progress.percent));
  window.progressBar()->setValue(progress.barPosition);
  window.label("透明标签2")->setText(ToQString(progress.done));
  window.label("透明标签3")->setText(ToQString(progress.total));
}

int UpdateTaskCallback(const UpdateContext& context, int type, int64_t value) {
  using namespace std::chrono_literals;
  if (type == kTaskEventSizeKnown) {
    context.totalSize.store(static_cast<double>(value));
  } else if (type == kTaskEventEnded) {
    std::this_thread::sleep_for(2000ms);
    RunOnUiThreadBlocking([] { ShowMessageBox(Gbk("下载完成,请删除旧版本，自动更新在桌面"), mb::kOk); });
    StartProgram(context.desktopFolder + "/" + Utf8(UpdateFileName()));
    std::this_thread::sleep_for(3000ms);
    context.endProgram(0);
  }
  return 0;
}

}  // namespace zedade
