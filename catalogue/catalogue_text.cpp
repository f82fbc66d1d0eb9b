// The catalogue text model: one copy of the text with single-character line breaks, a line index,
// the selection, and a case-insensitive scan that runs close to memory speed.
#include "catalogue/catalogue_text.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "catalogue/line_index.h"
#include "catalogue/unpack_block.h"
#include "support/text.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace mirravel {

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Positions are signed 32-bit; a longer text is cut.
constexpr std::size_t kMaxLength = 0x7FFFFFF0;

void CatalogueText::Assign(std::string_view sourceText) {
  const std::size_t length = std::min(sourceText.size(), kMaxLength);
  std::unique_ptr<char[]> buffer(new char[length]);
  std::memcpy(buffer.get(), sourceText.data(), length);
  Adopt(std::move(buffer), length);
}

CatalogueLoad CatalogueText::Unpack(const std::uint8_t* block, std::size_t blockSize) {
  if (block == nullptr || blockSize < kPackedHeaderSize) return CatalogueLoad::OutOfMemory;
  const auto size = static_cast<std::int32_t>(static_cast<std::uint32_t>(block[2]) | static_cast<std::uint32_t>(block[3]) << 8 |
                                              static_cast<std::uint32_t>(block[4]) << 16 | static_cast<std::uint32_t>(block[5]) << 24);
  if (size <= 0) return CatalogueLoad::OutOfMemory;
  const auto capacity = static_cast<std::size_t>(size);
  // Not zero-filled: the decoder writes every byte up to the header's size, or zeroes what it did not.
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[capacity]);
  if (!buffer) return CatalogueLoad::OutOfMemory;
  const std::int32_t written = UnpackBlock(block, blockSize, reinterpret_cast<std::uint8_t*>(buffer.get()), capacity);
  if (written == 0) return CatalogueLoad::Corrupt;
  Adopt(std::move(buffer), std::min(static_cast<std::size_t>(written), kMaxLength));
  return CatalogueLoad::Loaded;
}

void CatalogueText::Adopt(std::unique_ptr<char[]> buffer, std::size_t length) {
  lineStarts_.assign(1, 0);
  const IndexedLines lines = IndexLinesInPlace(buffer.get(), length, lineStarts_);
  text_ = std::move(buffer);
  length_ = static_cast<std::int32_t>(lines.length);
  longestLine_ = lines.longestLine;
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
  const std::int32_t start = LineStart(line);
  std::int32_t end = line + 1 < LineCount() ? LineStart(line + 1) - 1 : Length();
  if (end > start && text_[static_cast<std::size_t>(end - 1)] == kLineBreak) --end;  // the last line's break
  return Text().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

void CatalogueText::Select(std::int32_t anchor, std::int32_t caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

std::string_view CatalogueText::Range(std::int32_t start, std::int32_t end) const {
  const auto from = static_cast<std::size_t>(Clamp(std::min(start, end)));
  const auto to = static_cast<std::size_t>(Clamp(std::max(start, end)));
  return Text().substr(from, to - from);
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

// One search: the pattern's first and last bytes in both cases, and what a candidate must pass.
struct Scan {
  std::string_view text;
  std::string_view pattern;
  bool wholeWord;
  char first, firstOther, last, lastOther;

  bool Accepts(std::size_t at) const {
    return MatchesAt(text, at, pattern) && (!wholeWord || StandsAsWholeWord(text, at, pattern.size()));
  }
};

constexpr std::size_t kNotFound = std::string_view::npos;

std::size_t ScanScalar(const Scan& scan, std::size_t at, std::size_t lastStart) {
  const std::size_t lastOffset = scan.pattern.size() - 1;
  for (; at <= lastStart; ++at) {
    const char head = scan.text[at];
    if (head != scan.first && head != scan.firstOther) continue;
    const char tail = scan.text[at + lastOffset];
    if (tail != scan.last && tail != scan.lastOther) continue;
    if (scan.Accepts(at)) return at;
  }
  return kNotFound;
}

// Candidates are positions where the first and the last pattern byte both match (either case); the
// vector scans test 16 or 32 positions at once and verify candidates one by one. The vector width is
// chosen at run time, so one executable runs everywhere and uses what the processor offers.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define MIRRAVEL_VECTOR_SCAN 1

std::size_t VerifyCandidates(const Scan& scan, std::size_t at, unsigned mask) {
  while (mask != 0) {
    const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(mask));
    if (scan.Accepts(candidate)) return candidate;
    mask &= mask - 1;
  }
  return kNotFound;
}

__attribute__((target("sse2"))) std::size_t ScanSse2(const Scan& scan, std::size_t at, std::size_t lastStart) {
  const char* data = scan.text.data();
  const std::size_t lastOffset = scan.pattern.size() - 1;
  const __m128i f1 = _mm_set1_epi8(scan.first), f2 = _mm_set1_epi8(scan.firstOther);
  const __m128i l1 = _mm_set1_epi8(scan.last), l2 = _mm_set1_epi8(scan.lastOther);
  for (; at + 16 <= lastStart + 1; at += 16) {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + lastOffset));
    const __m128i hits = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(head, f1), _mm_cmpeq_epi8(head, f2)),
                                       _mm_or_si128(_mm_cmpeq_epi8(tail, l1), _mm_cmpeq_epi8(tail, l2)));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (mask != 0) {
      const std::size_t found = VerifyCandidates(scan, at, mask);
      if (found != kNotFound) return found;
    }
  }
  return ScanScalar(scan, at, lastStart);
}

__attribute__((target("avx2"))) std::size_t ScanAvx2(const Scan& scan, std::size_t at, std::size_t lastStart) {
  const char* data = scan.text.data();
  const std::size_t lastOffset = scan.pattern.size() - 1;
  const __m256i f1 = _mm256_set1_epi8(scan.first), f2 = _mm256_set1_epi8(scan.firstOther);
  const __m256i l1 = _mm256_set1_epi8(scan.last), l2 = _mm256_set1_epi8(scan.lastOther);
  for (; at + 32 <= lastStart + 1; at += 32) {
    const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at));
    const __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + at + lastOffset));
    const __m256i hits =
        _mm256_and_si256(_mm256_or_si256(_mm256_cmpeq_epi8(head, f1), _mm256_cmpeq_epi8(head, f2)),
                         _mm256_or_si256(_mm256_cmpeq_epi8(tail, l1), _mm256_cmpeq_epi8(tail, l2)));
    const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
    if (mask != 0) {
      const std::size_t found = VerifyCandidates(scan, at, mask);
      if (found != kNotFound) return found;
    }
  }
  return ScanSse2(scan, at, lastStart);
}
#endif

using ScanFunction = std::size_t (*)(const Scan&, std::size_t, std::size_t);

ScanFunction BestScan() {
#if defined(MIRRAVEL_VECTOR_SCAN)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return ScanAvx2;
  if (__builtin_cpu_supports("sse2")) return ScanSse2;
#endif
  return ScanScalar;
}

std::size_t FirstAcceptedPosition(std::string_view text, std::size_t from, std::size_t lastStart,
                                  std::string_view pattern, bool wholeWord) {
  static const ScanFunction scan = BestScan();
  const Scan search{text, pattern, wholeWord, pattern.front(), OtherCase(pattern.front()),
                    pattern.back(), OtherCase(pattern.back())};
  return scan(search, from, lastStart);
}

}  // namespace

std::int32_t FindIgnoringCase(std::string_view text, std::string_view pattern, std::int32_t from, bool wholeWord) {
  if (pattern.empty() || from < 0 || static_cast<std::size_t>(from) > text.size()) return -1;
  if (pattern.size() > text.size()) return -1;
  const std::size_t lastStart = text.size() - pattern.size();
  const auto start = static_cast<std::size_t>(from);
  if (start > lastStart) return -1;
  const std::size_t found = FirstAcceptedPosition(text, start, lastStart, pattern, wholeWord);
  return found == kNotFound ? -1 : static_cast<std::int32_t>(found);
}

std::int32_t CatalogueText::Find(std::string_view pattern, std::int32_t from, bool wholeWord) const {
  return FindIgnoringCase(Text(), pattern, from, wholeWord);
}

}  // namespace mirravel
