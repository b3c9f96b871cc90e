#pragma once

#include <string>

namespace zedade {

// The folder that holds the running executable, without a trailing separator.
std::string ExecutableFolder();

// The current user's desktop folder as the desktop reports it (XDG), without a trailing separator.
std::string DesktopFolder();

}  // namespace zedade
