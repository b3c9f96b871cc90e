// The main window idling with both timers running (时钟1 at 5 ms, 时钟2 at 500 ms) and a static
// page in its browser, dressed in the program's skin, for bench/marquee/run.sh to measure its CPU use.
//
//   zedade_marquee_driver program     the window as the program builds it
//   zedade_marquee_driver nobrowser   the same window without the browser
//   zedade_marquee_driver naive       the browser drawn through OpenGL, as Qt does by default: the
//                                     window is composed as a whole at every repaint
//
// Prints "ready <pid>" once the page has loaded (or the window is shown, without a browser) and two
// seconds more have passed, then idles until it is killed.
#include <QApplication>
#include <QLabel>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "platform/html_viewer.h"
#include "platform/timer.h"
#include "skin/attach_skin.h"
#include "ui/main_window.h"
#include "ui/main_window_timers.h"

namespace {

constexpr int kProgramSkin = 31;

void announceReadyLater() {
  QTimer::singleShot(2000, [] {
    std::printf("ready %lld\n", static_cast<long long>(QCoreApplication::applicationPid()));
    std::fflush(stdout);
  });
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const char* variant = argc > 1 ? argv[1] : "program";
  if (std::strcmp(variant, "program") && std::strcmp(variant, "nobrowser") && std::strcmp(variant, "naive")) {
    std::fprintf(stderr, "usage: zedade_marquee_driver program|nobrowser|naive\n");
    return 2;
  }
  // Asked for before the first browser, Qt's default scene graph is kept.
  if (!std::strcmp(variant, "naive")) QQuickWindow::setSceneGraphBackend(QStringLiteral("rhi"));

  auto* window = new zedade::ui::MainWindow();
  zedade::ui::BindMainWindowTimers(*window);
  window->timer("时钟2")->setPeriod(500);
  window->label("标签1")->setText(QStringLiteral("欢迎使用 Zedade：复制视频地址，点击万能解析即可播放。"));
  zedade::AttachSkin(kProgramSkin);
  if (!std::strcmp(variant, "nobrowser")) {
    delete window->browser();
    announceReadyLater();
  } else {
    QObject::connect(window->browser(), &QWebEngineView::loadFinished, window, announceReadyLater,
                     Qt::SingleShotConnection);
    window->browser()->setHtml(QStringLiteral(
        "<html><body style='background:#111;color:#eee;font-family:sans-serif'><h1>a static page</h1>"
        "<p>Nothing moves here.</p></body></html>"));
  }
  window->centreOnScreen();
  window->show();
  return app.exec();
}
