#include "search/lazy_chain.h"

#include <algorithm>
#include <stdexcept>

namespace zedade::detail {

namespace {

constexpr std::string_view kLazyGroup = "(.*?)";
constexpr std::string_view kSpecial = ".[]{}()\\*+?^$|";

// A piece at least this long is looked for with memchr-based find in the next kNearWindow bytes
// only (within an entry the next piece is close), and beyond them with a skipping search (a page
// where it never comes is crossed quickly). Shorter pieces skip too little to gain from it.
constexpr std::size_t kSkipSearchLength = 16;
constexpr std::size_t kNearWindow = 512;

}  // namespace

LazyChain::LazyChain(std::string_view pattern) {
  for (std::string_view rest = pattern;;) {
    const std::size_t group = rest.find(kLazyGroup);
    const std::string_view piece = rest.substr(0, group);
    if (piece.empty()) throw std::invalid_argument("lazy chain: empty literal piece");
    if (piece.find_first_of(kSpecial) != std::string_view::npos)
      throw std::invalid_argument("lazy chain: piece is not literal");
    pieces_.emplace_back(piece);
    if (group == std::string_view::npos) break;
    rest.remove_prefix(group + kLazyGroup.size());
  }
  for (const std::string& piece : pieces_) {
    searchers_.push_back(piece.size() >= kSkipSearchLength
                             ? std::make_unique<Searcher>(piece.begin(), piece.end())
                             : nullptr);
  }
  regex_.assign(pattern.data(), pattern.data() + pattern.size(), boost::regex::perl | boost::regex::mod_s);
}

std::optional<LazyChain::Span> LazyChain::locate(std::string_view page, std::size_t from) const {
  if (from >= page.size()) return std::nullopt;
  const char* const begin = page.data();
  const char* const end = begin + page.size();

  // Leftmost occurrence of piece i at or after `at`, or npos.
  auto find = [&](std::size_t i, std::size_t at) -> std::size_t {
    const std::string& piece = pieces_[i];
    if (!searchers_[i]) return page.find(piece, at);
    const std::size_t nearEnd = std::min(page.size(), at + kNearWindow + piece.size());
    const std::size_t near = page.substr(0, nearEnd).find(piece, at);
    if (near != std::string_view::npos || nearEnd == page.size()) return near;
    const char* found = std::search(begin + at + kNearWindow, end, *searchers_[i]);
    return found == end ? std::string_view::npos : static_cast<std::size_t>(found - begin);
  };

  const std::size_t start = find(0, from);
  if (start == std::string_view::npos) return std::nullopt;
  std::size_t chainEnd = start + pieces_[0].size();
  for (std::size_t i = 1; i < pieces_.size(); ++i) {
    const std::size_t at = find(i, chainEnd);
    if (at == std::string_view::npos) return std::nullopt;  // nor after any later start: the search is over
    chainEnd = at + pieces_[i].size();
  }
  return Span{start, chainEnd};
}

bool LazyChain::confirm(std::string_view page, Span span, boost::cmatch& match) const {
  // The match from the span's start lies within the span, so Boost never looks past it.
  const char* const begin = page.data();
  boost::match_flag_type flags = boost::match_continuous;
  if (span.start > 0) flags |= boost::match_prev_avail;
  return boost::regex_search(begin + span.start, begin + span.end, match, regex_, flags, begin);
}

bool LazyChain::next(std::string_view page, std::size_t from, boost::cmatch& match) const {
  const std::optional<Span> span = locate(page, from);
  return span && confirm(page, *span, match);
}

std::vector<SearchRow> RowsByChain(std::string_view page, const LazyChain& chain, int addressGroup,
                                   int titleGroup) {
  std::vector<SearchRow> rows;
  boost::cmatch match;
  try {
    for (std::size_t from = 0; chain.next(page, from, match);
         from = static_cast<std::size_t>(match[0].second - page.data())) {
      rows.push_back({match.str(addressGroup), match.str(titleGroup)});
    }
  } catch (const std::runtime_error&) {
    // Boost gave up as too complex: the rows so far stand.
  }
  return rows;
}

std::vector<SearchRow> RowsByPlainBoost(std::string_view page, const boost::regex& re, int addressGroup,
                                        int titleGroup) {
  std::vector<SearchRow> rows;
  if (page.empty()) return rows;
  try {
    for (boost::cregex_iterator it(page.data(), page.data() + page.size(), re), last; it != last; ++it) {
      rows.push_back({it->str(addressGroup), it->str(titleGroup)});
    }
  } catch (const std::runtime_error&) {
    // Boost gave up as too complex: the rows so far stand.
  }
  return rows;
}

}  // namespace zedade::detail
