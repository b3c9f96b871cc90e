#include "platform/html_viewer.h"

#include <QQuickWindow>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "platform/qt_text.h"

namespace zedade {
namespace {

QWebEngineProfile*& profileSlot() {
  static QWebEngineProfile* profile = nullptr;
  return profile;
}

// A browser drawn through OpenGL makes Qt compose its whole window, browser included, at every
// repaint of any control in it: the main window's notice moves every 5 ms. Drawn in software, the
// browser paints into the window like any control, and only what changed is flushed. Must happen
// before the first page; a scene graph asked for explicitly (QT_QUICK_BACKEND) wins.
void drawBrowsersInSoftware() {
  if (QQuickWindow::sceneGraphBackend().isEmpty() && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  }
}

}  // namespace

// A page that keeps script dialogs silent and routes new-window requests through its view.
class HtmlViewer::Page final : public QWebEnginePage {
 public:
  Page(QWebEngineProfile* profile, HtmlViewer* view) : QWebEnginePage(profile, view), m_view(view) {}

 protected:
  void javaScriptAlert(const QUrl&, const QString&) override {}
  bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
  bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}

  QWebEnginePage* createWindow(WebWindowType) override {
    if (m_view->m_newWindowHandler && !m_view->m_newWindowHandler()) return nullptr;
    QWebEngineView* popup = m_view->openPopup();
    return popup ? popup->page() : nullptr;
  }

 private:
  HtmlViewer* m_view;
};

HtmlViewer::HtmlViewer(QWidget* parent) : QWebEngineView(parent) {
  auto* page = new Page(sharedProfile(), this);
  setPage(page);
  setZoomFactor(1.0);  // the middle text size
  connect(page, &QWebEnginePage::linkHovered, this, [this](const QString& url) { m_statusText = FromQString(url); });
}

HtmlViewer::~HtmlViewer() {
  // The page must go before the view's render widget.
  delete page();
}

void HtmlViewer::setAddress(const Text& address) {
  m_address = address;
  const QUrl url = NavigationUrl(address);
  page()->load(url.isEmpty() ? QUrl(QStringLiteral("about:blank")) : url);
}

QWebEngineView* HtmlViewer::openPopup() {
  auto* popup = new HtmlViewer(nullptr);
  popup->setAttribute(Qt::WA_DeleteOnClose);
  popup->resize(800, 600);
  popup->show();
  emit popupOpened(popup);
  return popup;
}

QWebEngineProfile* HtmlViewer::sharedProfile() {
  QWebEngineProfile*& profile = profileSlot();
  if (!profile) {
    drawBrowsersInSoftware();
    profile = new QWebEngineProfile();  // no storage name: off the record
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    profile->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
  }
  return profile;
}

void HtmlViewer::ReleaseSharedProfile() {
  delete profileSlot();
  profileSlot() = nullptr;
}

QUrl NavigationUrl(const Text& address) {
  QString text = ToQString(address);
  if (text.isEmpty()) return {};
  const int query = text.indexOf(QLatin1Char('?'));
  if (query >= 0 && text.indexOf(QLatin1String("://"), query) > query) {
    const int hash = text.indexOf(QLatin1Char('#'), query);
    if (hash >= 0) text.replace(hash, text.size() - hash, text.mid(hash).replace(QLatin1Char('#'), QLatin1String("%23")));
  }
  return QUrl(text, QUrl::TolerantMode);
}

}  // namespace zedade
