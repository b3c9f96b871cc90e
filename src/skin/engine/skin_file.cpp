#include "skin/engine/skin_file.h"

#include <QCryptographicHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "skin/engine/skin_engine.h"

namespace zedade::skin_engine {
namespace {

constexpr QByteArrayView kMagic = "ZEDADE-SKIN ";
constexpr int kFormatVersion = 1;
constexpr qsizetype kMaxHeader = 4096;
constexpr qsizetype kMaxSection = 16 * 1024 * 1024;

struct RoleName {
  const char* name;
  QPalette::ColorRole role;
};

constexpr std::array<RoleName, 20> kRoles{{
    {"Window", QPalette::Window},
    {"WindowText", QPalette::WindowText},
    {"Base", QPalette::Base},
    {"AlternateBase", QPalette::AlternateBase},
    {"Text", QPalette::Text},
    {"PlaceholderText", QPalette::PlaceholderText},
    {"Button", QPalette::Button},
    {"ButtonText", QPalette::ButtonText},
    {"BrightText", QPalette::BrightText},
    {"Light", QPalette::Light},
    {"Midlight", QPalette::Midlight},
    {"Mid", QPalette::Mid},
    {"Dark", QPalette::Dark},
    {"Shadow", QPalette::Shadow},
    {"Highlight", QPalette::Highlight},
    {"HighlightedText", QPalette::HighlightedText},
    {"ToolTipBase", QPalette::ToolTipBase},
    {"ToolTipText", QPalette::ToolTipText},
    {"Link", QPalette::Link},
    {"LinkVisited", QPalette::LinkVisited},
}};

ParsedSkin failure(int error) { return ParsedSkin{{}, error}; }

std::optional<QString> decodeUtf8(QByteArrayView bytes) {
  if (bytes.contains('\0')) return std::nullopt;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

// A decimal count of at most kMaxSection, digits only.
std::optional<qsizetype> parseCount(QByteArrayView text) {
  if (text.isEmpty() || text.size() > 9) return std::nullopt;
  qsizetype value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxSection) return std::nullopt;
  return value;
}

bool isLowerHex(QByteArrayView text) {
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::optional<QPalette::ColorRole> roleNamed(QByteArrayView name) {
  for (const RoleName& entry : kRoles) {
    if (name == QByteArrayView(entry.name)) return entry.role;
  }
  return std::nullopt;
}

// "#rrggbb" only: a skin spells its colours one way.
std::optional<QColor> parseColour(QByteArrayView text) {
  if (text.size() != 7 || text.front() != '#') return std::nullopt;
  int channels[3] = {};
  for (int i = 0; i < 6; ++i) {
    const char c = text[1 + i];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    channels[i / 2] = channels[i / 2] * 16 + digit;
  }
  return QColor(channels[0], channels[1], channels[2]);
}

std::optional<QList<PaletteEntry>> parsePalette(QByteArrayView section) {
  QList<PaletteEntry> entries;
  while (!section.isEmpty()) {
    const qsizetype end = section.indexOf('\n');
    const QByteArrayView line = end < 0 ? section : section.first(end);
    section = end < 0 ? QByteArrayView() : section.sliced(end + 1);
    if (line.isEmpty()) continue;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) return std::nullopt;
    const auto role = roleNamed(line.first(equals));
    const auto colour = parseColour(line.sliced(equals + 1));
    if (!role || !colour) return std::nullopt;
    entries.append(PaletteEntry{*role, *colour});
  }
  return entries;
}

}  // namespace

ParsedSkin ParseSkin(QByteArrayView bytes) {
  if (!bytes.startsWith(kMagic)) {
    return failure(kMagic.startsWith(bytes) ? kErrorTruncated : kErrorFormat);
  }
  const qsizetype headerEnd = bytes.first(std::min(bytes.size(), kMaxHeader)).indexOf("\n\n");
  if (headerEnd < 0) return failure(bytes.size() < kMaxHeader ? kErrorTruncated : kErrorFormat);

  QByteArrayView header = bytes.first(headerEnd + 1);  // every header line ends with '\n'
  const QByteArrayView body = bytes.sliced(headerEnd + 2);

  const qsizetype firstEnd = header.indexOf('\n');
  const auto version = parseCount(header.first(firstEnd).sliced(kMagic.size()));
  if (!version) return failure(kErrorFormat);
  if (*version != kFormatVersion) return failure(kErrorVersion);
  header = header.sliced(firstEnd + 1);

  std::optional<QString> name;
  std::optional<QString> style;
  std::optional<qsizetype> paletteSize;
  std::optional<qsizetype> sheetSize;
  std::optional<QByteArrayView> checksum;
  while (!header.isEmpty()) {
    const qsizetype end = header.indexOf('\n');
    const QByteArrayView line = header.first(end);
    header = header.sliced(end + 1);
    const qsizetype colon = line.indexOf(": ");
    if (colon <= 0) return failure(kErrorFormat);
    const QByteArrayView key = line.first(colon);
    const QByteArrayView value = line.sliced(colon + 2);
    if (key == "name") {
      if (name) return failure(kErrorFormat);
      name = decodeUtf8(value);
      if (!name) return failure(kErrorContent);
    } else if (key == "style") {
      if (style) return failure(kErrorFormat);
      style = decodeUtf8(value);
      if (!style) return failure(kErrorContent);
    } else if (key == "palette" || key == "sheet") {
      std::optional<qsizetype>& size = key == "palette" ? paletteSize : sheetSize;
      if (size) return failure(kErrorFormat);
      size = parseCount(value);
      if (!size) return failure(kErrorFormat);
    } else if (key == "sha256") {
      if (checksum || value.size() != 64 || !isLowerHex(value)) return failure(kErrorFormat);
      checksum = value;
    }
    // Other keys belong to later additions of version 1 and are skipped.
  }
  if (!name || !paletteSize || !sheetSize || !checksum) return failure(kErrorFormat);

  const qsizetype bodySize = *paletteSize + *sheetSize;
  if (body.size() < bodySize) return failure(kErrorTruncated);
  if (body.size() > bodySize) return failure(kErrorFormat);
  const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
  if (QByteArrayView(digest) != *checksum) return failure(kErrorChecksum);

  auto palette = parsePalette(body.first(*paletteSize));
  auto sheet = decodeUtf8(body.sliced(*paletteSize));
  if (!palette || !sheet) return failure(kErrorContent);

  ParsedSkin parsed;
  parsed.skin.name = std::move(*name);
  parsed.skin.style = style.value_or(QString());
  parsed.skin.palette = std::move(*palette);
  parsed.skin.sheet = std::move(*sheet);
  return parsed;
}

}  // namespace zedade::skin_engine
