#pragma once

#include <atomic>
#include <optional>

#include "platform/text.h"
#include "playback/browser_guard.h"

namespace zedade {

// The process-wide state: created at start-up, released once at shutdown. Everything is used on
// the user-interface thread, except totalSize, which the downloader's thread writes.
struct ProgramState {
  SubclassTable subclassTable;
  std::optional<Text> currentVersion;
  std::optional<Text> updateAddress;
  std::atomic<double> totalSize{0.0};
};

}  // namespace zedade
