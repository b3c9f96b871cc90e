#pragma once

#include <string>

namespace zedade {

// Reports a fatal error in a message box and ends the process at once with exit code -1.
[[noreturn]] void FatalError(const std::string& utf8Message);

}  // namespace zedade
