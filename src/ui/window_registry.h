#pragma once

#include <QObject>

namespace zedade::ui {

// Counts the program's open windows and says when the last one has been destroyed.
class WindowRegistry final : public QObject {
  Q_OBJECT

 public:
  static WindowRegistry& instance();

  void add(QWidget* window);
  int count() const { return m_count; }

 signals:
  void lastWindowDestroyed();

 private:
  int m_count = 0;
};

}  // namespace zedade::ui
