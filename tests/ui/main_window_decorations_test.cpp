// The main window's timers, site tree, help text and contact link, in the real window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <deque>

#include "app/bindings.h"
#include "message_box_answerer.h"
#include "platform/clock.h"
#include "platform/qt_text.h"
#include "platform/shell.h"
#include "ui/main_window.h"
#include "ui/main_window_timers.h"
#include "ui/site_directory.h"
#include "ui/tree_box.h"

namespace zedade::ui {
namespace {

class FixedClock final : public Clock {
 public:
  LocalDateTime time;
  LocalDateTime now() const override { return time; }
  uint32_t tickCount() const override { return 4242; }
};

class ScriptedRandom final : public RandomSource {
 public:
  std::deque<int> draws;
  uint32_t seededWith = 0;
  void seed(uint32_t seed) override { seededWith = seed; }
  int draw(int, int) override {
    const int value = draws.front();
    draws.pop_front();
    return value;
  }
};

QColor textColour(QLabel* label) {
  label->ensurePolished();
  return label->palette().color(label->foregroundRole());
}

TEST(MainWindowTimers, ClockTickShowsTheTimeAndRecoloursBothLabels) {
  FixedClock clock;
  clock.time = {2017, 3, 1, 9, 5, 0};
  ScriptedRandom random;
  random.draws = {1000, 256, 0, 10, 20, 300};
  SetClockForTesting(&clock);
  SetRandomForTesting(&random);
  MainWindow window;
  ClockTick(window);
  SetClockForTesting(nullptr);
  SetRandomForTesting(nullptr);

  EXPECT_EQ(random.seededWith, 4242u);
  EXPECT_EQ(window.label("标签2")->text(), QStringLiteral("2017年3月1日9时5分"));
  EXPECT_EQ(textColour(window.label("标签1")), QColor(232, 0, 0));
  EXPECT_EQ(textColour(window.label("标签3")), QColor(10, 20, 44));
  EXPECT_TRUE(random.draws.empty());
  // the background stays
  EXPECT_EQ(window.label("标签1")->palette().color(window.label("标签1")->backgroundRole()), QColor(0, 0, 0));
}

TEST(MainWindowTimers, MarqueeWrapsAtTheWindowsCurrentWidth) {
  MainWindow window;
  QLabel* notice = window.label("标签1");
  EXPECT_EQ(notice->x(), 544);
  MarqueeTick(window);
  EXPECT_EQ(notice->x(), 543);
  notice->move(-991, notice->y());
  MarqueeTick(window);
  EXPECT_EQ(notice->x(), 992);
  EXPECT_EQ(notice->y(), 16);

  window.setFixedSize(window.width() + 200, window.height());  // outer width 1192
  notice->move(-991, notice->y());
  MarqueeTick(window);
  EXPECT_EQ(notice->x(), -992);
  notice->move(-1191, notice->y());
  MarqueeTick(window);
  EXPECT_EQ(notice->x(), 1192);
}

class SiteTree : public ::testing::Test {
 protected:
  void SetUp() override {
    SetOpenAddressHandler([this](const Text& address) { opened.push_back(address); });
    addresses = Addresses::fromBuild();
    for (size_t i = 1; i < addresses.sites.size(); ++i) addresses.sites[i] = "http://site" + std::to_string(i) + ".test/";
    addresses.sites[1] = "www.site1.test";  // scheme-less, as the Youku and Tudou rows
    window = std::make_unique<MainWindow>();
    BindMainWindow(*window, addresses, table);
    window->show();
    tree = window->siteTree();
  }
  void TearDown() override { SetOpenAddressHandler(nullptr); }

  void click(int index) {
    QTreeWidgetItem* item = index == 0 ? tree->topLevelItem(0) : tree->topLevelItem(0)->child(index - 1);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }

  Addresses addresses;
  SubclassTable table;
  std::unique_ptr<MainWindow> window;
  TreeBox* tree = nullptr;
  std::vector<Text> opened;
};

TEST_F(SiteTree, ClickingEachSiteOpensExactlyItsAddress) {
  for (int index = 1; index <= 16; ++index) {
    opened.clear();
    click(index);
    ASSERT_EQ(opened.size(), 1u) << index;
    EXPECT_EQ(opened[0], addresses.sites[static_cast<size_t>(index)]);
  }
}

TEST_F(SiteTree, RootKeysAndRepeatedClicksOpenNothing) {
  click(3);
  opened.clear();
  click(3);  // already selected: no change, nothing opens
  EXPECT_TRUE(opened.empty());
  click(0);  // the root
  EXPECT_TRUE(opened.empty());
  tree->setFocus();
  QTest::keyClick(tree, Qt::Key_Down);
  QTest::keyClick(tree, Qt::Key_Down);
  EXPECT_EQ(tree->selectionIndex(), 2);
  EXPECT_TRUE(opened.empty());
  click(5);
  click(3);  // another one and back: opens again
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], addresses.sites[3]);
}

TEST_F(SiteTree, SchemeLessSitesReachTheShellUnchanged) {
  click(1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "www.site1.test");
}

TEST_F(SiteTree, ContactButtonOpensTheMessengerLink) {
  window->button("按钮2")->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "tencent://message/?uin=" + addresses.contactNumber + "&Site=" + addresses.contactSiteUrl +
                           "&Menu=yes");
}

TEST_F(SiteTree, HelpButtonShowsTheHelpTextInAnInformationBox) {
  testing::MessageBoxAnswerer answerer;
  window->button("按钮5")->click();
  ASSERT_EQ(answerer.seen().size(), 1u);
  const auto& box = answerer.seen()[0];
  EXPECT_EQ(box.title, "信息：");
  EXPECT_EQ(box.buttons, QMessageBox::Ok);
  EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  EXPECT_EQ(box.text, Utf8(HelpText()));
  const std::string expected = std::string("软件说明：在百度输入你要播放的电影，直接复制地址，点击播放既可，百分之") +
                               std::string(18, ' ') + "百可以看，如果无法播放，请在百度下载安装Flash Player软件带提示" +
                               std::string(16, ' ') + "更新功能，有什么不明白的，可在线临时对话，联系我";
  EXPECT_EQ(Utf8(HelpText()), expected);
}

}  // namespace
}  // namespace zedade::ui
