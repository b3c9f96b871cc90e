#pragma once

#include <string>

class QLineEdit;

namespace zedade {

class HtmlViewer;

// A press of a play button: the clipboard's text goes into the button's edit box, is read back,
// and the browser is sent to the prefix followed by it. Nothing is checked or reported; an empty
// clipboard sends the browser to the prefix alone.
void PlayClipboardAddress(QLineEdit& editBox, HtmlViewer& browser, const std::string& prefix);

}  // namespace zedade
