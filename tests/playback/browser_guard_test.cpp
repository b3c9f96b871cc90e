// The main browser's guard in a real Qt WebEngine view: right-button presses never reach the page,
// new windows open in place, and FullParseWindow's browser keeps both.
#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWebEnginePage>

#include <mutex>

#include "app/bindings.h"
#include "loopback_server.h"
#include "platform/html_viewer.h"
#include "qt_wait.h"
#include "ui/full_parse_window.h"
#include "ui/main_window.h"

namespace zedade {
namespace {

using testing::LoopbackServer;
using testing::pumpEvents;
using testing::waitUntil;

// Every page the parsing service gives records the mouse and menu events it sees.
const char* kEventsPage = R"(<!doctype html><html><body style="margin:0;height:2000px">
<a id=blank target=_blank href="/v/9.html"
   style="display:block;position:absolute;left:0;top:0;width:300px;height:60px">open in a new window</a>
<script>
window.log = [];
for (const type of ['mousedown', 'mouseup', 'contextmenu', 'dblclick'])
  document.addEventListener(type, e => { log.push(type + ':' + e.button); if (type == 'contextmenu') e.preventDefault(); });
</script></body></html>)";

class BrowserGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      {
        std::lock_guard lock(mutex);
        targets.push_back(request.target);
      }
      response.set_content(request.path.rfind("/v/", 0) == 0 ? "<p>video</p>" : kEventsPage, "text/html");
    });
    server.start();
    addresses = Addresses::onHost(server.hostPort());
    window = new ui::MainWindow();
    BindMainWindow(*window, addresses, table);
    window->show();
    browser = window->browser();
  }
  void TearDown() override {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget != window && qobject_cast<HtmlViewer*>(widget)) delete widget;
    }
    delete window;
  }

  bool received(const std::string& target) {
    std::lock_guard lock(mutex);
    return std::find(targets.begin(), targets.end(), target) != targets.end();
  }

  // Loads a page and waits until it has finished loading.
  static void loadAndWait(HtmlViewer* view, const std::function<void()>& start) {
    bool finished = false;
    auto connection = QObject::connect(view, &QWebEngineView::loadFinished, [&] { finished = true; });
    start();
    EXPECT_TRUE(waitUntil([&] { return finished; }));
    QObject::disconnect(connection);
    pumpEvents(200);  // let the render widget settle
  }

  static QWidget* renderWidget(HtmlViewer* view) { return view->focusProxy(); }

  // The page's event log, read once pending input has been handled.
  static std::string pageLog(HtmlViewer* view) {
    std::string log;
    bool done = false;
    view->page()->runJavaScript(QStringLiteral("window.log.join(',')"), [&](const QVariant& value) {
      log = value.toString().toStdString();
      done = true;
    });
    EXPECT_TRUE(waitUntil([&] { return done; }));
    return log;
  }

  // Clicks the left button as a marker and waits until the page has seen it, so that everything
  // sent before it has been handled too.
  static std::string logAfterMarker(HtmlViewer* view) {
    QTest::mouseClick(renderWidget(view), Qt::LeftButton, {}, QPoint(400, 300));
    std::string log;
    EXPECT_TRUE(waitUntil([&] {
      log = pageLog(view);
      return log.find("mouseup:0") != std::string::npos;
    }));
    return log;
  }

  static bool menuOpen() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<QMenu*>(widget) && widget->isVisible()) return true;
    }
    return false;
  }

  int popupCount() const {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<HtmlViewer*>(widget) && widget->isVisible()) ++count;
    }
    return count;
  }

  void playUniversal() {
    loadAndWait(browser, [this] { window->button("按钮1")->click(); });
  }

  LoopbackServer server;
  std::mutex mutex;
  std::vector<std::string> targets;
  Addresses addresses;
  SubclassTable table;
  ui::MainWindow* window = nullptr;
  HtmlViewer* browser = nullptr;
};

TEST_F(BrowserGuard, RenderWidgetAppearingLaterIsGuardedByTheNextPlayButton) {
  SetActiveSubclassTable(&table);
  GuardWindowTree(table, HandleOf(browser));  // as at start-up, before anything is loaded
  loadAndWait(browser, [this] { browser->setAddress(addresses.universalParser + "first"); });
  ASSERT_NE(renderWidget(browser), nullptr);
  if (FindSubclassRecord(table, HandleOf(renderWidget(browser))) == nullptr) {
    // Not guarded yet: the page sees the right button.
    QTest::mouseClick(renderWidget(browser), Qt::RightButton, {}, QPoint(300, 300));
    EXPECT_NE(logAfterMarker(browser).find("mousedown:2"), std::string::npos);
  }

  playUniversal();  // sets the address and walks
  loadAndWait(browser, [this] { browser->reload(); });  // a fresh log on the same render widget
  ASSERT_NE(FindSubclassRecord(table, HandleOf(renderWidget(browser))), nullptr);
  QTest::mouseClick(renderWidget(browser), Qt::RightButton, {}, QPoint(300, 300));
  const std::string log = logAfterMarker(browser);
  EXPECT_EQ(log.find(":2"), std::string::npos) << log;
  EXPECT_FALSE(menuOpen());
  SetActiveSubclassTable(nullptr);
}

TEST_F(BrowserGuard, RightDoubleClickAndKeyboardMenuStillReachThePage) {
  SetActiveSubclassTable(&table);
  playUniversal();
  GuardWindowTree(table, HandleOf(browser));
  QTest::mouseDClick(renderWidget(browser), Qt::RightButton, {}, QPoint(300, 300));
  std::string log = logAfterMarker(browser);
  EXPECT_NE(log.find("mousedown:2"), std::string::npos) << "the double-click's press reaches the page: " << log;

  QTest::keyClick(renderWidget(browser), Qt::Key_Menu);
  EXPECT_TRUE(waitUntil([&] { return pageLog(browser).find("contextmenu:") != std::string::npos; }))
      << pageLog(browser);
  SetActiveSubclassTable(nullptr);
}

TEST_F(BrowserGuard, SecondWalkAppendsAndReplacesNothing) {
  SetActiveSubclassTable(&table);
  playUniversal();
  GuardWindowTree(table, HandleOf(browser));
  const size_t records = table.size();
  ASSERT_GE(records, 2u);  // the browser and its render widget at least
  std::vector<WindowProcedure> procedures;
  for (const auto& record : table) procedures.push_back(WindowProcedureOf(record->window));

  GuardWindowTree(table, HandleOf(browser));
  EXPECT_EQ(table.size(), records);
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(WindowProcedureOf(table[i]->window), procedures[i]);
    EXPECT_EQ(procedures[i], &GuardWindowProc);
    EXPECT_NE(table[i]->previous, &GuardWindowProc);  // no window was guarded twice
  }
  // Parents come before their children.
  EXPECT_EQ(table.front()->window, HandleOf(browser));
  SetActiveSubclassTable(nullptr);
}

TEST_F(BrowserGuard, HoveredBlankLinkOpensInTheSameBrowser) {
  playUniversal();
  QWidget* render = renderWidget(browser);
  QTest::mouseMove(render, QPoint(50, 20));
  ASSERT_TRUE(waitUntil([&] { return !browser->statusText().empty(); }));
  const std::string link = "http://" + server.hostPort() + "/v/9.html";
  EXPECT_EQ(browser->statusText(), link);
  QTest::mouseClick(render, Qt::LeftButton, {}, QPoint(50, 20));
  EXPECT_TRUE(waitUntil([&] { return received("/v/9.html"); }));
  EXPECT_EQ(browser->address(), link);
  EXPECT_EQ(popupCount(), 0);
}

TEST_F(BrowserGuard, ScriptPopupWithoutStatusTextIsRefusedAndThePageStays) {
  playUniversal();
  const Text before = browser->address();
  ASSERT_TRUE(browser->statusText().empty());
  browser->page()->runJavaScript(QStringLiteral("window.open('/v/8.html'); fetch('/sync');"));
  ASSERT_TRUE(waitUntil([&] { return received("/sync"); }));
  pumpEvents(500);
  EXPECT_FALSE(received("/v/8.html"));
  EXPECT_EQ(browser->address(), before);
  EXPECT_EQ(popupCount(), 0);
}

TEST_F(BrowserGuard, FullParseWindowKeepsRightClicksAndPopups) {
  OpenFullParseWindow(addresses);
  QPointer<ui::FullParseWindow> full = ui::FullParseWindow::current();
  HtmlViewer* view = full->browser();
  loadAndWait(view, [&] { full->playButton()->click(); });
  QTest::mouseClick(renderWidget(view), Qt::RightButton, {}, QPoint(300, 300));
  EXPECT_TRUE(waitUntil([&] { return pageLog(view).find("mousedown:2") != std::string::npos; }));

  QWidget* popup = nullptr;
  QObject::connect(view, &HtmlViewer::popupOpened, [&](QWidget* opened) { popup = opened; });
  view->page()->runJavaScript(QStringLiteral("window.open('/v/8.html')"));
  EXPECT_TRUE(waitUntil([&] { return popup != nullptr; }));
  EXPECT_TRUE(waitUntil([&] { return received("/v/8.html"); }));
  EXPECT_TRUE(popup && popup->isWindow() && popup->isVisible());
  delete full;
}

}  // namespace
}  // namespace zedade
