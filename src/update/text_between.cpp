#include "update/text_between.h"

namespace zedade {

std::size_t FindText(std::string_view text, std::string_view pattern, std::size_t from) {
  for (std::size_t at = from; at <= text.size() && pattern.size() <= text.size() - at;) {
    if (text.compare(at, pattern.size(), pattern) == 0) return at;
    at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
  }
  return std::string_view::npos;
}

Text TextBetween(std::string_view text, std::string_view start, std::string_view end) {
  if (text.empty()) return {};
  const std::size_t found = FindText(text, start);
  if (found == std::string_view::npos) return {};
  const std::string_view rest = text.substr(found + start.size());
  const std::size_t stop = FindText(rest, end);
  if (stop == std::string_view::npos) return {};
  return Text(rest.substr(0, stop));
}

}  // namespace zedade
