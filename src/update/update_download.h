#pragma once

#include <atomic>
#include <functional>
#include <optional>

#include "platform/text.h"
#include "update/task_param.h"

namespace zedade {

namespace ui {
class UpdateDownloadWindow;
}

// The fixed name of the update program started from the desktop once downloaded.
Text UpdateFileName();

// What the update window works with: the program's task record and Download object, the size the
// downloader reported (written on its thread, read by the timer), and the announced address.
struct UpdateContext {
  TaskParam& taskParam;
  Download& download;
  std::atomic<double>& totalSize;
  const std::optional<Text>& updateAddress;
  std::function<void()> attachSkin;
  std::function<void(int exitCode)> endProgram;  // from the downloader's thread too
  std::string desktopFolder;                     // where the update goes and is started from
};

// The window's created handler: hands the update task to the Download object and binds the
// one-second timer that shows the progress.
void OnUpdateDownloadWindowCreated(ui::UpdateDownloadWindow& window, UpdateContext& context);

// One tick of the window's timer.
void ShowUpdateProgress(ui::UpdateDownloadWindow& window, const Download& download, double totalSize);

// The update task's events, on the downloader's thread: 3 keeps the size; 4 waits, tells the user
// on the user-interface thread, starts the downloaded program and ends this one.
int UpdateTaskCallback(const UpdateContext& context, int type, int64_t value);

}  // namespace zedade
