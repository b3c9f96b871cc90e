#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/text.h"

namespace zedade::ui {

// The notice's next left position: one pixel to the left, and back in at the window's right edge
// once it has left the window (left + width at or below 0).
constexpr int MarqueeStep(int left, int outerWidth) {
  const int moved = left - 1;
  return moved + outerWidth <= 0 ? outerWidth : moved;
}

// The clock's text: "Y年M月D日", then "H时M分S秒", or without the trailing parts that are zero
// ("H时M分", "H时"); midnight shows the date alone. No leading zeros.
Text ClockText(const LocalDateTime& time);

// A packed colour (blue * 65536 + green * 256 + red) of three draws, each taken modulo 256.
constexpr uint32_t PackedColour(int red, int green, int blue) {
  return (static_cast<uint32_t>(blue & 0xFF) << 16) | (static_cast<uint32_t>(green & 0xFF) << 8) |
         static_cast<uint32_t>(red & 0xFF);
}

// Draws red, green and blue from 0 to 1000, in that order, and packs them.
uint32_t DrawColour(RandomSource& random);

}  // namespace zedade::ui
