#pragma once

namespace zedade {

// Dresses every window of the program in skin n (1..33; the program uses 31): makes sure the engine
// file is in place, hands the engine a fresh copy of the skin and releases the copy. The engine's
// result is not looked at. UI thread only.
//
// The first call binds the engine's export by name: from the engine file in its folder, or else
// through the ordinary library search. The library stays loaded until the program ends. A library
// that cannot be loaded, or one without the export, is a fatal error (exit code -1).
void AttachSkin(int n);

// An export of the bound engine library by name (binding it as AttachSkin does, when not yet bound),
// or null when the library has no such export. For tests that ask the engine what it received.
void* SkinEngineSymbol(const char* name);

}  // namespace zedade
