#include "skin/skin_data.h"

#include "skin/embedded_data.h"

namespace zedade {

static_assert(kSkinCount == embedded::kSkinCount);

namespace {

ByteBlock blockOf(std::span<const unsigned char> bytes) {
  return ByteBlock(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

std::span<const unsigned char> SkinEngineImage() { return embedded::kEngineImage; }

std::span<const unsigned char> SkinBytes(int n) {
  if (n < 1 || n > kSkinCount) return {};
  return embedded::kSkins[n - 1];
}

ByteBlock SkinEngineImageBlock() { return blockOf(SkinEngineImage()); }

ByteBlock SkinBlock(int n) { return blockOf(SkinBytes(n)); }

}  // namespace zedade
