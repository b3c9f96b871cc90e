#include "update/announcement.h"

#include "update/text_between.h"

namespace zedade {
namespace {

// The markers as the page carries them, in GBK.
struct Markers {
  Text blockStart = Gbk("////开始");
  Text blockEnd = Gbk("////结束");
  Text latest = Gbk("最新版本=");
  Text caption = Gbk("窗口标题=");
  Text updateAddress = Gbk("更新地址=");
  Text updateAddressEnd = Gbk("完毕");
  Text notice = Gbk("更新说明=");
};

const Markers& TheMarkers() {
  static const Markers markers;
  return markers;
}

}  // namespace

Announcement ParseAnnouncement(std::string_view pageText) {
  const Markers& m = TheMarkers();
  const Text block = TextBetween(pageText, m.blockStart, m.blockEnd);
  Announcement announcement;
  announcement.latest = TextBetween(block, m.latest, "}");
  announcement.caption = TextBetween(block, m.caption, "{");
  announcement.updateAddress = TextBetween(block, m.updateAddress, m.updateAddressEnd);
  announcement.notice = TextBetween(block, m.notice, "#");
  return announcement;
}

}  // namespace zedade
