#include "skin/skin_engine_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

#include "platform/files.h"
#include "skin/skin_data.h"

namespace zedade {
namespace {

std::string& folderOverride() {
  static std::string folder;
  return folder;
}

bool writeAll(int fd, std::span<const unsigned char> bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes = bytes.subspan(static_cast<size_t>(written));
  }
  return true;
}

// Writes the image under a temporary name and renames it into place, so that a failed write (no
// space, say) leaves no half engine behind: a later start would take that for the engine and fail
// to load it every time.
void writeImage(const std::string& path) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return;
  const bool written = writeAll(fd, SkinEngineImage()) && ::fchmod(fd, 0644) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) ::unlink(temporary.c_str());
}

// Windows hides the file through its hidden attribute, which Linux files lack. The desktop's
// convention stands in for it: file managers hide the names listed in the folder's ".hidden".
void hide(const std::string& path) {
  const std::filesystem::path file(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return;  // nothing was written
  const std::filesystem::path list = file.parent_path() / ".hidden";
  const std::string name = file.filename().string();

  std::string content;
  if (std::ifstream in(list, std::ios::binary); in) {
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    if (content.compare(start, end - start, name) == 0 && end - start == name.size()) return;
    start = end + 1;
  }
  std::ofstream out(list, std::ios::binary | std::ios::app);
  if (!content.empty() && content.back() != '\n') out << '\n';
  out << name << '\n';
}

}  // namespace

std::string SkinEngineFolder() {
  const std::string& folder = folderOverride();
  return folder.empty() ? ExecutableFolder() : folder;
}

void SetSkinEngineFolder(const std::string& folder) { folderOverride() = folder; }

std::string SkinEnginePath() { return SkinEngineFolder() + "/" + kSkinEngineFileName; }

void EnsureSkinEngine() {
  // Anything under the name counts, a dangling link too; so does a name we cannot examine.
  std::error_code error;
  const auto status = std::filesystem::symlink_status(SkinEnginePath(), error);
  if (status.type() != std::filesystem::file_type::not_found) return;

  writeImage(SkinEnginePath());
  hide(SkinEnginePath());
}

}  // namespace zedade
