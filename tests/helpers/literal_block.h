// Builds a valid packed block out of 8-bit literals only: enough to feed the loader known text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "catalogue/unpack_block.h"
#include "tools/catpack/bit_writer.h"

namespace mirravel::testing {

// A block whose header states sizeField (the text's length unless given) and the text's checksum.
inline std::vector<std::uint8_t> LiteralBlock(std::string_view text, std::int64_t sizeField = -1) {
  const auto size = static_cast<std::uint32_t>(sizeField < 0 ? static_cast<std::int64_t>(text.size()) : sizeField);
  const std::uint32_t checksum = BlockChecksum(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  std::vector<std::uint8_t> block = {'J', 'C'};
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(checksum >> (8 * i)));
  catpack::BitWriter bits;
  bits.Put(0b001, 3);  // short code
  bits.Put(0, 4);      // v = 0
  bits.Put(0, 1);      // literal-width change
  bits.Put(1, 1);      // width 8, bias 0
  for (const char c : text) {
    bits.Put(1, 1);
    bits.Put(static_cast<std::uint8_t>(c), 8);
  }
  bits.Put(0, 3 + 7 + 2);  // end code
  const auto stream = bits.Finish();
  block.insert(block.end(), stream.begin(), stream.end());
  return block;
}

}  // namespace mirravel::testing
