#pragma once

#include <string_view>

namespace zedade {

// One entry of the results page the search reads: seven lines joined by CR LF, indented with spaces
// as the page is (0, 40, 36, 32, 32, 36, 36). Every character but the seven lazy groups "(.*?)"
// stands for itself. Groups: 1 the span text, 2 the link address, 3 its rseat, 4 the title, 5-7 the
// second title line's address, rseat and text.
inline constexpr std::string_view SearchEntryPattern =
    "class=\"mod-listTitle\"><span class=\"mod-listTitle_right\">(.*?)</span></div>\r\n"
    "                                        </div>\r\n"
    "                                    </a>\r\n"
    "                                </div>\r\n"
    "                                <div class=\"site-piclist_info\">\r\n"
    "                                    <p class=\"site-piclist_info_title\"><a href=\"(.*?)\" rseat=\"(.*?)\">(.*?)</a></p>\r\n"
    "                                    <p class=\"site-piclist_info_title fs12\"><a href=\"(.*?)\" rseat=\"(.*?)\">(.*?)</a></p>";

}  // namespace zedade
