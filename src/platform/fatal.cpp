#include "platform/fatal.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace zedade {

void FatalError(const std::string& utf8Message) {
  std::fprintf(stderr, "zedade: fatal error: %s\n", utf8Message.c_str());
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QMessageBox::critical(nullptr, QStringLiteral("Zedade"), QString::fromStdString(utf8Message));
  }
  std::fflush(nullptr);
  std::_Exit(-1);
}

}  // namespace zedade
