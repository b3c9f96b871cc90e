#include "platform/qt_text.h"

namespace zedade {

QString ToQString(const Text& text) {
  if (text.empty()) return {};
  return QString::fromStdString(Utf8(text));
}

Text FromQString(const QString& string) {
  if (string.isEmpty()) return {};
  return Gbk(string.toStdString());
}

}  // namespace zedade
