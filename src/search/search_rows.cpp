#include "search/search_rows.h"

#include "search/lazy_chain.h"
#include "search/search_entry_pattern.h"

namespace zedade {

namespace {

constexpr int kAddressGroup = 2;
constexpr int kTitleGroup = 4;

const detail::LazyChain& EntryChain() {
  static const detail::LazyChain chain(SearchEntryPattern);
  return chain;
}

}  // namespace

std::vector<SearchRow> ExtractSearchRows(std::string_view pageText) {
  return detail::RowsByChain(pageText, EntryChain(), kAddressGroup, kTitleGroup);
}

std::vector<SearchRow> ExtractSearchRowsPlainBoost(std::string_view pageText) {
  return detail::RowsByPlainBoost(pageText, EntryChain().regex(), kAddressGroup, kTitleGroup);
}

std::vector<SearchRow> SearchRowsFromBody(std::string_view utf8Body) {
  return ExtractSearchRows(TextOfBlock(ConvertEncoding(utf8Body, "UTF-8", "GB18030")));
}

}  // namespace zedade
