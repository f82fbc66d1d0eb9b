// Classifying a find text, building its pattern and finding the next entry that holds it.
#include "catalogue/find.h"

#include "catalogue/catalogue_text.h"
#include "support/text.h"

namespace mirravel {

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
static bool IsUpperHexLetter(char c) { return c >= 'A' && c <= 'F'; }

std::int32_t ClassifyFindText(std::string_view text) {
  if (text.empty() || (text.front() != '$' && !IsDigit(text.front()))) return kFindName;
  const bool hexNotation = text.front() == '$';
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (!IsDigit(text[i]) && !(hexNotation && IsUpperHexLetter(text[i]))) return kFindNeither;
  }
  return kFindValue;
}

std::string DecimalToHexValue(std::string_view digits) {
  static constexpr std::uint64_t kLargest = UINT64_MAX;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (kLargest - digit) / 10u) return {};  // wrapping would name an unrelated value
    value = value * 10u + digit;
  }
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kHexDigits[value & 0xFu]);
    value >>= 4;
  } while (value != 0);
  return "$" + hex;
}

// "$0400" and "$400" are one value; the catalogue writes it without leading zeros. "$0" keeps its zero.
static std::string WithoutLeadingZeros(std::string_view hexText) {
  const std::size_t firstSignificant = hexText.find_first_not_of('0', 1);
  if (firstSignificant == std::string_view::npos) return hexText.size() > 1 ? "$0" : "$";
  return "$" + std::string(hexText.substr(firstSignificant));
}

SearchPattern BuildSearchPattern(std::string_view findText, bool onlyValue) {
  SearchPattern pattern;
  std::string text = UpperCase(findText);
  pattern.kind = ClassifyFindText(text);
  pattern.wholeWord = onlyValue;
  if (pattern.kind == kFindName) {
    pattern.kindWord = "Constant";
    if (text.empty() || text.front() != '#') text.insert(text.begin(), '#');
    if (onlyValue) text += " =";
  } else if (pattern.kind == kFindValue) {
    pattern.kindWord = "Value";
    text = text.front() == '$' ? WithoutLeadingZeros(text) : DecimalToHexValue(text);
    if (text.empty()) return pattern;  // a value no constant can have: the empty pattern matches nothing
    if (onlyValue) text.insert(0, "= ");
  } else {
    return pattern;
  }
  pattern.text = std::move(text);
  return pattern;
}

std::int32_t DefinitionLength(std::string_view line) {
  const auto apostrophe = line.find('\'');
  return static_cast<std::int32_t>(apostrophe == std::string_view::npos ? line.size() : apostrophe);
}

FoundEntry FindEntry(std::string_view text, const SearchPattern& pattern, std::int32_t from) {
  FoundEntry entry;
  entry.matchPosition = FindIgnoringCase(text, pattern.text, from, pattern.wholeWord);
  if (entry.matchPosition < 0) return entry;
  const auto match = static_cast<std::size_t>(entry.matchPosition);
  const std::size_t previousBreak = text.rfind(CatalogueText::kLineBreak, match);
  const std::size_t lineStart = previousBreak == std::string_view::npos ? 0 : previousBreak + 1;
  const std::string_view line = text.substr(lineStart, text.find(CatalogueText::kLineBreak, match) - lineStart);
  entry.selectionStart = static_cast<std::int32_t>(lineStart);
  entry.selectionEnd = entry.selectionStart + DefinitionLength(line);
  return entry;
}

}  // namespace mirravel
