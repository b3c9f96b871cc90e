// The main window idling with both timers running (时钟1 at 5 ms, 时钟2 at 500 ms) and a static
// page in its browser, for bench/marquee/run.sh to measure its CPU use.
//
//   zedade_marquee_driver program     the window as the program builds it
//   zedade_marquee_driver nobrowser   the same window without the browser
//   zedade_marquee_driver naive       the notice moved straight on its panel, as laid out, with the
//                                     clock and headline in the window's own surface
#include <QApplication>
#include <QLabel>

#include <cstdio>
#include <cstring>

#include "platform/html_viewer.h"
#include "platform/timer.h"
#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/main_window_timers.h"

namespace {

// Undoes the program's drawing structure before the window is shown.
void buildNaively(zedade::ui::MainWindow& window) {
  QLabel* notice = window.label("标签1");
  QWidget* strip = notice->parentWidget();
  QWidget* panel = window.control<QWidget>("画板1");
  const QPoint place = notice->mapTo(panel, QPoint(0, 0));
  notice->setParent(panel);
  notice->move(place);
  notice->stackUnder(strip);
  notice->show();
  delete strip;
  for (const char* name : {"标签2", "标签3"}) window.label(name)->setAttribute(Qt::WA_NativeWindow, false);
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
  auto* window = new zedade::ui::MainWindow();
  zedade::ui::BindMainWindowTimers(*window);
  window->timer("时钟2")->setPeriod(500);
  window->label("标签1")->setText(QStringLiteral("欢迎使用 Zedade：复制视频地址，点击万能解析即可播放。"));
  if (!std::strcmp(variant, "naive")) buildNaively(*window);
  if (!std::strcmp(variant, "nobrowser")) {
    delete window->browser();
  } else {
    window->browser()->setHtml(QStringLiteral(
        "<html><body style='background:#111;color:#eee;font-family:sans-serif'><h1>a static page</h1>"
        "<p>Nothing moves here.</p></body></html>"));
  }
  window->centreOnScreen();
  window->show();
  return app.exec();
}
