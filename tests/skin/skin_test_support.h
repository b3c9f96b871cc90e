#pragma once

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QTemporaryDir>

#include <span>
#include <string>

#include "skin/skin_data.h"
#include "skin/skin_engine_file.h"

namespace zedade::testing {

inline QByteArray bytesOf(std::span<const unsigned char> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

inline QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A colour that skin n gives a palette role, read from the skin's own palette section.
inline QColor skinColour(int n, const char* role) {
  const QByteArray skin = bytesOf(SkinBytes(n));
  const QByteArray key = QByteArray("\n") + role + "=#";
  const qsizetype at = skin.indexOf(key);
  return at < 0 ? QColor() : QColor::fromString(QLatin1StringView(skin.mid(at + key.size() - 1, 7)));
}

// An empty temporary folder that stands in for the executable's folder while it lives.
class EngineFolder {
 public:
  EngineFolder() { SetSkinEngineFolder(m_dir.path().toStdString()); }
  ~EngineFolder() { SetSkinEngineFolder({}); }
  EngineFolder(const EngineFolder&) = delete;
  EngineFolder& operator=(const EngineFolder&) = delete;

  QString path() const { return m_dir.path(); }
  QString enginePath() const { return m_dir.filePath(QString::fromLatin1(kSkinEngineFileName)); }
  QString hiddenList() const { return m_dir.filePath(QStringLiteral(".hidden")); }

 private:
  QTemporaryDir m_dir;
};

}  // namespace zedade::testing
