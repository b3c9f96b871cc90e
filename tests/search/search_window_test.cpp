// The search in the real main window: the stand-in site's results page into the list, then a press
// on a row plays that row through the universal parsing service.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/bindings.h"
#include "platform/html_viewer.h"
#include "platform/qt_text.h"
#include "qt_wait.h"
#include "recording_server.h"
#include "ui/list_view.h"
#include "ui/main_window.h"

namespace zedade {
namespace {

using testing::RecordingSite;
using testing::waitUntil;

class SearchWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    addresses = Addresses::onHost(site.hostPort());
    window = std::make_unique<ui::MainWindow>();
    BindMainWindow(*window, addresses, table);
    window->show();
    list = window->resultList();
    box = window->editBox("编辑框5");
  }

  void search(const std::string& address) {
    box->setText(QString::fromStdString(address));
    window->button("按钮7")->click();
  }

  std::string cell(int row, int column) const { return Utf8(list->cellText(row, column)); }
  std::string video(int n) const { return site.url("/v/" + std::to_string(n) + ".html"); }

  void pressRow(int row, int x) {
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, rect.center().y()));
  }

  RecordingSite site;
  Addresses addresses;
  SubclassTable table;
  std::unique_ptr<ui::MainWindow> window;
  ui::ListView* list = nullptr;
  QLineEdit* box = nullptr;
};

TEST_F(SearchWindow, ResultsAppendInPageOrderAndTheBrowserPlaysTheAddress) {
  const std::string results = site.url("/search?q=first");
  search(results);
  ASSERT_EQ(list->rowCount(), 12);
  for (int row = 0; row < 12; ++row) {
    EXPECT_EQ(cell(row, 0), "");
    EXPECT_EQ(cell(row, 1), video(row + 1));
    EXPECT_EQ(cell(row, 2), "替身视频 第" + std::to_string(row + 1) + "集");
  }
  EXPECT_EQ(window->browser()->address(), addresses.universalParser + results);

  search(site.url("/search?q=second"));  // rows of the first search stay above
  ASSERT_EQ(list->rowCount(), 24);
  EXPECT_EQ(cell(0, 1), video(1));
  EXPECT_EQ(cell(12, 1), video(1));
  EXPECT_EQ(cell(23, 2), "替身视频 第12集");
}

TEST_F(SearchWindow, NothingFoundStillSendsTheBrowser) {
  search("");
  EXPECT_EQ(list->rowCount(), 0);
  EXPECT_EQ(window->browser()->address(), addresses.universalParser);

  search("http://127.0.0.1:1/search?q=gone");  // refused
  EXPECT_EQ(list->rowCount(), 0);
  EXPECT_EQ(window->browser()->address(), addresses.universalParser + "http://127.0.0.1:1/search?q=gone");

  search(site.url("/v/1.html"));  // a page without results
  EXPECT_EQ(list->rowCount(), 0);
}

TEST_F(SearchWindow, PressCopiesTheCellOfTheRowSelectedBeforeThePress) {
  search(site.url("/search?q=x"));
  ASSERT_EQ(list->rowCount(), 12);

  // No row selected: the box empties and the service gets the prefix alone; the press selects.
  pressRow(4, 100);
  EXPECT_EQ(box->text(), QString());
  EXPECT_EQ(window->browser()->address(), addresses.universalParser);
  EXPECT_EQ(list->lowestSelectedRow(), 4);

  // A press on another row copies the row selected before it, from the address column.
  pressRow(7, 100);
  EXPECT_EQ(box->text().toStdString(), video(5));
  EXPECT_EQ(window->browser()->address(), addresses.universalParser + video(5));
  const std::string played = "/?url=" + video(5);
  EXPECT_TRUE(waitUntil([&] { return !site.targetsStartingWith(played).empty(); }));

  // Right of x 259 lies the title column.
  pressRow(7, 300);
  EXPECT_EQ(box->text().toStdString(), "替身视频 第8集");
}

TEST_F(SearchWindow, RestingPointerSelectsTheRowUnderIt) {
  search(site.url("/search?q=x"));
  ASSERT_EQ(list->lowestSelectedRow(), -1);
  const QRect rect = list->visualItemRect(list->topLevelItem(3));
  QTest::mouseMove(list->viewport(), rect.center());
  EXPECT_TRUE(waitUntil([&] { return list->lowestSelectedRow() == 3; }));
  EXPECT_EQ(list->viewport()->cursor().shape(), Qt::PointingHandCursor);
  // A press made now copies the hovered row's cell.
  pressRow(3, 100);
  EXPECT_EQ(box->text().toStdString(), video(4));
}

TEST_F(SearchWindow, SearchAfterAPressFetchesTheCopiedText) {
  search(site.url("/search?q=x"));
  list->setCurrentItem(list->topLevelItem(0));
  pressRow(0, 100);
  ASSERT_EQ(box->text().toStdString(), video(1));
  window->button("按钮7")->click();  // the box now holds a video page: no rows from it
  EXPECT_EQ(list->rowCount(), 12);
  EXPECT_TRUE(waitUntil([&] { return !site.targetsStartingWith("/v/1.html").empty(); }));
}

}  // namespace
}  // namespace zedade
