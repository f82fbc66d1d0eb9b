// Both schedules are the same dynamic program: per item, each state either keeps the previous one
// or switches from the cheapest previous state at the price of a change code. Only the switch
// decisions are stored, so walking back needs one bit per state and item.
#include "tools/catpack/code_schedule.h"

#include <algorithm>
#include <limits>

#include "tools/catpack/code_costs.h"

namespace mirravel::catpack {
namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max() / 4;

// costOf(item, state) gives the item's bits in a state (kNever when impossible); changeBits(state)
// the price of switching to it. startState is in force before the first item, or none when it is
// at least stateCount. Returns the state of every item.
template <typename ItemCost, typename ChangeCost>
std::vector<std::uint16_t> CheapestStates(std::size_t itemCount, std::size_t stateCount, std::size_t startState,
                                          ItemCost costOf, ChangeCost changeBits) {
  std::vector<std::uint16_t> states(itemCount);
  if (itemCount == 0) return states;
  const std::size_t wordsPerItem = (stateCount + 63) / 64;
  std::vector<std::uint64_t> switched(itemCount * wordsPerItem, 0);
  std::vector<std::uint16_t> cheapestBefore(itemCount);
  std::vector<std::uint64_t> best(stateCount, kNever);
  if (startState < stateCount) best[startState] = 0;
  std::uint64_t previousMin = startState < stateCount ? 0 : kNever;
  std::size_t previousArgMin = startState;
  for (std::size_t item = 0; item < itemCount; ++item) {
    std::uint64_t* itemSwitched = &switched[item * wordsPerItem];
    const std::uint64_t switchBase = previousMin == kNever ? 0 : previousMin;
    cheapestBefore[item] = static_cast<std::uint16_t>(previousArgMin);
    std::uint64_t newMin = kNever;
    std::size_t newArgMin = 0;
    for (std::size_t state = 0; state < stateCount; ++state) {
      const std::uint64_t bits = costOf(item, state);
      if (bits >= kNever) {
        best[state] = kNever;
        continue;
      }
      std::uint64_t arrive = best[state];
      const std::uint64_t viaSwitch = switchBase + changeBits(state);
      if (viaSwitch < arrive) {
        arrive = viaSwitch;
        itemSwitched[state / 64] |= std::uint64_t{1} << (state % 64);
      }
      best[state] = arrive + bits;
      if (best[state] < newMin) {
        newMin = best[state];
        newArgMin = state;
      }
    }
    previousMin = newMin;
    previousArgMin = newArgMin;
  }
  std::size_t state = previousArgMin;
  for (std::size_t item = itemCount; item-- > 0;) {
    states[item] = static_cast<std::uint16_t>(state);
    if ((switched[item * wordsPerItem + state / 64] >> (state % 64)) & 1) state = cheapestBefore[item];
  }
  return states;
}

}  // namespace

std::vector<std::uint16_t> ChooseLiteralStates(const std::vector<std::uint8_t>& literals) {
  const auto costOf = [&literals](std::size_t item, std::size_t state) -> std::uint64_t {
    const auto literalState = static_cast<std::uint16_t>(state);
    if (!LiteralFits(literalState, literals[item])) return kNever;
    return literalState == kWidth8State ? 9 : 8;
  };
  const auto changeBits = [](std::size_t state) -> std::uint64_t {
    return state == kWidth8State ? kWidth8ChangeBits : kWidth7ChangeBits;
  };
  return CheapestStates(literals.size(), kLiteralStateCount, kLiteralStateCount, costOf, changeBits);
}

std::vector<std::uint8_t> ChooseIndexWidths(const std::vector<std::uint32_t>& offsets) {
  const auto costOf = [&offsets](std::size_t item, std::size_t width) -> std::uint64_t {
    return ExplicitOffsetBits(offsets[item], static_cast<std::uint32_t>(width));
  };
  const auto changeBits = [](std::size_t width) -> std::uint64_t {
    return IndexWidthChangeBits(static_cast<std::uint32_t>(width));
  };
  const std::vector<std::uint16_t> states =
      CheapestStates(offsets.size(), kMaxIndexWidth + 1, kInitialIndexWidth, costOf, changeBits);
  std::vector<std::uint8_t> widths(states.size());
  std::transform(states.begin(), states.end(), widths.begin(),
                 [](std::uint16_t width) { return static_cast<std::uint8_t>(width); });
  return widths;
}

}  // namespace mirravel::catpack
