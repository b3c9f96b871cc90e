#pragma once

// Results pages in the shape the search reads, put together from parts (UTF-8), for tests and
// benchmarks.

#include <string>

namespace zedade::testing {

struct ResultEntry {
  std::string address;
  std::string title;
  std::string span = "更新至12集";
  std::string rseat = "list_title";
  std::string address2 = "http://v.example.com/intro.html";
  std::string rseat2 = "list_intro";
  std::string title2 = "简介";
};

// One entry's markup exactly as the results page writes it, from the opening span to the end of
// the second title line. The layout is written out here on its own, not taken from the program.
inline std::string EntryHtml(const ResultEntry& e) {
  const std::string crlf = "\r\n";
  return "class=\"mod-listTitle\"><span class=\"mod-listTitle_right\">" + e.span + "</span></div>" + crlf +
         std::string(40, ' ') + "</div>" + crlf +
         std::string(36, ' ') + "</a>" + crlf +
         std::string(32, ' ') + "</div>" + crlf +
         std::string(32, ' ') + "<div class=\"site-piclist_info\">" + crlf +
         std::string(36, ' ') + "<p class=\"site-piclist_info_title\"><a href=\"" + e.address + "\" rseat=\"" +
         e.rseat + "\">" + e.title + "</a></p>" + crlf +
         std::string(36, ' ') + "<p class=\"site-piclist_info_title fs12\"><a href=\"" + e.address2 +
         "\" rseat=\"" + e.rseat2 + "\">" + e.title2 + "</a></p>";
}

// The listing markup between two entries (about 300 bytes): the end of one item and the picture
// of the next, up to where the next entry's opening span begins.
inline std::string ListingGap(int item) {
  const std::string n = std::to_string(item);
  return "\r\n    </div>\r\n  </li>\r\n  <li class=\"site-piclist_item\">\r\n"
         "    <div class=\"site-piclist_pic\">\r\n"
         "      <a class=\"site-piclist_pic_link\" href=\"http://v.example.com/v_" +
         n + ".html\" title=\"\">\r\n        <img width=\"180\" height=\"236\" src=\"http://pic.example.com/" + n +
         ".jpg\" alt=\"\">\r\n        <div ";
}

// `text` with its first `from` replaced by `to`.
inline std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace zedade::testing
