// The start-up check in the real main window against announcement pages from a loopback server,
// its message boxes answered as a user would.
#include <gtest/gtest.h>

#include <QLabel>

#include <deque>
#include <optional>

#include "loopback_server.h"
#include "message_box_answerer.h"
#include "platform/html_viewer.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/timer.h"
#include "ui/main_window.h"
#include "update/announcement_check.h"

namespace zedade {
namespace {

using Button = QMessageBox::StandardButton;
using testing::LoopbackServer;
using testing::MessageBoxAnswerer;

std::string announcementPage(const std::string& latest) {
  return Gbk("<html><body><pre>公告\n////开始\n更新说明=新的公告#\n最新版本=" + latest +
             "}\n窗口标题=新标题{\n更新地址=  http://update.test/Rizavud1.1版.exe 完毕\n////结束\n</pre></body></html>");
}

struct Outcome {
  std::vector<MessageBoxAnswerer::Seen> boxes;
  std::string caption;
  std::string notice;
  std::string browserAddress;
  std::string browserAddressWhenFirstBoxShown;
  bool destroyRequested = false;
  bool updateWindowRun = false;
  std::optional<int> endedWith;
  std::optional<std::string> updateAddress;
  std::vector<std::string> opened;
  int timer1 = 0, timer2 = 0;
};

class AnnouncementCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get("/announcement.html", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content(page, "text/html");
    });
    server.start();
    addresses = Addresses::onHost(server.hostPort());
    addresses.contactNumber = "12345";
  }

  Outcome run(std::deque<Button> answers) {
    Outcome outcome;
    MessageBoxAnswerer answerer(std::move(answers));
    ui::MainWindow window;
    answerer.onShown = [&](const MessageBoxAnswerer::Seen&) {
      if (answerer.seen().size() == 1) outcome.browserAddressWhenFirstBoxShown = window.browser()->address();
    };
    SetOpenAddressHandler([&](const Text& address) { outcome.opened.push_back(address); });
    std::optional<Text> updateAddress;
    const AnnouncementCheckHooks hooks{[&] { outcome.updateWindowRun = true; },
                                       [&](int code) { outcome.endedWith = code; }};
    RunAnnouncementCheck(window, addresses, Gbk("1.2"), updateAddress, hooks);
    SetOpenAddressHandler(nullptr);
    outcome.boxes = answerer.seen();
    outcome.caption = window.windowTitle().toStdString();
    outcome.notice = window.label("标签1")->text().toStdString();
    outcome.browserAddress = window.browser()->address();
    outcome.destroyRequested = window.destroyRequested();
    if (updateAddress) outcome.updateAddress = Utf8(*updateAddress);
    outcome.timer1 = window.timer("时钟1")->period();
    outcome.timer2 = window.timer("时钟2")->period();
    return outcome;
  }

  std::string startVideo() const { return addresses.universalParser + addresses.startVideoPage; }

  LoopbackServer server;
  std::string page;
  Addresses addresses;
};

void expectNoticeAndTimers(const Outcome& outcome, const std::string& notice) {
  EXPECT_EQ(outcome.notice, notice);
  EXPECT_EQ(outcome.timer1, 5);
  EXPECT_EQ(outcome.timer2, 500);
}

TEST_F(AnnouncementCheck, UpToDatePlaysTheStartVideoAfterTheMessage) {
  page = announcementPage("1.2");
  const Outcome outcome = run({});
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].text, "本软件自动更新，永久免费，无广告版，当前版本已是最新");
  EXPECT_EQ(outcome.boxes[0].title, "信息：");
  EXPECT_EQ(outcome.boxes[0].buttons, QMessageBox::Ok);
  EXPECT_EQ(outcome.browserAddressWhenFirstBoxShown, "") << "the video starts only once the box is answered";
  EXPECT_EQ(outcome.browserAddress, startVideo());
  EXPECT_EQ(outcome.caption, "新标题");
  expectNoticeAndTimers(outcome, "新的公告");
  EXPECT_FALSE(outcome.destroyRequested);
  EXPECT_FALSE(outcome.endedWith);
}

TEST_F(AnnouncementCheck, NewerAnsweredYesRunsTheUpdateWindowThenEnds) {
  page = announcementPage("1.3");
  const Outcome outcome = run({Button::Yes});
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].text, "发现最新版本 是否自动下载？即时更新请点否键，在点是键");
  EXPECT_EQ(outcome.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(outcome.boxes[0].icon, QMessageBox::Question);
  EXPECT_EQ(outcome.caption, "新标题");
  EXPECT_EQ(outcome.updateAddress, "  http://update.test/Rizavud1.1版.exe ");
  EXPECT_TRUE(outcome.updateWindowRun);
  EXPECT_EQ(outcome.endedWith, 0);
  EXPECT_EQ(outcome.browserAddress, "");
}

TEST_F(AnnouncementCheck, NewerNoThenYesOpensTheOfficialPageThenEnds) {
  page = announcementPage("1.3");
  const Outcome outcome = run({Button::No, Button::Yes});
  ASSERT_EQ(outcome.boxes.size(), 2u);
  EXPECT_EQ(outcome.boxes[1].text, "是否打开官网？");
  EXPECT_EQ(outcome.boxes[1].title, "您放弃了自动下载");
  EXPECT_EQ(outcome.opened, std::vector<std::string>{addresses.officialSiteUrl});
  EXPECT_FALSE(outcome.updateWindowRun);
  EXPECT_EQ(outcome.endedWith, 0);
}

TEST_F(AnnouncementCheck, NewerNoThenNoWarnsAndClosesTheWindow) {
  page = announcementPage("1.3");
  const Outcome outcome = run({Button::No, Button::No});
  ASSERT_EQ(outcome.boxes.size(), 3u);
  EXPECT_EQ(outcome.boxes[2].text, "当前不为最新版本 可能会导致非法！");
  EXPECT_EQ(outcome.boxes[2].title, "信息：");
  EXPECT_EQ(outcome.boxes[2].icon, QMessageBox::Information);
  EXPECT_TRUE(outcome.destroyRequested);
  EXPECT_FALSE(outcome.endedWith);
  EXPECT_EQ(outcome.caption, "新标题");
  expectNoticeAndTimers(outcome, "新的公告");
}

TEST_F(AnnouncementCheck, OlderRunsOnQuietlyWithAnEmptyBrowser) {
  page = announcementPage("1.10");
  const Outcome outcome = run({});
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_EQ(outcome.caption, "新标题");
  expectNoticeAndTimers(outcome, "新的公告");
  EXPECT_EQ(outcome.browserAddress, "");
  EXPECT_FALSE(outcome.destroyRequested);
  EXPECT_FALSE(outcome.endedWith);
}

struct InvalidCase {
  const char* name;
  std::string page;
  bool unreachable;
};

TEST_F(AnnouncementCheck, NoAnnouncedVersionDeclaresTheProgramInvalid) {
  const InvalidCase cases[] = {
      {"Unreachable", "", true},
      {"NoBlock", Gbk("<p>最新版本=1.3}</p>"), false},
      {"Utf8Page", "////开始 最新版本=1.2} 更新说明=x# ////结束", false},
      {"EndMarkerMissing", Gbk("////开始 最新版本=1.2 更新说明=新的公告# ////结束"), false},
  };
  for (const InvalidCase& c : cases) {
    SCOPED_TRACE(c.name);
    page = c.page;
    if (c.unreachable) addresses.announcementUrl = "http://127.0.0.1:1/announcement.html";
    const Outcome outcome = run({});
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text, "失效联系作者QQ：12345");
    EXPECT_EQ(outcome.boxes[0].title, "");
    EXPECT_EQ(outcome.boxes[0].buttons, QMessageBox::Ok);
    EXPECT_TRUE(outcome.destroyRequested);
    EXPECT_EQ(outcome.caption, "Zedade  v3.0版");  // not taken over
    EXPECT_EQ(outcome.timer1, 5);
    EXPECT_EQ(outcome.timer2, 500);
    EXPECT_FALSE(outcome.endedWith);
  }
}

}  // namespace
}  // namespace zedade
