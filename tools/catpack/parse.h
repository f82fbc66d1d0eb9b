// Cost-driven parse: the cheapest sequence of codes (in bits) that produces the input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/catpack/code_costs.h"

namespace mirravel::catpack {

struct Code {
  CodeKind kind;
  std::uint32_t length;  // bytes produced
  std::uint32_t offset;  // for copies
};

struct ParseSettings {
  std::uint32_t searchDepth = 48;
  std::uint32_t niceLength = 96;  // a match this long is taken whole without weighing the others
};

// Bits assumed for a literal of each byte value (prefix included); the real widths are chosen later.
using LiteralBitsTable = std::array<std::uint8_t, 256>;

// Shortest path over the positions of the input, with the last offset carried along the best path
// to each position (the usual approximation for repeated offsets). indexWidthAt holds the index
// width assumed for an explicit match starting at each position.
std::vector<Code> ParseCheapest(const std::uint8_t* data, std::size_t size, const std::vector<std::uint8_t>& indexWidthAt,
                                const LiteralBitsTable& literalBits, const ParseSettings& settings);

}  // namespace mirravel::catpack
