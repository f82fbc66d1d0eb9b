// Find and find-next over the list's text; messages and selection go through the window layer.
#include "catalogue/find.h"

#include "support/text.h"
#include "ui/control_ids.h"
#include "ui/message_box.h"
#include "ui/window_port.h"

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
  std::uint32_t value = 0;  // wraps modulo 2^32 by definition of unsigned arithmetic
  for (const char c : digits) value = value * 10u + static_cast<std::uint32_t>(c - '0');
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string hex;
  do {
    hex.insert(hex.begin(), kHexDigits[value & 0xFu]);
    value >>= 4;
  } while (value != 0);
  return "$" + hex;
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
    if (text.front() != '$') text = DecimalToHexValue(text);
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

FoundEntry FindEntry(const CatalogueText& text, const SearchPattern& pattern, std::int32_t from) {
  FoundEntry entry;
  entry.matchPosition = text.Find(pattern.text, from, pattern.wholeWord);
  if (entry.matchPosition < 0) return entry;
  const std::int32_t line = text.LineFromPosition(entry.matchPosition);
  entry.selectionStart = text.LineStart(line);
  entry.selectionEnd = entry.selectionStart + DefinitionLength(text.LineText(line));
  return entry;
}

std::int32_t FindConstant(std::string_view text, AppState& state, WindowPort& window) {
  const bool onlyValue = window.GetControlState(kOnlyValueBox) == 1;
  const SearchPattern pattern = BuildSearchPattern(text, onlyValue);
  if (pattern.kind == kFindNeither) {
    window.ShowMessageBox("ERROR", kNeitherMessage, kBoxStop);
    window.FocusControl(kFindField);
    return 1;
  }
  const FoundEntry entry = FindEntry(window.ListText(), pattern, state.findNextPosition);
  if (entry.matchPosition < 0) {
    if (state.findNextPosition == 0) {
      window.ShowMessageBox(kFindTitle, std::string(pattern.kindWord) + " not found!", kBoxExclamation);
    } else {
      window.ShowMessageBox(kFindTitle, kNoMoreMessage, kBoxInformation);
    }
    state.findNextPosition = 0;
    window.FocusControl(kFindField);
    return 0;
  }
  state.findNextPosition = entry.matchPosition + 1;
  window.SelectInList(entry.selectionStart, entry.selectionEnd);
  return 1;
}

}  // namespace mirravel
