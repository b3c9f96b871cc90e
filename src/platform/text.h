#pragma once

#include <string>
#include <string_view>

namespace zedade {

// The program's text: bytes in the GBK code page (converted as GB18030, its superset, so nothing
// is lost). Positions are byte positions; the empty text stands for "no text".
using Text = std::string;

// A counted block of bytes (a fetched body, an embedded file); it may hold zero bytes.
using ByteBlock = std::string;

// The bytes of a block up to, not including, its first zero byte.
Text TextOfBlock(std::string_view block);

// Converts between encodings with iconv, all or nothing: an empty input, or one holding an invalid
// or incomplete sequence, gives an empty result.
ByteBlock ConvertEncoding(std::string_view input, const char* from, const char* to);

// UTF-8 (source literals, Qt strings) to the program's text and back. Both are lossless for valid
// input; invalid input gives an empty result.
Text Gbk(std::string_view utf8);
std::string Utf8(std::string_view gbk);

}  // namespace zedade
