#pragma once

#include <QString>

#include "platform/text.h"

namespace zedade {

// The one crossing between the program's GBK text and Qt's strings.
QString ToQString(const Text& text);
Text FromQString(const QString& string);

}  // namespace zedade
