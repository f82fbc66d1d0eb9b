// Where to change the literal width and bias and the index width: exact shortest paths over the
// literals and the explicit matches of a parse.
#pragma once

#include <cstdint>
#include <vector>

namespace mirravel::catpack {

// A literal state: width 7 with bias 0..255, or width 8 (bias 0).
inline constexpr std::uint16_t kWidth8State = 256;
inline constexpr std::uint16_t kLiteralStateCount = 257;

inline bool LiteralFits(std::uint16_t state, std::uint8_t byte) {
  return state == kWidth8State || static_cast<std::uint8_t>(byte - state) < 128;
}

// The state for each literal byte, in order, minimising literal bits plus width-change codes.
std::vector<std::uint16_t> ChooseLiteralStates(const std::vector<std::uint8_t>& literals);

// The index width for each explicit match offset, in order, minimising offset bits plus change codes.
std::vector<std::uint8_t> ChooseIndexWidths(const std::vector<std::uint32_t>& offsets);

}  // namespace mirravel::catpack
