// Match finding for the packer: nearest-first hash chains, verified byte by byte.
#include "tools/catpack/match_finder.h"

#include <cstring>

namespace mirravel::catpack {
namespace {

constexpr std::uint32_t kMinHashBits = 10;
constexpr std::uint32_t kMaxHashBits = 17;

// About one chain head per input position, so small inputs do not pay for a large table.
std::uint32_t HashBitsFor(std::size_t size) {
  std::uint32_t bits = kMinHashBits;
  while (bits < kMaxHashBits && (std::size_t{1} << bits) < size) ++bits;
  return bits;
}

}  // namespace

MatchFinder::MatchFinder(const std::uint8_t* data, std::size_t size, std::uint32_t chainDepth,
                         std::uint32_t niceLength)
    : data_(data),
      size_(size),
      chainDepth_(chainDepth),
      niceLength_(niceLength),
      hashBits_(HashBitsFor(size)),
      lastPair_(std::size_t{1} << 16, -1),
      head_(std::size_t{1} << hashBits_, -1),
      previous_(size, -1) {}

std::uint32_t MatchFinder::Hash3(std::size_t position) const {
  const std::uint32_t value = static_cast<std::uint32_t>(data_[position]) |
                              static_cast<std::uint32_t>(data_[position + 1]) << 8 |
                              static_cast<std::uint32_t>(data_[position + 2]) << 16;
  return (value * 2654435761u) >> (32 - hashBits_);
}

std::int32_t MatchFinder::InsertPair(std::size_t position) {
  if (position + 1 >= size_) return -1;
  const std::size_t pair = data_[position] | static_cast<std::size_t>(data_[position + 1]) << 8;
  const std::int32_t earlier = lastPair_[pair];
  lastPair_[pair] = static_cast<std::int32_t>(position);
  return earlier;
}

std::int32_t MatchFinder::InsertTriple(std::size_t position) {
  if (position + 2 >= size_) return -1;
  const std::uint32_t hash = Hash3(position);
  const std::int32_t earlier = head_[hash];
  previous_[position] = earlier;
  head_[hash] = static_cast<std::int32_t>(position);
  return earlier;
}

void MatchFinder::Skip(std::size_t position) {
  InsertPair(position);
  InsertTriple(position);
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

const std::vector<MatchCandidate>& MatchFinder::Find(std::size_t position) {
  found_.clear();
  std::uint32_t best = 1;
  const std::int32_t pairAt = InsertPair(position);
  if (pairAt >= 0) {
    const auto offset = static_cast<std::uint32_t>(position - static_cast<std::size_t>(pairAt));
    best = MatchLength(position, offset);
    found_.push_back({offset, best});
  }
  std::int32_t candidate = InsertTriple(position);
  const std::size_t limit = size_ - position;
  for (std::uint32_t depth = 0; candidate >= 0 && depth < chainDepth_ && best < niceLength_; ++depth) {
    const auto at = static_cast<std::size_t>(candidate);
    candidate = previous_[at];
    // Nothing nearer than the last pair occurrence can match two bytes; skip it and hash collisions.
    if (at >= static_cast<std::size_t>(pairAt) && pairAt >= 0) continue;
    if (best >= limit) break;
    if (data_[at + best] != data_[position + best]) continue;
    const auto offset = static_cast<std::uint32_t>(position - at);
    const std::uint32_t length = MatchLength(position, offset);
    if (length > best) {
      best = length;
      found_.push_back({offset, length});
    }
  }
  return found_;
}

}  // namespace mirravel::catpack
