#include "ui/list_view.h"

#include <QHeaderView>
#include <QMouseEvent>

#include "platform/qt_text.h"

namespace zedade::ui {

ListView::ListView(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  header()->hide();
  header()->setStretchLastSection(false);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  m_hoverTimer.setSingleShot(true);
  m_hoverTimer.setInterval(kHoverSelectMs);
  connect(&m_hoverTimer, &QTimer::timeout, this, &ListView::selectHoveredRow);
}

int ListView::lowestSelectedRow() const {
  int lowest = -1;
  for (QTreeWidgetItem* item : selectedItems()) {
    const int row = indexOfTopLevelItem(item);
    if (row >= 0 && (lowest < 0 || row < lowest)) lowest = row;
  }
  return lowest;
}

Text ListView::cellText(int row, int column) const {
  QTreeWidgetItem* item = (row >= 0 && row < topLevelItemCount()) ? topLevelItem(row) : nullptr;
  return item ? FromQString(item->text(column)) : Text();
}

int ListView::appendRow() {
  auto* item = new QTreeWidgetItem(this);
  for (int column = 0; column < columnCount(); ++column) {
    item->setTextAlignment(column, Qt::Alignment(headerItem()->textAlignment(column)));
  }
  return indexOfTopLevelItem(item);
}

void ListView::setCellText(int row, int column, const Text& text) {
  if (QTreeWidgetItem* item = topLevelItem(row)) item->setText(column, ToQString(text));
}

void ListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int keys = (modifiers & Qt::ControlModifier ? 1 : 0) | (modifiers & Qt::ShiftModifier ? 2 : 0) |
                     (modifiers & Qt::AltModifier ? 4 : 0);
    const QPoint client = viewport()->mapTo(this, event->position().toPoint()) - contentsRect().topLeft();
    emit leftButtonPressed(std::max(client.x(), 0), std::max(client.y(), 0), keys);
  }
  QTreeWidget::mousePressEvent(event);
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
  m_hoverPos = event->position().toPoint();
  const bool overRow = itemAt(m_hoverPos) != nullptr;
  viewport()->setCursor(overRow ? Qt::PointingHandCursor : Qt::ArrowCursor);
  if (overRow) {
    m_hoverTimer.start();
  } else {
    m_hoverTimer.stop();
  }
  QTreeWidget::mouseMoveEvent(event);
}

void ListView::leaveEvent(QEvent* event) {
  m_hoverTimer.stop();
  QTreeWidget::leaveEvent(event);
}

void ListView::selectHoveredRow() {
  if (QTreeWidgetItem* item = itemAt(m_hoverPos)) setCurrentItem(item);
}

}  // namespace zedade::ui
