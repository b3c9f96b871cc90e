// The play buttons in real windows: the clipboard's text goes into the button's edit box and the
// real browser requests the parsing service's page for it from a loopback server.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/bindings.h"
#include "platform/html_viewer.h"
#include "qt_wait.h"
#include "recording_server.h"
#include "ui/full_parse_window.h"
#include "ui/main_window.h"

namespace zedade {
namespace {

using testing::RecordingSite;
using testing::waitUntil;

// A page address with its own query, ampersand and fragment.
const std::string kPageAddress = "http://v.example.com/show/1.html?a=1&b=2#part2";
// What the service must receive for it: the whole address, the fragment kept inside the query.
const std::string kPageAddressAsSent = "http://v.example.com/show/1.html?a=1&b=2%23part2";

struct PlayCase {
  const char* button;
  const char* editBox;
  const char* servicePath;
};

class PlayButtons : public ::testing::TestWithParam<PlayCase> {
 protected:
  void SetUp() override {
    addresses = Addresses::onHost(site.hostPort());
    window = new ui::MainWindow();
    BindMainWindow(*window, addresses, guarded);
    window->show();
  }
  void TearDown() override { delete window; }

  std::string prefixOf(const char* servicePath) const { return "http://" + site.hostPort() + servicePath; }

  RecordingSite site;
  Addresses addresses;
  SubclassTable guarded;
  ui::MainWindow* window = nullptr;
};

TEST_P(PlayButtons, SendCopiedAddressUnchangedToTheirService) {
  const PlayCase& c = GetParam();
  QGuiApplication::clipboard()->setText(QString::fromStdString(kPageAddress));
  window->button(c.button)->click();

  EXPECT_EQ(window->editBox(c.editBox)->text().toStdString(), kPageAddress);
  EXPECT_EQ(window->browser()->address(), prefixOf(c.servicePath) + kPageAddress);
  const std::string expected = std::string(c.servicePath) + kPageAddressAsSent;
  ASSERT_TRUE(waitUntil([&] { return !site.targetsStartingWith(expected).empty(); }))
      << "the service never received " << expected;
  EXPECT_EQ(site.targetsStartingWith(expected).front(), expected);
}

TEST_P(PlayButtons, EmptyClipboardSendsThePrefixAlone) {
  const PlayCase& c = GetParam();
  window->editBox(c.editBox)->setText(QStringLiteral("left over"));
  QGuiApplication::clipboard()->clear();
  window->button(c.button)->click();

  EXPECT_EQ(window->editBox(c.editBox)->text(), QString());
  EXPECT_EQ(window->browser()->address(), prefixOf(c.servicePath));
  const std::string expected = c.servicePath;
  ASSERT_TRUE(waitUntil([&] {
    for (const std::string& target : site.targets()) {
      if (target == expected) return true;
    }
    return false;
  }));
}

TEST_P(PlayButtons, SecondPressReplaysAndTheButtonStaysEnabled) {
  const PlayCase& c = GetParam();
  QGuiApplication::clipboard()->setText(QStringLiteral("http://v.example.com/again.html"));
  const std::string expected = std::string(c.servicePath) + "http://v.example.com/again.html";
  window->button(c.button)->click();
  ASSERT_TRUE(waitUntil([&] { return site.targetsStartingWith(expected).size() == 1; }));
  window->button(c.button)->click();
  EXPECT_TRUE(window->button(c.button)->isEnabled());
  EXPECT_TRUE(waitUntil([&] { return site.targetsStartingWith(expected).size() == 2; }));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PlayButtons,
                         ::testing::Values(PlayCase{"按钮1", "编辑框1", "/?url="},
                                           PlayCase{"按钮4", "编辑框3", "/player.php?url="},
                                           PlayCase{"按钮6", "编辑框4", "/qqvip.php/?url="}),
                         [](const auto& info) { return std::string("Button") + std::to_string(info.index); });

class FullParse : public ::testing::Test {
 protected:
  void SetUp() override { addresses = Addresses::onHost(site.hostPort()); }
  void TearDown() override {
    if (ui::FullParseWindow* open = ui::FullParseWindow::current()) delete open;
  }

  static int openWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<ui::FullParseWindow*>(widget) && widget->isVisible()) ++count;
    }
    return count;
  }

  RecordingSite site;
  Addresses addresses;
};

TEST_F(FullParse, PlayButtonUsesTheFullParserInItsOwnBrowser) {
  OpenFullParseWindow(addresses);
  ui::FullParseWindow* window = ui::FullParseWindow::current();
  ASSERT_NE(window, nullptr);
  QGuiApplication::clipboard()->setText(QString::fromStdString(kPageAddress));
  window->playButton()->click();

  EXPECT_EQ(window->editBox()->text().toStdString(), kPageAddress);
  EXPECT_EQ(window->browser()->address(), "http://" + site.hostPort() + "/play/play.html?url=" + kPageAddress);
  const std::string expected = "/play/play.html?url=" + kPageAddressAsSent;
  EXPECT_TRUE(waitUntil([&] { return !site.targetsStartingWith(expected).empty(); }));
}

TEST_F(FullParse, TwoPressesLeaveOneWindow) {
  OpenFullParseWindow(addresses);
  ui::FullParseWindow* first = ui::FullParseWindow::current();
  OpenFullParseWindow(addresses);
  EXPECT_EQ(ui::FullParseWindow::current(), first);
  EXPECT_EQ(openWindows(), 1);
}

TEST_F(FullParse, PressWhileMinimisedRestoresIt) {
  OpenFullParseWindow(addresses);
  ui::FullParseWindow* window = ui::FullParseWindow::current();
  window->showMinimized();
  ASSERT_TRUE(waitUntil([&] { return window->isMinimized(); }));
  OpenFullParseWindow(addresses);
  EXPECT_TRUE(waitUntil([&] { return !window->isMinimized(); }));
  EXPECT_EQ(ui::FullParseWindow::current(), window);
}

TEST_F(FullParse, EscClosesOnlyIt) {
  ui::MainWindow main;
  main.show();
  OpenFullParseWindow(addresses);
  QPointer<ui::FullParseWindow> window = ui::FullParseWindow::current();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_TRUE(waitUntil([&] { return window.isNull(); }));
  EXPECT_TRUE(main.isVisible());
  EXPECT_EQ(ui::FullParseWindow::current(), nullptr);
  // A later press builds it afresh.
  OpenFullParseWindow(addresses);
  EXPECT_NE(ui::FullParseWindow::current(), nullptr);
}

}  // namespace
}  // namespace zedade
