#pragma once

#include <functional>

#include "ui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zedade {
class HtmlViewer;
}

namespace zedade::ui {

class ListView;
class TreeBox;

// The start window: the browser, the play buttons, the search box and list, the site tree, the
// scrolling notice and the clock.
class MainWindow final : public Form {
  Q_OBJECT

 public:
  MainWindow();

  // Loads the window: creates it with its controls (its timers start), runs the created handler,
  // then shows it, centred, unless the handler asked for its destruction (or ended the program).
  static MainWindow* Load(const std::function<void(MainWindow&)>& createdHandler);

  // Queues the window's destruction; the message loop carries it out, so the caller may go on
  // using the window until then.
  void requestDestroy();
  bool destroyRequested() const { return m_destroyRequested; }

  HtmlViewer* browser() const;
  ListView* resultList() const;
  TreeBox* siteTree() const;
  QLineEdit* editBox(const char* name) const;
  QPushButton* button(const char* name) const;
  QLabel* label(const char* name) const;

 private:
  void setUpResultList();
  void setUpSiteTree();

  bool m_destroyRequested = false;
};

}  // namespace zedade::ui
