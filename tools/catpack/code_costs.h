// The packed format's codes as the packer sees them: their kinds, limits and sizes in bits.
#pragma once

#include <cstdint>

namespace mirravel::catpack {

enum class CodeKind : std::uint8_t {
  kLiteral,
  kOneByteCopy,    // one byte from 1 to 14 bytes back
  kZeroByte,
  kShortMatch,     // 2 to 5 bytes from 1 to 127 bytes back
  kExplicitMatch,  // gamma-coded offset and length
  kRepeatMatch,    // the last offset again, gamma-coded length
  kRawBlock,       // 256 bytes stored as they are
};

inline constexpr std::uint32_t kMaxOneByteCopyOffset = 14;
inline constexpr std::uint32_t kMaxShortMatchOffset = 127;
inline constexpr std::uint32_t kMinShortMatchLength = 2;
inline constexpr std::uint32_t kMaxShortMatchLength = 5;
inline constexpr std::uint32_t kRawBlockBytes = 256;
inline constexpr std::uint32_t kInitialIndexWidth = 8;
inline constexpr std::uint32_t kMaxIndexWidth = 31;

inline constexpr std::uint32_t kShortCodeBits = 7;     // one-byte copy or zero byte
inline constexpr std::uint32_t kShortMatchBits = 12;
inline constexpr std::uint32_t kRawBlockBits = 8 + 8 * kRawBlockBytes + 1;
inline constexpr std::uint32_t kWidth8ChangeBits = 9;
inline constexpr std::uint32_t kWidth7ChangeBits = 17;

inline std::uint32_t GammaBits(std::uint32_t value) {
  return 2 * static_cast<std::uint32_t>(31 - __builtin_clz(value));
}

// Added by the decoder to an explicit match's gamma-coded length.
inline std::uint32_t LengthCorrection(std::uint32_t offset) {
  if (offset >= 0x10000) return 3;
  if (offset >= 0x37FF) return 2;
  if (offset >= 0x27F) return 1;
  if (offset >= 0x80) return 0;
  return 4;
}

inline bool ExplicitMatchFits(std::uint32_t offset, std::uint32_t length) {
  return length >= LengthCorrection(offset) + 2;
}

inline std::uint32_t ExplicitOffsetBits(std::uint32_t offset, std::uint32_t indexWidth) {
  return GammaBits((offset >> indexWidth) + 3) + indexWidth;
}

inline std::uint32_t ExplicitMatchBits(std::uint32_t offset, std::uint32_t length, std::uint32_t indexWidth) {
  return 2 + ExplicitOffsetBits(offset, indexWidth) + GammaBits(length - LengthCorrection(offset));
}

inline std::uint32_t RepeatMatchBits(std::uint32_t length) { return 4 + GammaBits(length); }

inline std::uint32_t IndexWidthChangeBits(std::uint32_t width) { return width < 16 ? 16 : 17; }

}  // namespace mirravel::catpack
