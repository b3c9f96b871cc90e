#pragma once

#include <boost/regex.hpp>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/search_rows.h"

namespace zedade::detail {

// A pattern made of literal pieces joined by lazy any-byte groups "(.*?)", like the search entry.
//
// From a given start such a pattern matches exactly where its pieces occur leftmost, one after the
// other: each lazy group takes the fewest bytes that let the rest match, and the leftmost occurrence
// of the next piece lets the rest match whenever any later one does. If the pieces do not all occur
// in order after one occurrence of the first piece, they do not after any later occurrence either,
// so no further match exists. Plain literal scans therefore find every match, and tell when the
// search is over, in time linear in the page; Boost then confirms each match, anchored at its start
// in a window ending where the chain of pieces ends, and yields its groups.
class LazyChain {
 public:
  // Throws std::invalid_argument unless `pattern` has that shape with non-empty pieces.
  explicit LazyChain(std::string_view pattern);
  LazyChain(const LazyChain&) = delete;
  LazyChain& operator=(const LazyChain&) = delete;

  // The pattern compiled by Boost: Perl syntax, the dot matching every byte, case-sensitive.
  const boost::regex& regex() const { return regex_; }

  // Where the leftmost match starting at or after `from` lies: from its start to the end of its
  // last piece. Empty when no match starts there or later, so the search is over.
  struct Span {
    std::size_t start = 0;
    std::size_t end = 0;
  };
  std::optional<Span> locate(std::string_view page, std::size_t from) const;

  // Boost's match within a located span, anchored at its start, with its groups.
  bool confirm(std::string_view page, Span span, boost::cmatch& match) const;

  // Fills `match` with the leftmost match starting at or after `from`; false when there is none.
  // Calls that go on from each match's end give the matches of Boost's search-all.
  bool next(std::string_view page, std::size_t from, boost::cmatch& match) const;

 private:
  using Searcher = std::boyer_moore_horspool_searcher<std::string::const_iterator>;

  std::vector<std::string> pieces_;
  std::vector<std::unique_ptr<Searcher>> searchers_;  // one per piece, over pieces_' bytes
  boost::regex regex_;
};

// Rows from each match of `chain` in `page`, address and title taken from the given groups. If Boost
// gives up (std::runtime_error), the rows found before are returned.
std::vector<SearchRow> RowsByChain(std::string_view page, const LazyChain& chain, int addressGroup,
                                   int titleGroup);

// Rows from each match of Boost's own search-all of `re` over `page`, with the same groups and the
// same handling of Boost giving up.
std::vector<SearchRow> RowsByPlainBoost(std::string_view page, const boost::regex& re, int addressGroup,
                                        int titleGroup);

}  // namespace zedade::detail
