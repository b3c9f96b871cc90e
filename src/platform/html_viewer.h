#pragma once

#include <QWebEngineView>

#include <functional>

#include "platform/text.h"

class QWebEngineProfile;

namespace zedade {

// The embedded browser control on Qt WebEngine. It keeps the address it was given as text and
// navigates there at once; it keeps the latest status text (the address of a hovered link); it
// shows no script dialogs; and it asks its owner before a page opens a new window.
//
// All browsers share one off-the-record profile: nothing of a page is kept on disk.
class HtmlViewer : public QWebEngineView {
  Q_OBJECT

 public:
  explicit HtmlViewer(QWidget* parent = nullptr);
  ~HtmlViewer() override;

  // The address property: keeps the text and starts the navigation; returns before anything loads.
  void setAddress(const Text& address);
  const Text& address() const { return m_address; }

  const Text& statusText() const { return m_statusText; }

  // The "about to open a new window" event. The handler's false result refuses the window. With no
  // handler, or a true result, the page gets a top-level window with a browser of its own.
  using NewWindowHandler = std::function<bool()>;
  void setNewWindowHandler(NewWindowHandler handler) { m_newWindowHandler = std::move(handler); }

  // The profile every browser of the program uses; call ReleaseSharedProfile() once the last
  // browser is gone, before the application object is destroyed.
  static QWebEngineProfile* sharedProfile();
  static void ReleaseSharedProfile();

 signals:
  // A top-level window that a page of this browser opened.
  void popupOpened(QWidget* window);

 private:
  class Page;
  QWebEngineView* openPopup();

  Text m_address;
  Text m_statusText;
  NewWindowHandler m_newWindowHandler;
};

// The URL that the browser loads for an address. The address is used as it is (no trimming or
// checking); where its query carries another absolute address (a play address), a "#" inside that
// query belongs to the carried address and stays in the query instead of becoming a fragment.
QUrl NavigationUrl(const Text& address);

}  // namespace zedade
