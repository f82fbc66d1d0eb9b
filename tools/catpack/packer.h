// Packs bytes into a "JC" block that UnpackBlock reads back exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirravel::catpack {

// Inputs larger than this are refused: packing keeps about 30 bytes of state per input byte.
inline constexpr std::size_t kMaxPackInput = std::size_t{16} << 20;

// How often each code kind was used, for reports and tests.
struct PackStats {
  std::size_t literals = 0;
  std::size_t explicitMatches = 0;
  std::size_t repeatMatches = 0;
  std::size_t shortMatches = 0;
  std::size_t oneByteCopies = 0;
  std::size_t zeroBytes = 0;
  std::size_t rawBlocks = 0;
  std::size_t literalWidthChanges = 0;
  std::size_t indexWidthChanges = 0;
};

// Writes the whole block (header with size and checksum, then the stream) into block.
// False, with block left empty, when the input is larger than kMaxPackInput.
bool PackBlock(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& block,
               PackStats* stats = nullptr);

}  // namespace mirravel::catpack
