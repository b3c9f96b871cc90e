#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <filesystem>

namespace zedade {

std::string ExecutableFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path().string();
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string DesktopFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (folder.isEmpty()) folder = QDir::homePath();
  QDir().mkpath(folder);  // a desktop folder always exists where the program came from
  return QDir::cleanPath(folder).toStdString();
}

}  // namespace zedade
