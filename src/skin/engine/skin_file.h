#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>

// A skin file, version 1: a text header, a blank line, then the palette section and the style
// sheet section, byte counts and checksum as the header gives them.
//
//   ZEDADE-SKIN 1
//   name: Amber Night
//   style: Fusion                  (optional: the widget style the sheet is drawn on)
//   palette: 312                   (bytes of the palette section)
//   sheet: 4711                    (bytes of the style sheet section)
//   sha256: <64 hex digits>        (of the palette section followed by the sheet section)
//   <blank line>
//   Window=#181818                 (palette section: one "Role=#rrggbb" per line)
//   ...
//   QPushButton { ... }            (style sheet section, UTF-8)

namespace zedade::skin_engine {

struct PaletteEntry {
  QPalette::ColorRole role = QPalette::NoRole;
  QColor colour;
};

struct SkinFile {
  QString name;
  QString style;  // empty: keep the application's current style
  QList<PaletteEntry> palette;
  QString sheet;
};

struct ParsedSkin {
  SkinFile skin;
  int error = 0;  // 0, or one of the engine's negative codes
};

// Reads and checks a whole skin. Reads nothing outside `bytes`; any defect gives an error.
ParsedSkin ParseSkin(QByteArrayView bytes);

}  // namespace zedade::skin_engine
