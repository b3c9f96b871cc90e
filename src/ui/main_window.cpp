#include "ui/main_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

#include "platform/html_viewer.h"
#include "ui/layouts.h"
#include "ui/list_view.h"
#include "ui/tree_box.h"

namespace zedade::ui {
namespace {

constexpr const char* kSiteItems[] = {"优酷视频", "土豆视频", "乐视视频", "腾讯视频", "爱奇艺", "迅雷看看",
                                      "PPTV聚力", "芒果TV", "风行网", "暴风影音", "电视直播导航", "LOL斗鱼直播",
                                      "LOL雅虎直播", "LOL战旗直播", "风云直播", "搜狐视频"};

// The selection shows only while the control has the focus.
void hideSelectionWithoutFocus(QAbstractItemView* view) {
  QPalette palette = view->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(255, 255, 0));
  view->setPalette(palette);
}

}  // namespace

MainWindow::MainWindow() : Form(MainWindowLayout()) {
  setUpResultList();
  setUpSiteTree();
}

MainWindow* MainWindow::Load(const std::function<void(MainWindow&)>& createdHandler) {
  auto* window = new MainWindow();
  if (createdHandler) createdHandler(*window);
  // A window whose destruction is already queued is not shown only to vanish.
  if (!window->destroyRequested()) {
    window->centreOnScreen();
    window->show();
  }
  return window;
}

void MainWindow::requestDestroy() {
  if (m_destroyRequested) return;
  m_destroyRequested = true;
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

HtmlViewer* MainWindow::browser() const { return control<HtmlViewer>("超文本浏览框1"); }
QLineEdit* MainWindow::editBox(const char* name) const { return control<QLineEdit>(name); }
QPushButton* MainWindow::button(const char* name) const { return control<QPushButton>(name); }
QLabel* MainWindow::label(const char* name) const { return control<QLabel>(name); }
ListView* MainWindow::resultList() const { return control<ListView>("超级列表框1"); }
TreeBox* MainWindow::siteTree() const { return control<TreeBox>("树型框1"); }

void MainWindow::setUpResultList() {
  ListView* list = resultList();
  list->setColumnCount(3);
  list->setHeaderLabels({QStringLiteral("地址"), QStringLiteral("地址"), QStringLiteral("选集")});
  const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignVCenter, Qt::AlignCenter, Qt::AlignCenter};
  const int widths[] = {1, 266, 88};
  list->header()->setMinimumSectionSize(1);
  for (int column = 0; column < 3; ++column) {
    list->headerItem()->setTextAlignment(column, alignments[column]);
    list->setColumnWidth(column, widths[column]);
  }
  list->header()->setSectionResizeMode(QHeaderView::Fixed);
  list->setFrameShape(QFrame::StyledPanel);
  list->setFrameShadow(QFrame::Sunken);
  QFont font = list->font();
  font.setUnderline(true);  // hot and cold rows alike
  list->setFont(font);
  hideSelectionWithoutFocus(list);
}

void MainWindow::setUpSiteTree() {
  TreeBox* tree = siteTree();
  tree->setRootIsDecorated(false);
  tree->setFrameShape(QFrame::NoFrame);
  auto* root = new QTreeWidgetItem(tree, {QStringLiteral("外部视频导航")});
  for (const char* site : kSiteItems) new QTreeWidgetItem(root, {QString::fromUtf8(site)});
  root->setExpanded(true);
  tree->setCurrentItem(root);
  hideSelectionWithoutFocus(tree);
}

}  // namespace zedade::ui
