#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace zedade {

// The 0-based byte position of the first occurrence of `pattern` in `text` at or after `from`, or
// std::string_view::npos. The search walks GBK characters: a byte of 0x80 or above is taken
// together with the byte after it, so a match never begins on the second byte of a double-byte
// character. `from` must itself be the start of a character. An empty pattern is found at `from`.
std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from = 0);

// The bytes after the first `start` marker of `text`, up to the first `end` marker after it.
// Empty when `text` is empty, when `start` is missing, and when `end` is missing after it or
// follows it at once. Letter case matters.
Text TextBetween(std::string_view text, std::string_view start, std::string_view end);

}  // namespace zedade
