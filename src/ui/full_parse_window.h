#pragma once

#include <QPointer>

#include <functional>

#include "ui/form.h"

class QLineEdit;
class QPushButton;

namespace zedade {
class HtmlViewer;
}

namespace zedade::ui {

// The second player window: one long play button over its own browser. Independent of the main
// window; at most one is open at a time.
class FullParseWindow final : public Form {
  Q_OBJECT

 public:
  FullParseWindow();

  // Opens the window without blocking, binding its handlers through `bind`; when one is open
  // already, restores it when minimised and activates it otherwise.
  static FullParseWindow* Open(const std::function<void(FullParseWindow&)>& bind);
  static FullParseWindow* current() { return s_current; }

  HtmlViewer* browser() const;
  QPushButton* playButton() const;
  QLineEdit* editBox() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  static inline QPointer<FullParseWindow> s_current;
};

}  // namespace zedade::ui
