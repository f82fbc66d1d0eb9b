// The parse is a single forward pass: each reachable position offers every code that can start there
// to the positions it reaches, keeping the cheapest arrival; walking the arrivals back from the end
// gives the codes. Very long matches are taken whole, which keeps runs and repeats linear.
#include "tools/catpack/parse.h"

#include <algorithm>
#include <limits>

#include "tools/catpack/match_finder.h"

namespace mirravel::catpack {
namespace {

constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();

class Parser {
 public:
  Parser(const std::uint8_t* data, std::size_t size, const std::vector<std::uint8_t>& indexWidthAt,
         const LiteralBitsTable& literalBits, const ParseSettings& settings)
      : data_(data),
        size_(size),
        indexWidthAt_(indexWidthAt),
        literalBits_(literalBits),
        niceLength_(settings.niceLength),
        finder_(data, size, settings.searchDepth, settings.niceLength),
        cost_(size + 1, kUnreached),
        arrival_(size + 1, Code{CodeKind::kLiteral, 1, 0}),
        lastOffset_(size + 1, 1) {
    cost_[0] = 0;
  }

  std::vector<Code> Run();

 private:
  void Offer(std::size_t to, std::uint32_t bits, Code code, std::uint32_t lastOffset) {
    if (bits < cost_[to]) {
      cost_[to] = bits;
      arrival_[to] = code;
      lastOffset_[to] = lastOffset;
    }
  }
  void OfferSingleBytes(std::size_t at);
  void OfferMatches(std::size_t at, std::uint32_t repeatLength, const std::vector<MatchCandidate>& found);
  std::size_t TakeLongMatch(std::size_t at, std::uint32_t repeatLength, const MatchCandidate* longest);

  const std::uint8_t* data_;
  std::size_t size_;
  const std::vector<std::uint8_t>& indexWidthAt_;
  const LiteralBitsTable& literalBits_;
  std::uint32_t niceLength_;
  MatchFinder finder_;
  std::vector<std::uint32_t> cost_;
  std::vector<Code> arrival_;
  std::vector<std::uint32_t> lastOffset_;
};

void Parser::OfferSingleBytes(std::size_t at) {
  const std::uint32_t here = cost_[at];
  const std::uint32_t last = lastOffset_[at];
  const std::uint8_t byte = data_[at];
  Offer(at + 1, here + literalBits_[byte], {CodeKind::kLiteral, 1, 0}, last);
  if (byte == 0) {
    Offer(at + 1, here + kShortCodeBits, {CodeKind::kZeroByte, 1, 0}, last);
  } else {
    const auto reach = static_cast<std::uint32_t>(std::min<std::size_t>(at, kMaxOneByteCopyOffset));
    for (std::uint32_t offset = 1; offset <= reach; ++offset) {
      if (data_[at - offset] == byte) {
        Offer(at + 1, here + kShortCodeBits, {CodeKind::kOneByteCopy, 1, offset}, last);
        break;
      }
    }
  }
  if (size_ - at >= kRawBlockBytes) {
    Offer(at + kRawBlockBytes, here + kRawBlockBits, {CodeKind::kRawBlock, kRawBlockBytes, 0}, last);
  }
}

void Parser::OfferMatches(std::size_t at, std::uint32_t repeatLength, const std::vector<MatchCandidate>& found) {
  const std::uint32_t here = cost_[at];
  const std::uint32_t last = lastOffset_[at];
  for (std::uint32_t length = 2; length <= repeatLength; ++length) {
    Offer(at + length, here + RepeatMatchBits(length), {CodeKind::kRepeatMatch, length, last}, last);
  }
  const std::uint32_t indexWidth = indexWidthAt_[at];
  std::uint32_t length = 2;
  for (const MatchCandidate& candidate : found) {
    const std::uint32_t offset = candidate.offset;
    for (; length <= candidate.length; ++length) {
      if (offset <= kMaxShortMatchOffset && length <= kMaxShortMatchLength) {
        Offer(at + length, here + kShortMatchBits, {CodeKind::kShortMatch, length, offset}, offset);
      } else if (ExplicitMatchFits(offset, length)) {
        Offer(at + length, here + ExplicitMatchBits(offset, length, indexWidth),
              {CodeKind::kExplicitMatch, length, offset}, offset);
      }
    }
  }
}

// Offers only the longest match and returns the position where the parse goes on.
std::size_t Parser::TakeLongMatch(std::size_t at, std::uint32_t repeatLength, const MatchCandidate* longest) {
  const std::uint32_t here = cost_[at];
  const std::uint32_t last = lastOffset_[at];
  std::uint32_t length = repeatLength;
  if (longest != nullptr && longest->length > repeatLength) {
    length = longest->length;
    Offer(at + length, here + ExplicitMatchBits(longest->offset, length, indexWidthAt_[at]),
          {CodeKind::kExplicitMatch, length, longest->offset}, longest->offset);
  } else {
    Offer(at + length, here + RepeatMatchBits(length), {CodeKind::kRepeatMatch, length, last}, last);
  }
  for (std::size_t skipped = at + 1; skipped < at + length; ++skipped) finder_.Skip(skipped);
  return at + length;
}

std::vector<Code> Parser::Run() {
  std::size_t at = 0;
  while (at < size_) {
    if (cost_[at] == kUnreached) {  // inside a long match taken whole
      finder_.Skip(at++);
      continue;
    }
    OfferSingleBytes(at);
    const std::uint32_t last = lastOffset_[at];
    const std::uint32_t repeatLength = last <= at ? finder_.MatchLength(at, last) : 0;
    const std::vector<MatchCandidate>& found = finder_.Find(at);
    const MatchCandidate* longest = found.empty() ? nullptr : &found.back();
    if (repeatLength >= niceLength_ || (longest != nullptr && longest->length >= niceLength_)) {
      at = TakeLongMatch(at, repeatLength, longest);
      continue;
    }
    OfferMatches(at, repeatLength, found);
    ++at;
  }
  std::vector<Code> codes;
  for (std::size_t position = size_; position > 0; position -= arrival_[position].length) {
    codes.push_back(arrival_[position]);
  }
  std::reverse(codes.begin(), codes.end());
  return codes;
}

}  // namespace

std::vector<Code> ParseCheapest(const std::uint8_t* data, std::size_t size, const std::vector<std::uint8_t>& indexWidthAt,
                                const LiteralBitsTable& literalBits, const ParseSettings& settings) {
  Parser parser(data, size, indexWidthAt, literalBits, settings);
  return parser.Run();
}

}  // namespace mirravel::catpack
