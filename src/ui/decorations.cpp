#include "ui/decorations.h"

#include <string>

namespace zedade::ui {

Text ClockText(const LocalDateTime& t) {
  std::string text = std::to_string(t.year) + "年" + std::to_string(t.month) + "月" + std::to_string(t.day) + "日";
  if (t.second != 0) {
    text += std::to_string(t.hour) + "时" + std::to_string(t.minute) + "分" + std::to_string(t.second) + "秒";
  } else if (t.minute != 0) {
    text += std::to_string(t.hour) + "时" + std::to_string(t.minute) + "分";
  } else if (t.hour != 0) {
    text += std::to_string(t.hour) + "时";
  }
  return Gbk(text);
}

uint32_t DrawColour(RandomSource& random) {
  const int red = random.draw(0, 1000);
  const int green = random.draw(0, 1000);
  const int blue = random.draw(0, 1000);
  return PackedColour(red, green, blue);
}

}  // namespace zedade::ui
