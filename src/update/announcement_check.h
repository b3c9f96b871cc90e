#pragma once

#include <functional>
#include <optional>

#include "config/addresses.h"
#include "platform/text.h"

namespace zedade {

namespace ui {
class MainWindow;
}

// What the check needs from the rest of the program.
struct AnnouncementCheckHooks {
  std::function<void()> runUpdateDownloadWindow;  // modal; returns when the window has closed
  std::function<void(int exitCode)> endProgram;   // the program's EndProgram; tests may return
};

// The start-up check: reads the announcement page and, by the latest version announced there,
// declares the program invalid and closes it, plays the start video, or offers the update. It
// takes over the caption and the scrolling notice, and starts the clock's timer.
void RunAnnouncementCheck(ui::MainWindow& window, const Addresses& addresses, const Text& currentVersion,
                          std::optional<Text>& updateAddress, const AnnouncementCheckHooks& hooks);

}  // namespace zedade
