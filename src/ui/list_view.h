#pragma once

#include <QTimer>
#include <QTreeWidget>

#include "platform/text.h"

namespace zedade::ui {

// The report-view list control: rows of text cells, no header row shown, single whole-row
// selection, hot tracking (the row under a resting pointer becomes selected; rows are underlined;
// a hand pointer over rows). A left-button press is announced before the list handles it, so a
// handler sees the selection as it stood before the press.
class ListView final : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ListView(QWidget* parent = nullptr);

  int outerWidth() const { return width(); }
  int lowestSelectedRow() const;  // -1 when no row is selected
  Text cellText(int row, int column) const;  // empty when the row does not exist
  int appendRow();  // a new row of empty cells at the end; its number
  void setCellText(int row, int column, const Text& text);
  int rowCount() const { return topLevelItemCount(); }

  // How long the pointer rests on a row before the row is selected.
  static constexpr int kHoverSelectMs = 400;

 signals:
  // x and y are client coordinates of the press; keys: Ctrl 1, Shift 2, Alt 4.
  void leftButtonPressed(int x, int y, int keys);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void selectHoveredRow();

  QTimer m_hoverTimer;
  QPoint m_hoverPos;
};

}  // namespace zedade::ui
