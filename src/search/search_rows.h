#pragma once

#include <string_view>
#include <vector>

#include "platform/text.h"

namespace zedade {

// One row a search adds to the result list: the entry's link address (column 1) and its title
// (column 2), as GBK text.
struct SearchRow {
  Text address;
  Text title;

  bool operator==(const SearchRow&) const = default;
};

// The rows of every SearchEntryPattern match in the page text (GBK bytes), in page order. Matches
// never overlap: each search starts where the previous match ended. Linear in the page, with the same
// rows as Boost's own search-all; should Boost still give up as too complex, the rows found before
// that point are returned.
std::vector<SearchRow> ExtractSearchRows(std::string_view pageText);

// The same rows from Boost's own search-all over the whole page. Quadratic in the page where entry
// openings never complete; kept as the reference ExtractSearchRows is held to.
std::vector<SearchRow> ExtractSearchRowsPlainBoost(std::string_view pageText);

// A fetched results page to rows: the UTF-8 body is converted to GBK all or nothing (a body with any
// invalid or incomplete UTF-8, such as a GBK page, gives no row), cut at its first zero byte, and
// extracted with ExtractSearchRows.
std::vector<SearchRow> SearchRowsFromBody(std::string_view utf8Body);

}  // namespace zedade
