#include "ui/full_parse_window.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

#include "platform/html_viewer.h"
#include "ui/layouts.h"

namespace zedade::ui {

FullParseWindow::FullParseWindow() : Form(FullParseWindowLayout()) {}

FullParseWindow* FullParseWindow::Open(const std::function<void(FullParseWindow&)>& bind) {
  if (FullParseWindow* open = s_current.data()) {
    if (open->isMinimized()) {
      open->showNormal();
    }
    open->raise();
    open->activateWindow();
    return open;
  }
  auto* window = new FullParseWindow();
  s_current = window;
  if (bind) bind(*window);
  window->centreOnScreen();
  window->show();
  return window;
}

void FullParseWindow::closeEvent(QCloseEvent* event) {
  // Once closing, it no longer counts as the open one: the next opening builds it afresh.
  if (s_current == this) s_current = nullptr;
  Form::closeEvent(event);
}

HtmlViewer* FullParseWindow::browser() const { return control<HtmlViewer>("超文本浏览框1"); }
QPushButton* FullParseWindow::playButton() const { return control<QPushButton>("按钮1"); }
QLineEdit* FullParseWindow::editBox() const { return control<QLineEdit>("编辑框1"); }

}  // namespace zedade::ui
