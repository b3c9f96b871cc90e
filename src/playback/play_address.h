#pragma once

#include <string>

#include "platform/text.h"

namespace zedade {

// A parsing service's play address: its prefix immediately followed by the video page address,
// which is used unchanged (not trimmed, checked or encoded).
inline Text PlayAddress(const std::string& prefix, const Text& pageAddress) { return prefix + pageAddress; }

}  // namespace zedade
