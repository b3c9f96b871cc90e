#pragma once

#include <QTreeWidget>

namespace zedade::ui {

// The tree control. Its selection-changed event tells how the selection moved: 0 by the
// keyboard, 1 by the mouse, 2 in any other way (by the program).
class TreeBox final : public QTreeWidget {
  Q_OBJECT

 public:
  enum How { ByKeyboard = 0, ByMouse = 1, Other = 2 };

  explicit TreeBox(QWidget* parent = nullptr);

  // The selected item's position among all items, depth-first, each parent before its children,
  // hidden children counted; -1 when nothing is selected.
  int selectionIndex() const;

 signals:
  void selectionChanged(int how);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  How m_input = Other;
};

}  // namespace zedade::ui
