// Zedade: play videos of video sites through outside parsing services.
#include <QApplication>
#include <QDir>
#include <QIcon>

#include <exception>
#include <new>

#include "app/program.h"
#include "platform/fatal.h"
#include "platform/files.h"

int main(int argc, char** argv) {
  // The working folder is the executable's own.
  QDir::setCurrent(QString::fromStdString(zedade::ExecutableFolder()));
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // the browser component needs it before the app
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zedade"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/zedade/icon.png")));
  try {
    zedade::Program program(zedade::Addresses::fromBuild());
    return program.run();
  } catch (const std::bad_alloc&) {
    zedade::FatalError("Zedade could not start: out of memory.");
  } catch (const std::exception& error) {
    zedade::FatalError(std::string("Zedade could not start: ") + error.what());
  }
}
