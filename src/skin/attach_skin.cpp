#include "skin/attach_skin.h"

#include <dlfcn.h>

#include <string>

#include "platform/fatal.h"
#include "platform/text.h"
#include "skin/engine/skin_engine.h"
#include "skin/skin_data.h"
#include "skin/skin_engine_file.h"

namespace zedade {
namespace {

struct EngineBinding {
  void* library = nullptr;
  skin_engine::AttachRes attachRes = nullptr;
};

std::string lastLoadError() {
  const char* message = dlerror();
  return message ? message : "unknown error";
}

[[noreturn]] void failToBind(const std::string& reason) {
  FatalError(std::string("无法加载皮肤引擎 ") + kSkinEngineFileName + " 的 " + kSkinEngineExport + "：" + reason);
}

// The first library found stays the engine: one that loads but lacks the export is not passed
// over for another copy further down the search.
EngineBinding bindEngine() {
  const std::string path = SkinEnginePath();
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const std::string besideProgram = lastLoadError();
    library = dlopen(kSkinEngineFileName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) failToBind(besideProgram + "; " + lastLoadError());
  }
  dlerror();
  void* address = dlsym(library, kSkinEngineExport);
  if (address == nullptr) failToBind(lastLoadError());
  return EngineBinding{library, reinterpret_cast<skin_engine::AttachRes>(address)};
}

// Bound once, at the first use; never unloaded.
const EngineBinding& engine() {
  static const EngineBinding binding = bindEngine();
  return binding;
}

}  // namespace

void AttachSkin(int n) {
  EnsureSkinEngine();
  const ByteBlock skin = SkinBlock(n);
  static const char kNoPassword[] = "";
  engine().attachRes(reinterpret_cast<const unsigned char*>(skin.data()), static_cast<int>(skin.size()), kNoPassword,
                     0, 0, 0);
}

void* SkinEngineSymbol(const char* name) { return dlsym(engine().library, name); }

}  // namespace zedade
