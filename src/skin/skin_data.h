#pragma once

#include <span>

#include "platform/text.h"

namespace zedade {

// The skins the program carries are numbered 1 to kSkinCount; it wears kProgramSkin.
constexpr int kSkinCount = 33;
constexpr int kProgramSkin = 31;

// The skin engine's file image, byte for byte the engine library this build produced.
std::span<const unsigned char> SkinEngineImage();

// The bytes of skin n, or an empty span for a number outside 1..kSkinCount.
std::span<const unsigned char> SkinBytes(int n);

// Fresh copies of the same bytes.
ByteBlock SkinEngineImageBlock();
ByteBlock SkinBlock(int n);

}  // namespace zedade
