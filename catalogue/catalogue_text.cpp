// The catalogue text model: one copy of the text with single-character line breaks, a line index,
// the selection, and a case-insensitive scan that runs close to memory speed.
#include "catalogue/catalogue_text.h"

#include <algorithm>
#include <cstring>

#include "support/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mirravel {

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void CatalogueText::Assign(std::string_view sourceText) {
  // Two passes so the text is allocated once at its final size: while loading, the unpacked buffer and
  // this copy are the only two copies that ever exist.
  constexpr std::size_t kMaxLength = 0x7FFFFFF0;  // positions are signed 32-bit; longer text is cut
  std::size_t length = 0;
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < sourceText.size() && length < kMaxLength; ++i, ++length) {
    if (sourceText[i] == '\r' && i + 1 < sourceText.size() && sourceText[i + 1] == '\n') ++i;
    if (sourceText[i] == '\r' || sourceText[i] == '\n') ++breaks;
  }
  std::string converted(length, '\0');
  lineStarts_.clear();
  lineStarts_.reserve(breaks + 1);
  lineStarts_.push_back(0);
  longestLine_ = 0;
  std::size_t lineStart = 0;
  for (std::size_t i = 0, out = 0; out < length; ++i, ++out) {
    char c = sourceText[i];
    if (c == '\r' && i + 1 < sourceText.size() && sourceText[i + 1] == '\n') ++i;
    if (c == '\r' || c == '\n') {
      c = kLineBreak;
      longestLine_ = std::max(longestLine_, static_cast<std::int32_t>(out - lineStart));
      lineStart = out + 1;
      if (lineStart < length) lineStarts_.push_back(static_cast<std::int32_t>(lineStart));
    }
    converted[out] = c;
  }
  if (lineStart < length) longestLine_ = std::max(longestLine_, static_cast<std::int32_t>(length - lineStart));
  text_ = std::move(converted);
  anchor_ = caret_ = 0;
}

std::int32_t CatalogueText::LineCount() const { return static_cast<std::int32_t>(lineStarts_.size()); }

std::int32_t CatalogueText::Clamp(std::int32_t position) const { return std::clamp(position, 0, Length()); }

std::int32_t CatalogueText::LineFromPosition(std::int32_t position) const {
  const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), Clamp(position));
  return static_cast<std::int32_t>(after - lineStarts_.begin()) - 1;
}

std::int32_t CatalogueText::LineStart(std::int32_t line) const {
  return lineStarts_[static_cast<std::size_t>(std::clamp(line, 0, LineCount() - 1))];
}

std::string_view CatalogueText::LineText(std::int32_t line) const {
  if (line < 0 || line >= LineCount()) return {};
  const auto start = static_cast<std::size_t>(LineStart(line));
  auto end = text_.find(kLineBreak, start);
  if (end == std::string::npos) end = text_.size();
  return std::string_view(text_).substr(start, end - start);
}

void CatalogueText::Select(std::int32_t anchor, std::int32_t caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

std::string_view CatalogueText::Range(std::int32_t start, std::int32_t end) const {
  const auto from = static_cast<std::size_t>(Clamp(std::min(start, end)));
  const auto to = static_cast<std::size_t>(Clamp(std::max(start, end)));
  return std::string_view(text_).substr(from, to - from);
}

std::string_view CatalogueText::SelectedText() const { return Range(anchor_, caret_); }

namespace {

// Bytes that compare equal to pattern byte p without regard to case fold to the same value.
bool SameIgnoringCase(char a, char b) { return UpperCaseByte(a) == UpperCaseByte(b); }

bool MatchesAt(std::string_view text, std::size_t at, std::string_view pattern) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (!SameIgnoringCase(text[at + i], pattern[i])) return false;
  }
  return true;
}

bool StandsAsWholeWord(std::string_view text, std::size_t at, std::size_t length) {
  const bool startJoins = at > 0 && IsWordCharacter(text[at - 1]) && IsWordCharacter(text[at]);
  const std::size_t end = at + length;
  const bool endJoins = end < text.size() && IsWordCharacter(text[end - 1]) && IsWordCharacter(text[end]);
  return !startJoins && !endJoins;
}

// The other-case form of a byte, or the byte itself when it has none.
char OtherCase(char c) {
  const char upper = UpperCaseByte(c);
  if (upper != c) return upper;
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDF)) return static_cast<char>(byte + 0x20);
  return c;
}

// Candidate positions are those where the pattern's first and last bytes both match (either case);
// sixteen positions are tested at once where SSE2 is available, then each candidate is verified.
std::size_t FirstCandidateBlock(std::string_view text, std::size_t from, std::size_t lastStart,
                                std::string_view pattern, bool wholeWord) {
  const char first = pattern.front();
  const char firstOther = OtherCase(first);
  const char last = pattern.back();
  const char lastOther = OtherCase(last);
  const std::size_t lastOffset = pattern.size() - 1;
  std::size_t at = from;
#if defined(__SSE2__)
  const __m128i f1 = _mm_set1_epi8(first), f2 = _mm_set1_epi8(firstOther);
  const __m128i l1 = _mm_set1_epi8(last), l2 = _mm_set1_epi8(lastOther);
  const char* data = text.data();
  while (at + 16 <= lastStart + 1) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + lastOffset));
    const __m128i headHit = _mm_or_si128(_mm_cmpeq_epi8(head, f1), _mm_cmpeq_epi8(head, f2));
    const __m128i tailHit = _mm_or_si128(_mm_cmpeq_epi8(tail, l1), _mm_cmpeq_epi8(tail, l2));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(headHit, tailHit)));
    while (mask != 0) {
      const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(mask));
      if (MatchesAt(text, candidate, pattern) && (!wholeWord || StandsAsWholeWord(text, candidate, pattern.size()))) {
        return candidate;
      }
      mask &= mask - 1;
    }
    at += 16;
  }
#endif
  for (; at <= lastStart; ++at) {
    const char head = text[at];
    if (head != first && head != firstOther) continue;
    const char tail = text[at + lastOffset];
    if (tail != last && tail != lastOther) continue;
    if (MatchesAt(text, at, pattern) && (!wholeWord || StandsAsWholeWord(text, at, pattern.size()))) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::int32_t CatalogueText::Find(std::string_view pattern, std::int32_t from, bool wholeWord) const {
  if (pattern.empty() || from < 0 || from > Length()) return -1;
  const std::string_view text(text_);
  if (pattern.size() > text.size()) return -1;
  const std::size_t lastStart = text.size() - pattern.size();
  const auto start = static_cast<std::size_t>(from);
  if (start > lastStart) return -1;
  const std::size_t found = FirstCandidateBlock(text, start, lastStart, pattern, wholeWord);
  return found == std::string_view::npos ? -1 : static_cast<std::int32_t>(found);
}

}  // namespace mirravel
