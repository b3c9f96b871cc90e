#include "ui/tree_box.h"

#include <QHeaderView>

namespace zedade::ui {
namespace {

// Counts items depth-first until `target`; returns its index or -1.
int depthFirstIndex(QTreeWidgetItem* parent, QTreeWidgetItem* target, int& counter) {
  for (int i = 0; i < parent->childCount(); ++i) {
    QTreeWidgetItem* child = parent->child(i);
    if (child == target) return counter;
    ++counter;
    const int found = depthFirstIndex(child, target, counter);
    if (found >= 0) return found;
  }
  return -1;
}

}  // namespace

TreeBox::TreeBox(QWidget* parent) : QTreeWidget(parent) {
  header()->hide();
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (current != previous) emit selectionChanged(m_input);
  });
}

int TreeBox::selectionIndex() const {
  QTreeWidgetItem* current = currentItem();
  if (!current) return -1;
  int counter = 0;
  return depthFirstIndex(invisibleRootItem(), current, counter);
}

void TreeBox::mousePressEvent(QMouseEvent* event) {
  m_input = ByMouse;
  QTreeWidget::mousePressEvent(event);
  m_input = Other;
}

void TreeBox::keyPressEvent(QKeyEvent* event) {
  m_input = ByKeyboard;
  QTreeWidget::keyPressEvent(event);
  m_input = Other;
}

}  // namespace zedade::ui
