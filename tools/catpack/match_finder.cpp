// Match finding for the packer: the binary-tree search of LZ compressors, verified byte by byte.
#include "tools/catpack/match_finder.h"

#include <algorithm>
#include <cstring>

namespace mirravel::catpack {
namespace {

constexpr std::uint32_t kMinHashBits = 10;
constexpr std::uint32_t kMaxHashBits = 17;
constexpr std::int32_t kNone = -1;

// About one tree root per input position, so small inputs do not pay for a large table.
std::uint32_t HashBitsFor(std::size_t size) {
  std::uint32_t bits = kMinHashBits;
  while (bits < kMaxHashBits && (std::size_t{1} << bits) < size) ++bits;
  return bits;
}

}  // namespace

MatchFinder::MatchFinder(const std::uint8_t* data, std::size_t size, std::uint32_t searchDepth,
                         std::uint32_t niceLength)
    : data_(data),
      size_(size),
      searchDepth_(searchDepth),
      niceLength_(niceLength),
      hashBits_(HashBitsFor(size)),
      lastPair_(std::size_t{1} << 16, kNone),
      root_(std::size_t{1} << hashBits_, kNone),
      children_(2 * size, kNone) {}

std::uint32_t MatchFinder::Hash3(std::size_t position) const {
  const std::uint32_t value = static_cast<std::uint32_t>(data_[position]) |
                              static_cast<std::uint32_t>(data_[position + 1]) << 8 |
                              static_cast<std::uint32_t>(data_[position + 2]) << 16;
  return (value * 2654435761u) >> (32 - hashBits_);
}

std::int32_t MatchFinder::InsertPair(std::size_t position) {
  if (position + 1 >= size_) return kNone;
  const std::size_t pair = data_[position] | static_cast<std::size_t>(data_[position + 1]) << 8;
  const std::int32_t earlier = lastPair_[pair];
  lastPair_[pair] = static_cast<std::int32_t>(position);
  return earlier;
}

std::uint32_t MatchFinder::MatchLength(std::size_t position, std::uint32_t offset) const {
  const std::uint8_t* a = data_ + position;
  const std::uint8_t* b = a - offset;
  const std::size_t limit = size_ - position;
  std::size_t length = 0;
  while (length + 8 <= limit) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a + length, 8);
    std::memcpy(&y, b + length, 8);
    if (x != y) return static_cast<std::uint32_t>(length + static_cast<std::size_t>(__builtin_ctzll(x ^ y) / 8));
    length += 8;
  }
  while (length < limit && a[length] == b[length]) ++length;
  return static_cast<std::uint32_t>(length);
}

void MatchFinder::InsertIntoTree(std::size_t position, std::uint32_t best, std::vector<MatchCandidate>* found) {
  // Near the end there is no 3-byte hash; those last positions are never matched against again.
  if (position + 3 > size_) return;
  const auto limit = static_cast<std::uint32_t>(std::min<std::size_t>(niceLength_, size_ - position));
  std::int32_t& rootSlot = root_[Hash3(position)];
  std::int32_t candidate = rootSlot;
  rootSlot = static_cast<std::int32_t>(position);
  // The new node's smaller and larger subtrees are filled in as the walk splits the old tree.
  std::int32_t* smallerSlot = &children_[2 * position];
  std::int32_t* largerSlot = &children_[2 * position + 1];
  std::uint32_t smallerLength = 0;  // common prefix with everything on the smaller side
  std::uint32_t largerLength = 0;
  const std::uint8_t* current = data_ + position;
  for (std::uint32_t depth = 0;; ++depth) {
    if (candidate == kNone || depth >= searchDepth_) {
      *smallerSlot = kNone;
      *largerSlot = kNone;
      return;
    }
    const auto at = static_cast<std::size_t>(candidate);
    const std::uint8_t* earlier = data_ + at;
    std::uint32_t length = std::min(smallerLength, largerLength);
    while (length < limit && earlier[length] == current[length]) ++length;
    std::int32_t* pair = &children_[2 * at];
    if (length > best) {
      best = length;
      if (found != nullptr) {
        const auto offset = static_cast<std::uint32_t>(position - at);
        found->push_back({offset, length == limit ? MatchLength(position, offset) : length});
      }
    }
    if (length == limit) {  // the old node is no longer needed: the new one takes its subtrees
      *smallerSlot = pair[0];
      *largerSlot = pair[1];
      return;
    }
    if (earlier[length] < current[length]) {
      *smallerSlot = candidate;
      smallerSlot = &pair[1];
      candidate = *smallerSlot;
      smallerLength = length;
    } else {
      *largerSlot = candidate;
      largerSlot = &pair[0];
      candidate = *largerSlot;
      largerLength = length;
    }
  }
}

void MatchFinder::Skip(std::size_t position) {
  InsertPair(position);
  InsertIntoTree(position, ~std::uint32_t{0}, nullptr);
}

const std::vector<MatchCandidate>& MatchFinder::Find(std::size_t position) {
  found_.clear();
  std::uint32_t best = 1;
  const std::int32_t pairAt = InsertPair(position);
  if (pairAt != kNone) {
    const auto offset = static_cast<std::uint32_t>(position - static_cast<std::size_t>(pairAt));
    best = MatchLength(position, offset);
    found_.push_back({offset, best});
  }
  // The pair match may already be the longest; the tree still has to take this position.
  InsertIntoTree(position, best, &found_);
  return found_;
}

}  // namespace mirravel::catpack
