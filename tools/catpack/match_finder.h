// Finds, for each position in order, the nearest earlier occurrence of every match length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirravel::catpack {

struct MatchCandidate {
  std::uint32_t offset;
  std::uint32_t length;
};

// Hash chains over 3-byte prefixes plus an exact table of the last position of every byte pair.
// Candidates come out with growing offsets and strictly growing lengths, so each length's entry is the
// smallest offset found for it. Every position must be visited once, in order, by Find or Skip.
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* data, std::size_t size, std::uint32_t chainDepth, std::uint32_t niceLength);

  // Candidates at position; stops searching once a match reaches the nice length.
  const std::vector<MatchCandidate>& Find(std::size_t position);
  void Skip(std::size_t position);

  // Length of the match between position and position - offset (offset >= 1, <= position).
  std::uint32_t MatchLength(std::size_t position, std::uint32_t offset) const;

 private:
  std::uint32_t Hash3(std::size_t position) const;
  std::int32_t InsertPair(std::size_t position);
  std::int32_t InsertTriple(std::size_t position);

  const std::uint8_t* data_;
  std::size_t size_;
  std::uint32_t chainDepth_;
  std::uint32_t niceLength_;
  std::uint32_t hashBits_;
  std::vector<std::int32_t> lastPair_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> previous_;
  std::vector<MatchCandidate> found_;
};

}  // namespace mirravel::catpack
