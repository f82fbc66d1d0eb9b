// Writes the packed stream: bits from the most significant end of little-endian 32-bit words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirravel::catpack {

class BitWriter {
 public:
  // Appends the low `count` bits of value (0 to 32), most significant first.
  void Put(std::uint32_t value, std::uint32_t count) {
    if (count == 0) return;
    pending_ = (pending_ << count) | (value & Mask(count));
    pendingBits_ += count;
    if (pendingBits_ >= 32) {
      pendingBits_ -= 32;
      PutWord(static_cast<std::uint32_t>(pending_ >> pendingBits_));
      pending_ &= Mask(pendingBits_);
    }
  }

  // A gamma number (at least 2): the bits after its leading 1, each followed by a continue bit.
  void PutGamma(std::uint32_t value) {
    const auto top = static_cast<std::uint32_t>(31 - __builtin_clz(value));
    for (std::uint32_t i = top; i-- > 0;) Put(((value >> i) & 1) << 1 | (i > 0 ? 1 : 0), 2);
  }

  std::size_t BitCount() const { return 8 * bytes_.size() + pendingBits_; }

  // The stream so far, its last word padded with zero bits.
  std::vector<std::uint8_t> Finish() const {
    std::vector<std::uint8_t> result = bytes_;
    if (pendingBits_ > 0) {
      const auto word = static_cast<std::uint32_t>(pending_ << (32 - pendingBits_));
      for (int i = 0; i < 4; ++i) result.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
    return result;
  }

 private:
  static std::uint64_t Mask(std::uint32_t count) { return (std::uint64_t{1} << count) - 1; }
  void PutWord(std::uint32_t word) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
  }

  std::vector<std::uint8_t> bytes_;
  std::uint64_t pending_ = 0;
  std::uint32_t pendingBits_ = 0;
};

}  // namespace mirravel::catpack
