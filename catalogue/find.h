// Finding a constant by name or value: classification, search patterns and the find-next walk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "catalogue/catalogue_text.h"

namespace mirravel {

class WindowPort;

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
// "$HEX" (with "= " in front with onlyValue) for a value; kind kFindNeither gives an empty pattern.
SearchPattern BuildSearchPattern(std::string_view findText, bool onlyValue);

// Decimal digits to "$" and upper-case hexadecimal of their value modulo 2^32.
std::string DecimalToHexValue(std::string_view digits);

// Number of characters of a catalogue line before its comment (its first apostrophe).
std::int32_t DefinitionLength(std::string_view line);

struct FoundEntry {
  std::int32_t matchPosition = -1;
  std::int32_t selectionStart = 0;
  std::int32_t selectionEnd = 0;
};

// The next match at or after from, with the definition part of its line; matchPosition -1 when none.
FoundEntry FindEntry(const CatalogueText& text, const SearchPattern& pattern, std::int32_t from);

inline constexpr std::string_view kNeitherMessage = "Text is not a constant nor a value";
inline constexpr std::string_view kNoMoreMessage = "No more entry found";
inline constexpr std::string_view kFindTitle = "Find text";

// Searches the list for text from state.findNextPosition, selects the hit's definition and tells the
// user when nothing (more) is found. Returns 1 after a hit or the "neither" message, 0 when nothing was found.
std::int32_t FindConstant(std::string_view text, AppState& state, WindowPort& window);

}  // namespace mirravel
