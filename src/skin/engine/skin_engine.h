#pragma once

// The skin engine's exported interface. The program binds SkinH_AttachRes by name at run time
// (dlsym); the two other exports let tests see what the engine was given.
//
// The engine applies a skin to every window of the process through the running QApplication, so it
// must be called on the application's thread. It copies what it needs: the caller may release the
// skin bytes as soon as the call returns.

#define SKINH_EXPORT __attribute__((visibility("default")))

extern "C" {

// Applies the skin given as `size` bytes at `skin`. Skins are not encrypted: the password (null or
// any text) is accepted and ignored, as are the three reserved integers. Returns 0 when the skin
// was applied, otherwise one of the negative codes below, and then nothing has changed.
SKINH_EXPORT int SkinH_AttachRes(const unsigned char* skin, int size, const char* password, int reserved1,
                                 int reserved2, int reserved3);

// How many skins have been applied since the engine was loaded.
SKINH_EXPORT int SkinH_AttachCount(void);

// Copies up to `capacity` bytes of the last applied skin, as it was passed, into `buffer` (which
// may be null when `capacity` is 0) and returns that skin's full size; 0 before the first skin.
SKINH_EXPORT int SkinH_LastApplied(unsigned char* buffer, int capacity);

}  // extern "C"

namespace zedade::skin_engine {

using AttachRes = int (*)(const unsigned char*, int, const char*, int, int, int);
using AttachCount = int (*)();
using LastApplied = int (*)(unsigned char*, int);

constexpr int kOk = 0;
constexpr int kErrorArgument = -1;       // no bytes, or a negative count
constexpr int kErrorNoApplication = -2;  // no QApplication in the process
constexpr int kErrorThread = -3;         // called off the application's thread
constexpr int kErrorFormat = -4;         // not a skin: wrong magic, malformed header, trailing bytes
constexpr int kErrorVersion = -5;        // a skin of a format version this engine does not read
constexpr int kErrorTruncated = -6;      // fewer bytes than the header announces
constexpr int kErrorChecksum = -7;       // the body does not match its checksum
constexpr int kErrorContent = -8;        // a bad palette line, or text that is not UTF-8
constexpr int kErrorInternal = -9;       // out of memory or another failure inside the engine

}  // namespace zedade::skin_engine
