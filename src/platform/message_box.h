#pragma once

#include <optional>

#include "platform/text.h"

namespace zedade {

// Message box flags and answers, as the program's texts name them.
namespace mb {
constexpr int kOk = 0;
constexpr int kYesNo = 4;
constexpr int kIconQuestion = 32;
constexpr int kIconInformation = 64;
constexpr int kTaskModal = 0x2000;

constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace mb

// Shows a message box with no owner window, modal to the whole program (the task-modal flag is
// implied), and returns the answer. Without a title the box is titled "信息："; an empty title
// stays empty. Runs a nested event loop: timers and queued calls go on meanwhile.
int ShowMessageBox(const Text& text, int flags, const std::optional<Text>& title = std::nullopt);

}  // namespace zedade
