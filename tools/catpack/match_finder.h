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

// Binary trees of earlier positions, one per 3-byte hash, newest at the root and ordered by the bytes
// that follow, plus an exact table of the last position of every byte pair. Walking a tree meets older
// positions with ever longer common prefixes, so candidates come out with growing offsets and strictly
// growing lengths: each length's entry is the smallest offset found for it. Every position must be
// visited once, in order, by Find or Skip.
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* data, std::size_t size, std::uint32_t searchDepth, std::uint32_t niceLength);

  // Candidates at position. A candidate of the nice length or more has its full length.
  const std::vector<MatchCandidate>& Find(std::size_t position);
  void Skip(std::size_t position);

  // Length of the match between position and position - offset (offset >= 1, <= position).
  std::uint32_t MatchLength(std::size_t position, std::uint32_t offset) const;

 private:
  std::uint32_t Hash3(std::size_t position) const;
  std::int32_t InsertPair(std::size_t position);
  // Puts position at the root of its tree; reports matches longer than `best` when found is non-null.
  void InsertIntoTree(std::size_t position, std::uint32_t best, std::vector<MatchCandidate>* found);

  const std::uint8_t* data_;
  std::size_t size_;
  std::uint32_t searchDepth_;
  std::uint32_t niceLength_;
  std::uint32_t hashBits_;
  std::vector<std::int32_t> lastPair_;
  std::vector<std::int32_t> root_;
  std::vector<std::int32_t> children_;  // smaller and larger subtree of each position
  std::vector<MatchCandidate> found_;
};

}  // namespace mirravel::catpack
