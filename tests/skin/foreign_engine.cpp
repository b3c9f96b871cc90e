// Not our engine, yet a library with its export: what a foreign file under the engine's name can be.
// It records what it is given, so a test can tell that the program used it as found.
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
int calls = 0;
std::vector<unsigned char> last;
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int ForeignEngineMarker(void) { return 1; }

__attribute__((visibility("default"))) int SkinH_AttachRes(const unsigned char* skin, int size, const char*, int,
                                                           int, int) {
  ++calls;
  last.assign(skin, skin + std::max(size, 0));
  return 0;
}

__attribute__((visibility("default"))) int SkinH_AttachCount(void) { return calls; }

__attribute__((visibility("default"))) int SkinH_LastApplied(unsigned char* buffer, int capacity) {
  if (buffer && capacity > 0) std::memcpy(buffer, last.data(), std::min<size_t>(capacity, last.size()));
  return static_cast<int>(last.size());
}

}  // extern "C"
