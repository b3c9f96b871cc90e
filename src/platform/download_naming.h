#pragma once

#include <string>
#include <string_view>

// Addresses and file names of the downloader. Every text here is UTF-8 (file names as the file
// system takes them); none of these functions touches the network or the disk.
namespace zedade::download {

// Lower-case scheme of an address ("http" for "HTTP://host/"), or empty when it has none.
std::string SchemeOf(std::string_view url);

// The schemes a task can fetch: http, https, ftp and ftps.
bool IsSupportedScheme(std::string_view scheme);

// The address as it goes on the wire: bytes that may not appear in a URL (non-ASCII, spaces and
// control characters) are percent-encoded; everything else, '%' included, is kept.
std::string WireAddress(std::string_view url);

// The Referer sent when none is given: the address up to and including its last '/' of the path,
// or the address with '/' added when it has no path.
std::string DefaultReferer(std::string_view url);

// The file name an address suggests: the last segment of its path, percent-decoded, made safe;
// empty when the path ends in '/' or is missing.
std::string FileNameFromAddress(std::string_view url);

// The file name in a Content-Disposition header value ("filename*" preferred over "filename"),
// reduced to its last path component and made safe; empty when there is none.
std::string FileNameFromContentDisposition(std::string_view headerValue);

// A name fit for one directory entry: no directory part, no control bytes, not "." or "..";
// bytes that are not UTF-8 are taken as GB18030 and converted. Empty when nothing usable is left.
std::string SafeFileName(std::string_view name);

// The k-th alternative of a file name for a clash: "setup.exe" -> "setup (1).exe";
// "README" -> "README (1)"; ".profile" -> ".profile (1)".
std::string AlternativeFileName(std::string_view name, int k);

}  // namespace zedade::download
