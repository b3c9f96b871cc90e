#include "update/announcement_check.h"

#include <QLabel>

#include "platform/html_viewer.h"
#include "platform/http_client.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "playback/play_address.h"
#include "ui/main_window.h"
#include "update/announcement.h"
#include "update/version.h"

namespace zedade {
namespace {

// The notice and the timers are set on every path that does not end the program at once.
void setNoticeAndTimers(ui::MainWindow& window, const Announcement& announcement) {
  window.label("标签1")->setText(ToQString(announcement.notice));
  window.timer("时钟1")->setPeriod(5);
  window.timer("时钟2")->setPeriod(500);
}

}  // namespace

void RunAnnouncementCheck(ui::MainWindow& window, const Addresses& addresses, const Text& currentVersion,
                          std::optional<Text>& updateAddress, const AnnouncementCheckHooks& hooks) {
  const Text page = TextOfBlock(HttpFetch(addresses.announcementUrl));
  const Announcement announcement = ParseAnnouncement(page);

  if (announcement.latest.empty()) {
    ShowMessageBox(Gbk("失效联系作者QQ：") + addresses.contactNumber, mb::kOk, Text());
    window.requestDestroy();
    setNoticeAndTimers(window, announcement);
    return;
  }

  const VersionOrder order = CompareVersions(announcement.latest, currentVersion);
  if (order == VersionOrder::Same) {
    ShowMessageBox(Gbk("本软件自动更新，永久免费，无广告版，当前版本已是最新"), mb::kOk);
    window.browser()->setAddress(PlayAddress(addresses.universalParser, addresses.startVideoPage));
  }
  window.setWindowTitle(ToQString(announcement.caption));

  if (order == VersionOrder::Newer) {
    updateAddress = announcement.updateAddress;
    constexpr int kQuestion = mb::kYesNo | mb::kIconQuestion;
    if (ShowMessageBox(Gbk("发现最新版本 是否自动下载？即时更新请点否键，在点是键"), kQuestion) == mb::kAnswerYes) {
      hooks.runUpdateDownloadWindow();
      hooks.endProgram(0);
      return;
    }
    if (ShowMessageBox(Gbk("是否打开官网？"), kQuestion, Gbk("您放弃了自动下载")) == mb::kAnswerYes) {
      OpenAddress(addresses.officialSiteUrl);
      hooks.endProgram(0);
      return;
    }
    ShowMessageBox(Gbk("当前不为最新版本 可能会导致非法！"), mb::kIconInformation);
    window.requestDestroy();
  }
  setNoticeAndTimers(window, announcement);
}

}  // namespace zedade
