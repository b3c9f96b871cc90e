// The skin engine: a shared library that dresses every window of the process in a skin, through the
// running QApplication's palette and style sheet.

#include "skin/engine/skin_engine.h"

#include <QApplication>
#include <QByteArray>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "skin/engine/skin_file.h"

namespace zedade::skin_engine {
namespace {

struct EngineState {
  std::optional<QPalette> basePalette;  // the application's palette before the first skin
  QByteArray lastApplied;
  int attachCount = 0;
};

// Never destroyed: the engine stays loaded until the process ends, and Qt may be gone by then.
EngineState& state() {
  static auto* engineState = new EngineState;
  return *engineState;
}

QColor blend(const QColor& a, const QColor& b) {
  return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

QPalette skinnedPalette(const QPalette& base, const QList<PaletteEntry>& entries) {
  QPalette palette = base;
  for (const PaletteEntry& entry : entries) palette.setColor(entry.role, entry.colour);
  // Disabled text fades toward its background.
  const QColor window = palette.color(QPalette::Active, QPalette::Window);
  const QColor button = palette.color(QPalette::Active, QPalette::Button);
  palette.setColor(QPalette::Disabled, QPalette::WindowText,
                   blend(palette.color(QPalette::Active, QPalette::WindowText), window));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText,
                   blend(palette.color(QPalette::Active, QPalette::ButtonText), button));
  return palette;
}

void apply(const SkinFile& skin) {
  EngineState& engine = state();
  if (!skin.style.isEmpty() && QApplication::style()->name().compare(skin.style, Qt::CaseInsensitive) != 0 &&
      QStyleFactory::keys().contains(skin.style, Qt::CaseInsensitive)) {
    QApplication::setStyle(skin.style);
  }
  // Each skin starts from the palette the application had before any skin, so roles that one skin
  // sets and the next does not go back to their own colours.
  if (!engine.basePalette) engine.basePalette = QApplication::palette();
  QApplication::setPalette(skinnedPalette(*engine.basePalette, skin.palette));
  qApp->setStyleSheet(skin.sheet);
}

int attach(const unsigned char* bytes, int size) {
  if (bytes == nullptr || size <= 0) return kErrorArgument;
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (application == nullptr) return kErrorNoApplication;
  if (QThread::currentThread() != application->thread()) return kErrorThread;

  // The caller releases its bytes when the call returns: keep a copy.
  QByteArray copy(reinterpret_cast<const char*>(bytes), size);
  const ParsedSkin parsed = ParseSkin(copy);
  if (parsed.error != kOk) return parsed.error;

  apply(parsed.skin);
  EngineState& engine = state();
  engine.lastApplied = std::move(copy);
  ++engine.attachCount;
  return kOk;
}

}  // namespace
}  // namespace zedade::skin_engine

extern "C" {

// The first platform of this interface checked that the routine removed exactly its six 32-bit
// arguments from the stack (stdcall on 32-bit Windows). Here there is one C calling convention and
// the caller cleans up, so there is nothing to check.
int SkinH_AttachRes(const unsigned char* skin, int size, const char* /*password*/, int /*reserved1*/,
                    int /*reserved2*/, int /*reserved3*/) {
  try {
    return zedade::skin_engine::attach(skin, size);
  } catch (...) {
    return zedade::skin_engine::kErrorInternal;
  }
}

int SkinH_AttachCount(void) { return zedade::skin_engine::state().attachCount; }

int SkinH_LastApplied(unsigned char* buffer, int capacity) {
  const QByteArray& last = zedade::skin_engine::state().lastApplied;
  if (buffer != nullptr && capacity > 0) {
    std::memcpy(buffer, last.constData(), static_cast<size_t>(std::min<qsizetype>(capacity, last.size())));
  }
  return static_cast<int>(last.size());
}

}  // extern "C"
