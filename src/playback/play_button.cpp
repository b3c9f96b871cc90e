#include "playback/play_button.h"

#include <QLineEdit>

#include "platform/clipboard.h"
#include "platform/html_viewer.h"
#include "platform/qt_text.h"
#include "playback/play_address.h"

namespace zedade {

void PlayClipboardAddress(QLineEdit& editBox, HtmlViewer& browser, const std::string& prefix) {
  editBox.setText(ToQString(ReadClipboardText()));
  const Text pageAddress = FromQString(editBox.text());
  browser.setAddress(PlayAddress(prefix, pageAddress));
}

}  // namespace zedade
