#pragma once

#include <QWidget>

#include "ui/controls.h"

namespace zedade {
class Timer;
}

namespace zedade::ui {

// A top-level window built from its layout: every control created with its kind, name, parent,
// place, visibility, texts, font and colours, stacked in the layout's order. Closing it (the
// close box or Esc) destroys it.
class Form : public QWidget {
  Q_OBJECT

 public:
  explicit Form(const WindowSpec& layout);

  // A control by its layout name; nullptr for an unknown name or another kind.
  template <typename T>
  T* control(const char* name) const {
    return findChild<T*>(QString::fromUtf8(name));
  }
  Timer* timer(const char* name) const;

  // The outer size: the client size plus the frame of the window's kind (a caption bar and thin
  // borders, or none), whatever frame a window manager adds on top.
  QSize outerSize() const;
  int outerWidth() const { return outerSize().width(); }

  // Gives a label of the layout another text colour; its background stays as laid out.
  void setLabelTextColour(const char* name, const Rgb& colour);

  // Places the window's outer rectangle at the centre of the primary screen.
  void centreOnScreen();

  const WindowSpec& layout() const { return m_layout; }

 private:
  QMargins nominalFrame() const;
  void createControl(const ControlSpec& row);

  const WindowSpec& m_layout;
};

// The font of a layout, with the program's Kai faces mapped onto installed fonts.
QFont MakeFont(const FontSpec& logical);

}  // namespace zedade::ui
