#pragma once

#include <optional>
#include <vector>

namespace zedade::ui {

// The kinds of control a window layout is made of.
enum class ControlKind { Button, EditBox, Label, TransLabel, DrawPanel, Timer, ProcessBar, TreeBox, ListView, HtmlViewer };

struct Rgb {
  int red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// A logical font: a negative height is the character height in pixels; bold is weight 700.
struct FontSpec {
  const char* face = "";
  int height = 0;
  int weight = 400;
  bool underline = false;
};

// One control of a window layout. Place is relative to the parent's client area; a null parent
// means the window itself.
struct ControlSpec {
  ControlKind kind;
  const char* name;
  const char* parent;  // nullptr: the window
  int x = 0, y = 0, width = 0, height = 0;
  bool shown = true;
  const char* text = "";  // caption or initial text (UTF-8 source)
  std::optional<FontSpec> font;
  std::optional<Rgb> textColour;
  std::optional<Rgb> background;
  int timerPeriod = 0;
};

enum class FrameKind { FixedCaption, Borderless };

// A window layout: outer size, frame, caption and its controls, top of the stack first.
struct WindowSpec {
  const char* name;
  int outerWidth;
  int outerHeight;
  FrameKind frame;
  const char* caption;
  std::optional<Rgb> background;
  std::vector<ControlSpec> controls;
};

}  // namespace zedade::ui
