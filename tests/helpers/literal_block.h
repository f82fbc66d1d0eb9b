// Builds a valid packed block out of 8-bit literals only: enough to feed the loader known text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "catalogue/unpack_block.h"

namespace mirravel::testing {

class BitWriter {
 public:
  void Write(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      current_ = (current_ << 1) | ((value >> i) & 1u);
      if (++used_ == 32) Flush();
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (used_ > 0) {
      current_ <<= (32 - used_);
      Flush();
    }
    return bytes_;
  }

 private:
  void Flush() {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(current_ >> (8 * i)));
    current_ = 0;
    used_ = 0;
  }
  std::vector<std::uint8_t> bytes_;
  std::uint32_t current_ = 0;
  int used_ = 0;
};

// A block whose header states sizeField (the text's length unless given) and the text's checksum.
inline std::vector<std::uint8_t> LiteralBlock(std::string_view text, std::int64_t sizeField = -1) {
  const auto size = static_cast<std::uint32_t>(sizeField < 0 ? static_cast<std::int64_t>(text.size()) : sizeField);
  const std::uint32_t checksum = BlockChecksum(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  std::vector<std::uint8_t> block = {'J', 'C'};
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(checksum >> (8 * i)));
  BitWriter bits;
  bits.Write(0b001, 3);  // short code
  bits.Write(0, 4);      // v = 0
  bits.Write(0, 1);      // literal-width change
  bits.Write(1, 1);      // width 8, bias 0
  for (const char c : text) {
    bits.Write(1, 1);
    bits.Write(static_cast<std::uint8_t>(c), 8);
  }
  bits.Write(0, 3 + 7 + 2);  // end code
  const auto stream = bits.Finish();
  block.insert(block.end(), stream.begin(), stream.end());
  return block;
}

}  // namespace mirravel::testing
