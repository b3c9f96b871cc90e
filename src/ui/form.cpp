#include "ui/form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <cstring>

#include "platform/html_viewer.h"
#include "platform/timer.h"
#include "ui/list_view.h"
#include "ui/tree_box.h"
#include "ui/window_registry.h"

namespace zedade::ui {
namespace {

// The frame that a fixed, captioned window has: the layouts' outer sizes include it.
constexpr QMargins kCaptionFrame(3, 24, 3, 3);

QString colour(const Rgb& c) { return QStringLiteral("rgb(%1, %2, %3)").arg(c.red).arg(c.green).arg(c.blue); }

void installFontSubstitutions() {
  static bool done = false;
  if (done) return;
  done = true;
  const QStringList kai{QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
                        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")};
  QFont::insertSubstitutions(QStringLiteral("华文楷体"), kai);
  QFont::insertSubstitutions(QStringLiteral("华文行楷"), kai);
}

// Colours go into the control's own style sheet, which a skin's application-wide sheet does not
// override. The rule names the control itself, so that it does not reach the controls inside it.
QString colourSheet(const char* kind, const ControlSpec& row, bool transparent) {
  QString rules;
  if (row.textColour) rules += QStringLiteral("color: %1;").arg(colour(*row.textColour));
  if (row.background) {
    rules += QStringLiteral("background-color: %1;").arg(colour(*row.background));
  } else if (transparent) {
    rules += QStringLiteral("background: transparent;");
  }
  if (rules.isEmpty()) return {};
  return QStringLiteral("%1#%2 { %3 }").arg(QLatin1String(kind), QString::fromUtf8(row.name), rules);
}

QLineEdit* makeEditBox(QWidget* parent, const ControlSpec& row) {
  auto* edit = new QLineEdit(parent);
  const Rgb text = row.textColour.value_or(Rgb{0, 0, 0});
  const Rgb base = row.background.value_or(Rgb{255, 255, 255});
  edit->setStyleSheet(QStringLiteral("QLineEdit#%1 { color: %2; background-color: %3; border: 2px inset rgb(160, 160, 160); }")
                          .arg(QString::fromUtf8(row.name), colour(text), colour(base)));
  return edit;
}

}  // namespace

QFont MakeFont(const FontSpec& logical) {
  installFontSubstitutions();
  QFont font(QString::fromUtf8(logical.face));
  font.setPixelSize(logical.height < 0 ? -logical.height : std::max(logical.height, 1));
  font.setWeight(logical.weight >= 700 ? QFont::Bold : QFont::Normal);
  font.setUnderline(logical.underline);
  return font;
}

Form::Form(const WindowSpec& layout) : QWidget(nullptr), m_layout(layout) {
  setObjectName(QString::fromUtf8(layout.name));
  setAttribute(Qt::WA_DeleteOnClose);
  if (layout.frame == FrameKind::Borderless) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  } else {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  }
  setWindowTitle(QString::fromUtf8(layout.caption));
  const QMargins frame = nominalFrame();
  setFixedSize(layout.outerWidth - frame.left() - frame.right(), layout.outerHeight - frame.top() - frame.bottom());
  if (layout.background) {
    setStyleSheet(QStringLiteral("QWidget#%1 { background-color: %2; }").arg(objectName(), colour(*layout.background)));
    setAttribute(Qt::WA_StyledBackground);
  }
  // Later siblings stack above earlier ones, so the layout (top first) is built from its end.
  for (auto it = layout.controls.rbegin(); it != layout.controls.rend(); ++it) createControl(*it);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  WindowRegistry::instance().add(this);
}

void Form::setLabelTextColour(const char* name, const Rgb& colour) {
  for (const ControlSpec& row : m_layout.controls) {
    if (std::strcmp(row.name, name) != 0) continue;
    ControlSpec recoloured = row;
    recoloured.textColour = colour;
    if (auto* label = control<QLabel>(name)) {
      label->setStyleSheet(colourSheet("QLabel", recoloured, row.kind == ControlKind::TransLabel));
    }
    return;
  }
}

Timer* Form::timer(const char* name) const { return findChild<Timer*>(QString::fromUtf8(name)); }

QMargins Form::nominalFrame() const {
  return m_layout.frame == FrameKind::Borderless ? QMargins() : kCaptionFrame;
}

QSize Form::outerSize() const { return size().grownBy(nominalFrame()); }

void Form::centreOnScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize screenSize = screen->geometry().size();
  const int left = (screenSize.width() - m_layout.outerWidth) / 2;
  const int top = (screenSize.height() - m_layout.outerHeight) / 2;
  // The client area goes where it lies inside the centred outer rectangle; whatever frame the
  // window system draws sits around it.
  const QMargins frame = nominalFrame();
  setGeometry(QRect(QPoint(left + frame.left(), top + frame.top()), size()));
}

void Form::createControl(const ControlSpec& row) {
  QWidget* parent = row.parent ? findChild<QWidget*>(QString::fromUtf8(row.parent)) : this;
  Q_ASSERT(parent);
  const QString name = QString::fromUtf8(row.name);
  const QString text = QString::fromUtf8(row.text);

  if (row.kind == ControlKind::Timer) {
    auto* timer = new Timer(parent);
    timer->setObjectName(name);
    timer->setPeriod(row.timerPeriod);
    return;
  }

  QWidget* widget = nullptr;
  switch (row.kind) {
    case ControlKind::Button: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      widget = button;
      break;
    }
    case ControlKind::EditBox:
      widget = makeEditBox(parent, row);
      break;
    case ControlKind::Label:
    case ControlKind::TransLabel: {
      auto* label = new QLabel(text, parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      label->setWordWrap(false);
      label->setTextFormat(Qt::PlainText);
      label->setStyleSheet(colourSheet("QLabel", row, row.kind == ControlKind::TransLabel));
      widget = label;
      break;
    }
    case ControlKind::DrawPanel: {
      widget = new QWidget(parent);
      widget->setAttribute(Qt::WA_StyledBackground);
      widget->setStyleSheet(colourSheet("QWidget", row, false));
      break;
    }
    case ControlKind::ProcessBar: {
      auto* bar = new QProgressBar(parent);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setOrientation(Qt::Horizontal);
      bar->setTextVisible(false);
      // Blocks rather than a smooth bar, in a shallow sunken frame.
      // Only the shape is the bar's own; the skin colours it.
      bar->setStyleSheet(QStringLiteral("QProgressBar#%1 { padding: 1px; }"
                                        "QProgressBar#%1::chunk { width: 10px; margin: 0 1px; }").arg(name));
      widget = bar;
      break;
    }
    case ControlKind::TreeBox:
      widget = new TreeBox(parent);
      widget->setStyleSheet(colourSheet("QTreeView", row, false));
      break;
    case ControlKind::ListView:
      widget = new ListView(parent);
      widget->setStyleSheet(colourSheet("QTreeView", row, false));
      break;
    case ControlKind::HtmlViewer:
      widget = new HtmlViewer(parent);
      break;
    case ControlKind::Timer:
      break;
  }
  widget->setObjectName(name);
  if (row.font) widget->setFont(MakeFont(*row.font));

  int height = row.height;
  if (row.kind == ControlKind::EditBox) {
    // An edit box is never lower than one line of its font.
    height = std::max(height, widget->fontMetrics().height() + 6);
  }
  widget->setGeometry(row.x, row.y, row.width, height);
  if (!row.shown) widget->hide();
}

}  // namespace zedade::ui
