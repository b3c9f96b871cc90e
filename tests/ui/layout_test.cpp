// The three windows against their layouts: every control's kind, parent, place, visibility, text,
// font and colours, the stacking order, and the window frames.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <optional>
#include <string>
#include <vector>

#include "platform/html_viewer.h"
#include "platform/timer.h"
#include "ui/full_parse_window.h"
#include "ui/list_view.h"
#include "ui/main_window.h"
#include "ui/tree_box.h"
#include "ui/update_download_window.h"

namespace zedade::ui {
namespace {

enum class Kind { Button, Edit, Label, Panel, Timer, Bar, Tree, List, Browser };

struct Font {
  const char* face;
  int pixels;
  bool bold;
  bool underline = false;
};

struct Expected {
  const char* name;
  Kind kind;
  const char* parent;  // nullptr: the window
  QRect place;
  bool shown;
  const char* text = "";
  std::optional<Font> font = std::nullopt;
  std::optional<QColor> foreground = std::nullopt;
  std::optional<QColor> background = std::nullopt;
};

const QColor kBlack(0, 0, 0), kRed(255, 0, 0), kYellow(255, 255, 0);
const Font kButton{"华文楷体", 12, true};

const std::vector<Expected> kMainWindow = {
    {"按钮7", Kind::Button, "画板1", {896, 288, 88, 24}, true, "收 索", kButton},
    {"编辑框5", Kind::Edit, "画板1", {632, 288, 256, 24}, true, "", std::nullopt, kRed, kYellow},
    {"超级列表框1", Kind::List, "画板1", {632, 320, 352, 216}, true, "", Font{"华文楷体", 14, true, true}, kYellow, kBlack},
    {"编辑框4", Kind::Edit, "画板1", {8, 32, 120, 16}, false},
    {"编辑框3", Kind::Edit, "画板1", {8, 8, 120, 16}, false},
    {"按钮6", Kind::Button, nullptr, {640, 248, 80, 24}, true, "暂时停用", kButton},
    {"按钮4", Kind::Button, nullptr, {744, 184, 80, 24}, true, "备用解析", kButton},
    {"标签3", Kind::Label, "画板1", {72, 64, 520, 24}, true, "爱奇艺 新增连续局播放 （推存）全网解析、高清视频",
     Font{"华文楷体", 20, true}, kRed, kBlack},
    {"编辑框2", Kind::Edit, "画板1", {936, 72, 8, 0}, false},
    {"画板2", Kind::Panel, nullptr, {608, 96, 24, 440}, true, "", std::nullopt, std::nullopt, kBlack},
    {"编辑框1", Kind::Edit, "画板1", {984, 0, 0, 8}, true},
    {"时钟2", Kind::Timer, "画板1", {}, false},
    {"时钟1", Kind::Timer, "画板1", {}, false},
    {"标签1", Kind::Label, "画板1", {544, 16, 1024, 32}, true, "标签", Font{"华文楷体", 29, false}, kYellow, kBlack},
    {"标签2", Kind::Label, nullptr, {696, 64, 216, 24}, true, "标签", Font{"华文楷体", 16, true}, kYellow, kBlack},
    {"树型框1", Kind::Tree, "画板1", {856, 120, 128, 152}, true, "", Font{"华文楷体", 12, true, true}, kYellow, kBlack},
    {"按钮5", Kind::Button, "画板1", {744, 248, 80, 24}, true, "软件说明", kButton},
    {"按钮3", Kind::Button, nullptr, {744, 120, 80, 24}, true, "全网解析", kButton},
    {"按钮2", Kind::Button, "画板1", {640, 184, 84, 24}, true, "临时对话", kButton},
    {"按钮1", Kind::Button, "画板1", {640, 120, 84, 24}, true, "万能解析", kButton},
    {"超文本浏览框1", Kind::Browser, "画板1", {0, 96, 632, 440}, true},
    {"画板1", Kind::Panel, nullptr, {0, 0, 992, 536}, true, "", std::nullopt, std::nullopt, kBlack},
};

const Font kRunningKai{"华文行楷", 20, false};
const std::vector<Expected> kUpdateDownloadWindow = {
    {"透明标签3", Kind::Label, nullptr, {8, 8, 192, 24}, true, "等候指令……", kRunningKai, kRed},
    {"透明标签2", Kind::Label, nullptr, {232, 8, 176, 24}, true, "等候指令……", kRunningKai, kRed},
    {"透明标签1", Kind::Label, nullptr, {456, 8, 152, 24}, true, "等待指令", kRunningKai, kRed},
    {"时钟", Kind::Timer, nullptr, {}, false},
    {"进度条", Kind::Bar, nullptr, {8, 32, 568, 24}, true},
};

const std::vector<Expected> kFullParseWindow = {
    {"标签2", Kind::Label, nullptr, {816, 0, 24, 416}, true, "标签", std::nullopt, kBlack, kBlack},
    {"编辑框2", Kind::Edit, nullptr, {0, 56, 200, 24}, false},
    {"标签1", Kind::Label, nullptr, {0, 0, 496, 16}, true,
     "高清解析、全网解析、爱奇艺、优酷、腾讯、乐视等、如果无法播放、刷新线路：", Font{"华文楷体", 14, false}, kYellow,
     kBlack},
    {"按钮1", Kind::Button, nullptr, {0, 16, 824, 48}, true,
     "高清万能解析、复制地址、点击即可播放、如没反映请点击线路即可（推存4号线）", Font{"华文楷体", 19, false}},
    {"超文本浏览框1", Kind::Browser, nullptr, {0, 0, 840, 416}, true},
    {"编辑框1", Kind::Edit, nullptr, {-24, 0, 16, 0}, true},
};

bool isKind(QObject* object, Kind kind) {
  switch (kind) {
    case Kind::Button: return qobject_cast<QPushButton*>(object);
    case Kind::Edit: return qobject_cast<QLineEdit*>(object);
    case Kind::Label: return qobject_cast<QLabel*>(object);
    case Kind::Panel: return object->metaObject() == &QWidget::staticMetaObject;
    case Kind::Timer: return qobject_cast<Timer*>(object);
    case Kind::Bar: return qobject_cast<QProgressBar*>(object);
    case Kind::Tree: return qobject_cast<TreeBox*>(object);
    case Kind::List: return qobject_cast<ListView*>(object);
    case Kind::Browser: return qobject_cast<HtmlViewer*>(object);
  }
  return false;
}

QString textOf(QObject* object) {
  if (auto* button = qobject_cast<QPushButton*>(object)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(object)) return edit->text();
  if (auto* label = qobject_cast<QLabel*>(object)) return label->text();
  return {};
}

void checkLayout(Form& window, const std::vector<Expected>& expected) {
  std::map<QString, std::vector<QString>> stackOrder;  // parent -> names, top first
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    QObject* object = window.findChild<QObject*>(QString::fromUtf8(e.name));
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(isKind(object, e.kind));
    const QString parentName = e.parent ? QString::fromUtf8(e.parent) : window.objectName();
    EXPECT_EQ(object->parent()->objectName(), parentName);
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) continue;  // timers have no place
    stackOrder[parentName].push_back(QString::fromUtf8(e.name));
    EXPECT_EQ(widget->x(), e.place.x());
    EXPECT_EQ(widget->y(), e.place.y());
    EXPECT_EQ(widget->width(), e.place.width());
    if (e.kind == Kind::Edit) {
      // never lower than one line of its font
      EXPECT_GE(widget->height(), std::max(e.place.height(), widget->fontMetrics().height()));
      if (e.place.height() >= widget->fontMetrics().height() + 6) {
        EXPECT_EQ(widget->height(), e.place.height());
      }
    } else {
      EXPECT_EQ(widget->height(), e.place.height());
    }
    EXPECT_EQ(!widget->isHidden(), e.shown);
    EXPECT_EQ(textOf(object), QString::fromUtf8(e.text));
    if (e.font) {
      const QFont font = widget->font();
      EXPECT_EQ(font.family(), QString::fromUtf8(e.font->face));
      EXPECT_EQ(font.pixelSize(), e.font->pixels);
      EXPECT_EQ(font.bold(), e.font->bold);
      EXPECT_EQ(font.underline(), e.font->underline);
    }
    widget->ensurePolished();
    if (e.foreground) {
      EXPECT_EQ(widget->palette().color(widget->foregroundRole()), *e.foreground);
    }
    if (e.background) {
      EXPECT_EQ(widget->palette().color(widget->backgroundRole()), *e.background);
    }
  }
  // Siblings stack in table order, the first on top: Qt keeps children bottom first.
  for (const auto& [parentName, names] : stackOrder) {
    SCOPED_TRACE(parentName.toStdString());
    QWidget* parent = parentName == window.objectName() ? &window : window.findChild<QWidget*>(parentName);
    std::vector<QString> actual;
    for (QObject* child : parent->children()) {
      auto* widget = qobject_cast<QWidget*>(child);
      if (widget && !widget->isWindow() && !widget->objectName().isEmpty()) actual.insert(actual.begin(), widget->objectName());
    }
    EXPECT_EQ(actual, names);
  }
}

QPoint centredOuterCorner(QSize outer) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  return {(screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2};
}

TEST(Layout, MainWindowMatchesItsTable) {
  MainWindow window;
  checkLayout(window, kMainWindow);
  EXPECT_EQ(window.outerSize(), QSize(992, 563));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Zedade  v3.0版"));
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window.minimumSize(), window.maximumSize());  // not resizable
  EXPECT_EQ(window.timer("时钟1")->period(), 5);
  EXPECT_TRUE(window.timer("时钟1")->isTicking());
  EXPECT_FALSE(window.timer("时钟2")->isTicking());
}

TEST(Layout, MainWindowIsCentredOnThePrimaryScreen) {
  MainWindow window;
  window.centreOnScreen();
  window.show();
  // The client area lies inside the centred outer rectangle, below the caption bar.
  EXPECT_EQ(window.geometry().topLeft(), centredOuterCorner({992, 563}) + QPoint(3, 24));
  EXPECT_EQ(window.outerSize(), QSize(992, 563));
}

TEST(Layout, ResultListHasThreeColumnsAndNoHeaderRow) {
  MainWindow window;
  ListView* list = window.resultList();
  EXPECT_TRUE(list->header()->isHidden());
  ASSERT_EQ(list->columnCount(), 3);
  EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("地址"));
  EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("地址"));
  EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("选集"));
  EXPECT_EQ(list->columnWidth(0), 1);
  EXPECT_EQ(list->columnWidth(1), 266);
  EXPECT_EQ(list->columnWidth(2), 88);
  EXPECT_EQ(list->rowCount(), 0);
  EXPECT_EQ(list->lowestSelectedRow(), -1);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST(Layout, SiteTreeShowsItsSixteenSitesUnderTheExpandedRoot) {
  MainWindow window;
  TreeBox* tree = window.siteTree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("外部视频导航"));
  EXPECT_TRUE(root->isExpanded());
  const QStringList sites{"优酷视频", "土豆视频", "乐视视频", "腾讯视频", "爱奇艺", "迅雷看看", "PPTV聚力", "芒果TV",
                          "风行网", "暴风影音", "电视直播导航", "LOL斗鱼直播", "LOL雅虎直播", "LOL战旗直播", "风云直播", "搜狐视频"};
  ASSERT_EQ(root->childCount(), sites.size());
  for (int i = 0; i < sites.size(); ++i) {
    EXPECT_EQ(root->child(i)->text(0), sites[i]);
    EXPECT_EQ(root->child(i)->childCount(), 0);
  }
  EXPECT_EQ(tree->selectionIndex(), 0);
}

TEST(Layout, UpdateDownloadWindowMatchesItsTable) {
  UpdateDownloadWindow window;
  checkLayout(window, kUpdateDownloadWindow);
  EXPECT_EQ(window.outerSize(), QSize(589, 65));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window.timer("时钟")->period(), 1000);
  EXPECT_TRUE(window.timer("时钟")->isTicking());
  QProgressBar* bar = window.progressBar();
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 100);
  EXPECT_EQ(bar->value(), 0);
}

TEST(Layout, FullParseWindowMatchesItsTable) {
  FullParseWindow window;
  checkLayout(window, kFullParseWindow);
  EXPECT_EQ(window.outerSize(), QSize(845, 438));
  EXPECT_EQ(window.windowTitle(), QString());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST(Layout, TimerPeriodsFollowTheControlRules) {
  Timer timer;
  EXPECT_FALSE(timer.isTicking());
  timer.setPeriod(500);
  EXPECT_TRUE(timer.isTicking());
  timer.setPeriod(0);
  EXPECT_FALSE(timer.isTicking());
  timer.setPeriod(-3);
  EXPECT_FALSE(timer.isTicking());
  timer.setPeriod(200);
  EXPECT_TRUE(timer.isTicking());
}

}  // namespace
}  // namespace zedade::ui
