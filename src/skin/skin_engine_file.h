#pragma once

#include <string>

namespace zedade {

// The engine library's file name and the export the program calls.
inline constexpr char kSkinEngineFileName[] = "SkinH_EL.dll";
inline constexpr char kSkinEngineExport[] = "SkinH_AttachRes";

// The folder where the engine lives: the executable's folder unless a test has set another.
std::string SkinEngineFolder();
// Sets that folder; an empty folder restores the executable's. For tests; UI thread only.
void SetSkinEngineFolder(const std::string& folder);

// The engine's path, built afresh from the folder on every call.
std::string SkinEnginePath();

// Makes sure the engine file lies in its folder. Anything already there under its name, a file of
// any content or a folder, is left untouched and used as found. Otherwise the carried image is
// written and the file hidden. Failures are not reported: the binding finds out.
void EnsureSkinEngine();

}  // namespace zedade
