#pragma once

#include <string_view>

#include "platform/text.h"

namespace zedade {

// The values of the announcement block of the announcement page, GBK texts as written there.
// A value whose key or end marker is missing is empty.
struct Announcement {
  Text latest;         // "最新版本=" up to "}"
  Text caption;        // "窗口标题=" up to "{"
  Text updateAddress;  // "更新地址=" up to "完毕"
  Text notice;         // "更新说明=" up to "#"
};

// Cuts the block between "////开始" and "////结束" out of the page text (the page's bytes, GBK,
// unconverted) and each value out of that block, never out of the rest of the page. The keys may
// stand in any order.
Announcement ParseAnnouncement(std::string_view pageText);

}  // namespace zedade
