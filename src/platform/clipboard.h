#pragma once

#include "platform/text.h"

namespace zedade {

// The clipboard's plain text as program text; empty when it holds no text or cannot be read.
Text ReadClipboardText();

}  // namespace zedade
