// GoogleTest entry for tests that need a QApplication: headless by default, and with Chromium's
// sandbox off when running as root (CI), as the embedded browser requires there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QtWebEngineCore/QWebEngineProfile>

#include <unistd.h>

#include <cstdlib>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --disable-component-update", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
