#pragma once

#include <memory>
#include <optional>

#include "platform/text.h"
#include "playback/browser_guard.h"
#include "update/task_param.h"

namespace zedade {

// The process-wide state: created at start-up, released once at shutdown. Everything is used on
// the user-interface thread.
struct ProgramState {
  SubclassTable subclassTable;
  std::unique_ptr<TaskParam> taskParam = std::make_unique<TaskParam>();  // start-up defaults
  std::unique_ptr<Download> download = std::make_unique<Download>();     // no task yet
  std::optional<Text> currentVersion;
  std::optional<Text> updateAddress;
};

}  // namespace zedade
