#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <filesystem>

#include "platform/qt_text.h"

namespace zedade {
namespace {

std::function<void(const Text&)>& openHandler() {
  static std::function<void(const Text&)> handler;
  return handler;
}

QUrl ShellUrl(const Text& address) {
  QString text = ToQString(address);
  if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) text.prepend(QLatin1String("http://"));
  return QUrl(text, QUrl::TolerantMode);
}

}  // namespace

void OpenAddress(const Text& address) {
  if (openHandler()) {
    openHandler()(address);
    return;
  }
  QDesktopServices::openUrl(ShellUrl(address));
}

void SetOpenAddressHandler(std::function<void(const Text&)> handler) { openHandler() = std::move(handler); }

bool StartProgram(const std::string& path) {
  std::error_code error;
  const auto perms = std::filesystem::status(path, error).permissions();
  if (!error && (perms & std::filesystem::perms::owner_exec) == std::filesystem::perms::none) {
    std::filesystem::permissions(path, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add, error);
  }
  QProcess process;
  process.setProgram(QString::fromStdString(path));
  return process.startDetached();
}

}  // namespace zedade
