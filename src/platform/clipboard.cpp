#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/qt_text.h"

namespace zedade {

Text ReadClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return {};
  return FromQString(clipboard->text(QClipboard::Clipboard));
}

}  // namespace zedade
