#include "platform/text.h"

#include <iconv.h>

#include <cerrno>

namespace zedade {

Text TextOfBlock(std::string_view block) {
  return Text(block.substr(0, block.find('\0')));
}

ByteBlock ConvertEncoding(std::string_view input, const char* from, const char* to) {
  if (input.empty()) return {};
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};

  ByteBlock out;
  out.resize(input.size() * 2 + 16);
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  size_t written = 0;
  bool ok = true;
  while (inLeft > 0) {
    char* dst = out.data() + written;
    size_t outLeft = out.size() - written;
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    written = out.size() - outLeft;
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    ok = false;  // EILSEQ or EINVAL: invalid or incomplete input
    break;
  }
  if (ok) {  // flush any shift state
    char* dst = out.data() + written;
    size_t outLeft = out.size() - written;
    if (iconv(cd, nullptr, nullptr, &dst, &outLeft) == static_cast<size_t>(-1)) ok = false;
    written = out.size() - outLeft;
  }
  iconv_close(cd);
  if (!ok) return {};
  out.resize(written);
  return out;
}

Text Gbk(std::string_view utf8) { return ConvertEncoding(utf8, "UTF-8", "GB18030"); }

std::string Utf8(std::string_view gbk) { return ConvertEncoding(gbk, "GB18030", "UTF-8"); }

}  // namespace zedade
