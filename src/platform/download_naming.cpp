#include "platform/download_naming.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/text.h"

namespace zedade::download {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    if (c < 0x80) extra = 0;
    else if (c >= 0xC2 && c <= 0xDF) extra = 1;
    else if (c >= 0xE0 && c <= 0xEF) extra = 2;
    else if (c >= 0xF0 && c <= 0xF4) extra = 3;
    else return false;
    if (i + extra >= text.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

// Where the path of an address starts (after "scheme://authority"), or npos when it has none.
size_t PathStart(std::string_view url) {
  const size_t schemeEnd = url.find("://");
  const size_t authority = schemeEnd == std::string_view::npos ? 0 : schemeEnd + 3;
  const size_t end = url.find_first_of("/?#", authority);
  if (end == std::string_view::npos || url[end] != '/') return std::string_view::npos;
  return end;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The parameters of a header value "type; a=1; b=\"x;y\"", quotes and escapes resolved.
std::optional<std::string> HeaderParameter(std::string_view value, std::string_view wanted) {
  size_t i = value.find(';');
  while (i != std::string_view::npos && i < value.size()) {
    ++i;
    const size_t eq = value.find('=', i);
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view name = Trimmed(value.substr(i, eq - i));
    size_t j = eq + 1;
    while (j < value.size() && value[j] == ' ') ++j;
    std::string parameter;
    if (j < value.size() && value[j] == '"') {
      for (++j; j < value.size() && value[j] != '"'; ++j) {
        if (value[j] == '\\' && j + 1 < value.size()) ++j;
        parameter.push_back(value[j]);
      }
      i = value.find(';', j);
    } else {
      const size_t end = value.find(';', j);
      parameter = std::string(Trimmed(value.substr(j, end == std::string_view::npos ? end : end - j)));
      i = end;
    }
    if (EqualsIgnoringCase(name, wanted)) return parameter;
  }
  return std::nullopt;
}

}  // namespace

std::string SchemeOf(std::string_view url) {
  const size_t end = url.find("://");
  if (end == std::string_view::npos || end == 0) return {};
  std::string scheme;
  for (char c : url.substr(0, end)) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return {};
    scheme.push_back(LowerAscii(c));
  }
  return scheme;
}

bool IsSupportedScheme(std::string_view scheme) {
  return scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "ftps";
}

std::string WireAddress(std::string_view url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(url.size());
  for (char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string DefaultReferer(std::string_view url) {
  const size_t path = PathStart(url);
  if (path == std::string_view::npos) {
    const size_t schemeEnd = url.find("://");
    const size_t end = url.find_first_of("?#", schemeEnd == std::string_view::npos ? 0 : schemeEnd + 3);
    return std::string(url.substr(0, end)) + "/";
  }
  const size_t queryOrFragment = url.find_first_of("?#", path);
  const size_t lastSlash = url.substr(0, queryOrFragment).rfind('/');
  return std::string(url.substr(0, lastSlash + 1));
}

std::string FileNameFromAddress(std::string_view url) {
  const size_t path = PathStart(url);
  if (path == std::string_view::npos) return {};
  std::string_view rest = url.substr(path);
  rest = rest.substr(0, rest.find_first_of("?#"));
  return SafeFileName(PercentDecoded(rest.substr(rest.rfind('/') + 1)));
}

std::string FileNameFromContentDisposition(std::string_view headerValue) {
  // filename*=charset'language'percent-encoded-bytes
  if (const auto extended = HeaderParameter(headerValue, "filename*")) {
    const size_t first = extended->find('\'');
    const size_t second = first == std::string::npos ? first : extended->find('\'', first + 1);
    if (second != std::string::npos) {
      const std::string charset = extended->substr(0, first);
      std::string name = PercentDecoded(std::string_view(*extended).substr(second + 1));
      if (!EqualsIgnoringCase(charset, "utf-8") && !name.empty()) {
        std::string converted = ConvertEncoding(name, charset.c_str(), "UTF-8");
        if (!converted.empty()) name = std::move(converted);
      }
      std::string safe = SafeFileName(name);
      if (!safe.empty()) return safe;
    }
  }
  if (const auto plain = HeaderParameter(headerValue, "filename")) return SafeFileName(*plain);
  return {};
}

std::string SafeFileName(std::string_view name) {
  // A server-given name must not lead out of the target folder.
  const size_t separator = name.find_last_of("/\\");
  if (separator != std::string_view::npos) name = name.substr(separator + 1);
  std::string safe;
  for (char c : name) safe.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '_' : c);
  if (!IsUtf8(safe)) {
    const std::string converted = ConvertEncoding(safe, "GB18030", "UTF-8");
    if (!converted.empty()) safe = converted;
  }
  if (Trimmed(safe).empty() || safe == "." || safe == "..") return {};
  return safe;
}

std::string AlternativeFileName(std::string_view name, int k) {
  const size_t dot = name.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot > 0;
  const std::string_view stem = hasExtension ? name.substr(0, dot) : name;
  const std::string_view extension = hasExtension ? name.substr(dot) : std::string_view();
  return std::string(stem) + " (" + std::to_string(k) + ")" + std::string(extension);
}

}  // namespace zedade::download
