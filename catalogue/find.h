// Finding a constant by name or value: classifying the find text, its search pattern and the search over
// the catalogue text, which returns positions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirravel {

enum FindKind : std::int32_t { kFindValue = 0, kFindName = 1, kFindNeither = 2 };

// kFindName when the text does not start with "$" or a digit (the empty text included); otherwise
// kFindValue when every further character is a digit (or, after "$", also "A" to "F"); else kFindNeither.
std::int32_t ClassifyFindText(std::string_view text);

struct SearchPattern {
  std::int32_t kind = kFindNeither;
  std::string text;        // what is searched for
  bool wholeWord = false;  // set with "Only value"
  std::string_view kindWord;  // "Constant" or "Value"
};

// Upper-cases the text and builds the pattern: "#NAME" (+ " =" with onlyValue) for a name,
// "$HEX" without leading zeros (with "= " in front with onlyValue) for a value; kind kFindNeither, and a
// value beyond 64 bits, give an empty pattern, which matches nothing.
SearchPattern BuildSearchPattern(std::string_view findText, bool onlyValue);

// Decimal digits to "$" and upper-case hexadecimal of their exact value; empty beyond 64 bits, where no
// constant's value lies.
std::string DecimalToHexValue(std::string_view digits);

// Number of characters of a catalogue line before its comment (its first apostrophe).
std::int32_t DefinitionLength(std::string_view line);

struct FoundEntry {
  std::int32_t matchPosition = -1;
  std::int32_t selectionStart = 0;
  std::int32_t selectionEnd = 0;
};

// The next match in the catalogue text (line breaks stored as one character) at or after from, with the
// definition part of its line; matchPosition -1 when none.
FoundEntry FindEntry(std::string_view text, const SearchPattern& pattern, std::int32_t from);

}  // namespace mirravel
