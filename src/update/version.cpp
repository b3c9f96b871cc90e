#include "update/version.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <limits>
#include <string>

namespace zedade {
namespace {

// Full-width digits, letters and signs to their ASCII forms; other characters stay.
std::string HalfWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80 || i + 1 == text.size()) {
      out += text[i++];
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else {
      out.append(text.substr(i, 2));
    }
    i += 2;
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

}  // namespace

double TextToNumber(std::string_view text) {
  const std::string ascii = HalfWidth(text);
  std::string_view rest(ascii);
  const std::size_t first = rest.find_first_not_of(" \t\n\v\f\r");
  if (first == std::string_view::npos) return 0;
  rest.remove_prefix(first);

  bool negative = false;
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  // digits [. [digits]] or . digits, then an exponent only when it has digits
  const std::size_t integerEnd = SkipDigits(rest, 0);
  std::size_t mantissaEnd = integerEnd;
  if (mantissaEnd < rest.size() && rest[mantissaEnd] == '.') mantissaEnd = SkipDigits(rest, mantissaEnd + 1);
  if (mantissaEnd - (mantissaEnd > integerEnd ? 1 : 0) == 0) return 0;
  std::size_t end = mantissaEnd;
  long exponent = 0;
  if (end < rest.size() && (rest[end] == 'e' || rest[end] == 'E')) {
    std::size_t digitsAt = end + 1;
    const bool negativeExponent = digitsAt < rest.size() && rest[digitsAt] == '-';
    if (digitsAt < rest.size() && (rest[digitsAt] == '+' || rest[digitsAt] == '-')) ++digitsAt;
    const std::size_t exponentEnd = SkipDigits(rest, digitsAt);
    if (exponentEnd > digitsAt) {
      for (std::size_t i = digitsAt; i < exponentEnd; ++i) {
        exponent = std::min(exponent * 10 + (rest[i] - '0'), 1'000'000L);
      }
      if (negativeExponent) exponent = -exponent;
      end = exponentEnd;
    }
  }

  double value = 0;
  const char* begin = rest.data();
  const auto [stop, error] = std::from_chars(begin, begin + end, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Beyond a double: overflow when the leading digit stands far left of the point.
    const std::size_t lead = rest.substr(0, mantissaEnd).find_first_of("123456789");
    const long place = lead < integerEnd ? static_cast<long>(integerEnd - lead)
                                         : -static_cast<long>(lead - integerEnd - 1);
    value = place + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || stop != begin + end) {
    return 0;
  }
  return negative ? -value : value;
}

VersionOrder CompareVersions(double latest, double current) {
  const double difference = latest - current;
  if (difference > kVersionTolerance) return VersionOrder::Newer;
  if (difference < -kVersionTolerance) return VersionOrder::Older;
  return VersionOrder::Same;
}

VersionOrder CompareVersions(std::string_view latest, std::string_view current) {
  return CompareVersions(TextToNumber(latest), TextToNumber(current));
}

}  // namespace zedade
