// Decoder of the packed "JC" block: one pass over the bit stream straight into the caller's buffer.
// The stream is trusted by nothing here: every read, offset and write is checked against the block,
// the bytes already produced and the destination, so a malformed block only ever yields 0.
#include "catalogue/unpack_block.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace mirravel {
namespace {

// The decoder's state lives in locals and small objects that never leave the decoding function once
// everything is inlined; otherwise every byte written could alias them and force reloads.
#define MIRRAVEL_HOT inline __attribute__((always_inline))

constexpr std::uint32_t kInitialIndexWidth = 8;
constexpr std::uint32_t kMaxIndexWidth = 31;
constexpr std::size_t kRawBlockSize = 256;

MIRRAVEL_HOT std::uint32_t LoadLittle32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Gathers the bits at even positions of x into its low half, keeping their order.
MIRRAVEL_HOT std::uint32_t GatherEvenBits(std::uint32_t x) {
  x &= 0x55555555u;
  x = (x | (x >> 1)) & 0x33333333u;
  x = (x | (x >> 2)) & 0x0F0F0F0Fu;
  x = (x | (x >> 4)) & 0x00FF00FFu;
  x = (x | (x >> 8)) & 0x0000FFFFu;
  return x;
}

// Gamma numbers of up to four bit pairs (values 2 to 31, nearly all of them in practice) decoded
// from the next 8 bits at once: the value, and the bits it takes (0 when it needs more pairs).
struct ShortGamma {
  std::uint8_t value;
  std::uint8_t bits;
};

constexpr std::array<ShortGamma, 256> MakeShortGammaTable() {
  std::array<ShortGamma, 256> table{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t value = 1;
    for (std::uint32_t pair = 0; pair < 4; ++pair) {
      const std::uint32_t bits = (byte >> (6 - 2 * pair)) & 3;
      value = 2 * value + (bits >> 1);
      if ((bits & 1) == 0) {
        table[byte] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(2 * pair + 2)};
        break;
      }
    }
  }
  return table;
}

constexpr std::array<ShortGamma, 256> kShortGammas = MakeShortGammaTable();

// Bits come from the most significant end of little-endian 32-bit words. The window keeps up to 64
// unread bits left-aligned. Past the block's end it is fed zero words, which it counts: zero bits
// always lead to the end code quickly, and consuming any of them marks the stream as malformed.
class BitReader {
 public:
  BitReader(const std::uint8_t* words, std::size_t wordCount) : words_(words), wordCount_(wordCount) {}

  // Afterwards at least 32 bits are available.
  MIRRAVEL_HOT void Refill() {
    if (available_ > 32) return;
    std::uint32_t word = 0;
    if (next_ < wordCount_) {
      word = LoadLittle32(words_ + 4 * next_);
      ++next_;
    } else {
      ++phantomWords_;
    }
    window_ |= static_cast<std::uint64_t>(word) << (32 - available_);
    available_ += 32;
  }

  // Takes 1 to 32 bits that are known to be available.
  MIRRAVEL_HOT std::uint32_t Take(std::uint32_t count) {
    const auto value = static_cast<std::uint32_t>(window_ >> (64 - count));
    window_ <<= count;
    available_ -= count;
    return value;
  }

  // Takes 0 to 32 bits that are known to be available.
  MIRRAVEL_HOT std::uint32_t TakeUpTo32(std::uint32_t count) { return count == 0 ? 0 : Take(count); }

  // Reads a gamma number (at least 2). False when it would not fit in 32 bits.
  MIRRAVEL_HOT bool ReadGamma(std::uint32_t& result) {
    Refill();
    const ShortGamma& shortGamma = kShortGammas[static_cast<std::size_t>(window_ >> 56)];
    if (shortGamma.bits != 0) {
      window_ <<= shortGamma.bits;
      available_ -= shortGamma.bits;
      result = shortGamma.value;
      return true;
    }
    const auto top = static_cast<std::uint32_t>(window_ >> 32);
    const std::uint32_t stops = ~top & 0x55555555u;  // continue bits that are 0
    if (stops != 0) {
      const auto pairs = static_cast<std::uint32_t>(__builtin_clz(stops) + 1) / 2;
      const std::uint32_t field = Take(2 * pairs);
      result = (1u << pairs) | GatherEvenBits(field >> 1);
      return true;
    }
    std::uint32_t value = 1;
    std::uint32_t pair = 0;
    do {
      Refill();
      if (value >= 0x80000000u) return false;
      pair = Take(2);
      value = 2 * value + (pair >> 1);
    } while ((pair & 1) != 0);
    result = value;
    return true;
  }

  // True when the decoder used bits beyond the block's last whole word.
  MIRRAVEL_HOT bool Overran() const { return static_cast<std::uint64_t>(phantomWords_) * 32 > available_; }

 private:
  const std::uint8_t* words_;
  std::size_t wordCount_;
  std::size_t next_ = 0;
  std::uint64_t window_ = 0;
  std::uint32_t available_ = 0;
  std::size_t phantomWords_ = 0;
};

// Added to an explicit match's length; short distances need a long match to pay for a gamma code.
MIRRAVEL_HOT std::uint32_t LengthCorrection(std::uint32_t offset) {
  if (offset >= 0x10000) return 3;
  if (offset >= 0x37FF) return 2;
  if (offset >= 0x27F) return 1;
  if (offset >= 0x80) return 0;
  return 4;
}

// Copies a non-overlapping span; small spans with two possibly overlapping word moves.
MIRRAVEL_HOT void CopySpan(std::uint8_t* to, const std::uint8_t* from, std::size_t count) {
  if (count >= 8 && count <= 16) {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + count - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + count - 8, &tail, 8);
  } else if (count >= 4 && count < 8) {
    std::uint32_t head = 0;
    std::uint32_t tail = 0;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + count - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + count - 4, &tail, 4);
  } else if (count < 4) {
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, count);
  }
}

class Decoder {
 public:
  Decoder(const std::uint8_t* stream, std::size_t streamSize, std::uint8_t* destination, std::size_t limit)
      : reader_(stream, streamSize / 4), start_(destination), out_(destination), end_(destination + limit) {}

  // Runs to the end code; false for any malformed stream. Written() is then the byte count.
  bool Run();
  std::size_t Written() const { return static_cast<std::size_t>(out_ - start_); }

 private:
  bool Copy(std::uint64_t offset, std::uint64_t length);
  bool GammaMatch();
  bool ShortCode();
  bool RawBlocks();
  bool ShortMatchOrControl(bool& ended);

  BitReader reader_;
  std::uint8_t* const start_;
  std::uint8_t* out_;
  std::uint8_t* const end_;
  std::uint32_t lastOffset_ = 1;
  std::uint32_t indexWidth_ = kInitialIndexWidth;
  std::uint32_t literalWidth_ = 0;  // 0 until the stream chooses one
  std::uint32_t literalBias_ = 0;
};

MIRRAVEL_HOT bool Decoder::Run() {
  for (;;) {
    reader_.Refill();
    if (reader_.Take(1) != 0) {
      if (literalWidth_ == 0 || out_ == end_) return false;
      *out_++ = static_cast<std::uint8_t>(reader_.Take(literalWidth_) + literalBias_);
      continue;
    }
    bool ok = true;
    if (reader_.Take(1) != 0) {
      ok = GammaMatch();
    } else if (reader_.Take(1) != 0) {
      ok = ShortCode();
    } else {
      bool ended = false;
      ok = ShortMatchOrControl(ended);
      if (ended) return !reader_.Overran();
    }
    if (!ok) return false;
  }
}

MIRRAVEL_HOT bool Decoder::Copy(std::uint64_t offset, std::uint64_t length) {
  const auto written = static_cast<std::uint64_t>(out_ - start_);
  const auto room = static_cast<std::uint64_t>(end_ - out_);
  if (offset == 0 || offset > written || length > room) return false;
  const auto distance = static_cast<std::size_t>(offset);
  const auto count = static_cast<std::size_t>(length);
  const std::uint8_t* from = out_ - distance;
  if (distance >= count) {
    CopySpan(out_, from, count);
  } else if (distance == 1) {
    std::memset(out_, *from, count);
  } else {
    // The copy repeats a pattern of `distance` bytes; each step doubles the span it can take from.
    std::size_t done = 0;
    while (done < count) {
      const std::size_t step = std::min(done + distance, count - done);
      std::memcpy(out_ + done, from, step);
      done += step;
    }
  }
  out_ += count;
  return true;
}

MIRRAVEL_HOT bool Decoder::GammaMatch() {
  std::uint32_t selector = 0;
  std::uint32_t length = 0;
  if (!reader_.ReadGamma(selector)) return false;
  if (selector == 2) {
    if (!reader_.ReadGamma(length)) return false;
    return Copy(lastOffset_, length);
  }
  reader_.Refill();
  const std::uint64_t offset =
      (static_cast<std::uint64_t>(selector - 3) << indexWidth_) | reader_.TakeUpTo32(indexWidth_);
  if (offset == 0 || offset > static_cast<std::uint64_t>(out_ - start_)) return false;
  lastOffset_ = static_cast<std::uint32_t>(offset);
  if (!reader_.ReadGamma(length)) return false;
  return Copy(offset, static_cast<std::uint64_t>(length) + LengthCorrection(lastOffset_));
}

MIRRAVEL_HOT bool Decoder::ShortCode() {
  const std::uint32_t value = reader_.Take(4);
  if (value >= 2) return Copy(value - 1, 1);
  if (value == 1) {
    if (out_ == end_) return false;
    *out_++ = 0;
    return true;
  }
  if (reader_.Take(1) != 0) return RawBlocks();
  if (reader_.Take(1) != 0) {
    literalWidth_ = 8;
    literalBias_ = 0;
  } else {
    literalWidth_ = 7;
    literalBias_ = reader_.Take(8);
  }
  return true;
}

MIRRAVEL_HOT bool Decoder::RawBlocks() {
  do {
    if (static_cast<std::size_t>(end_ - out_) < kRawBlockSize) return false;
    for (std::size_t i = 0; i < kRawBlockSize; i += 4) {
      reader_.Refill();
      const std::uint32_t word = reader_.Take(32);
      out_[i] = static_cast<std::uint8_t>(word >> 24);
      out_[i + 1] = static_cast<std::uint8_t>(word >> 16);
      out_[i + 2] = static_cast<std::uint8_t>(word >> 8);
      out_[i + 3] = static_cast<std::uint8_t>(word);
    }
    out_ += kRawBlockSize;
    if (reader_.Overran()) return false;
    reader_.Refill();
  } while (reader_.Take(1) != 0);
  return true;
}

MIRRAVEL_HOT bool Decoder::ShortMatchOrControl(bool& ended) {
  const std::uint32_t offset = reader_.Take(7);
  const std::uint32_t lengthCode = reader_.Take(2);
  if (offset != 0) {
    lastOffset_ = offset;
    return Copy(offset, lengthCode + 2);
  }
  if (lengthCode == 0) {
    ended = true;
    return true;
  }
  const std::uint32_t width = reader_.Take(lengthCode + 3);
  if (width > kMaxIndexWidth) return false;
  indexWidth_ = width;
  return true;
}

}  // namespace

std::int64_t PackedUnpackedSize(const std::uint8_t* block, std::size_t blockSize) {
  if (block == nullptr || blockSize < kPackedHeaderSize || block[0] != 'J' || block[1] != 'C') return -1;
  return LoadLittle32(block + 2);
}

std::int32_t UnpackBlock(const std::uint8_t* block, std::size_t blockSize, std::uint8_t* destination,
                         std::size_t capacity) {
  if (destination == nullptr) return 0;
  const std::int64_t headerSize = PackedUnpackedSize(block, blockSize);
  if (headerSize < 0) return 0;
  const std::uint32_t checksum = LoadLittle32(block + 6);
  const auto unpackedSize = static_cast<std::size_t>(headerSize);
  // The checksum covers the header's size of the destination, so that much must be ours to read.
  if (checksum != 0 && unpackedSize > capacity) return 0;
  const std::size_t limit = std::min({unpackedSize, capacity,
                                      static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())});
  Decoder decoder(block + kPackedHeaderSize, blockSize - kPackedHeaderSize, destination, limit);
  if (!decoder.Run()) return 0;
  // What the stream left unwritten reads as zero, so neither the checksum nor the caller ever sees the
  // destination's earlier content and callers need not clear it first.
  std::memset(destination + decoder.Written(), 0, limit - decoder.Written());
  if (checksum != 0 && BlockChecksum(destination, unpackedSize) != checksum) return 0;
  return static_cast<std::int32_t>(decoder.Written());
}

std::uint32_t BlockChecksum(const std::uint8_t* bytes, std::size_t size) {
  if (bytes == nullptr || size < 4) return 0;
  std::uint32_t sum = 0;
  const auto mix = [&sum](std::uint32_t word) {
    const std::uint32_t rotated = (word << 1) | (word >> 31);
    sum = (sum + word) ^ (rotated + 1);
  };
  std::size_t offset = 0;
  for (; offset + 4 <= size; offset += 4) mix(LoadLittle32(bytes + offset));
  if (offset < size) mix(LoadLittle32(bytes + size - 4));
  return sum;
}

}  // namespace mirravel

#undef MIRRAVEL_HOT
