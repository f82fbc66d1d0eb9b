// The catalogue text as the list shows it: the only copy of the text, its line index and the selection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ports/catalogue_load.h"

namespace mirravel {

// Positions are 0-based character positions; every line break is stored as one '\n', so a CR LF of the
// source text counts as one character.
class CatalogueText {
 public:
  static constexpr char kLineBreak = '\n';

  // Replaces the whole text; CR LF, lone CR and lone LF each become one line break, and the text ends at
  // its first zero byte. Clears the selection.
  void Assign(std::string_view sourceText);
  // Replaces the whole text with what a packed block unpacks to, by the same rules, decoded straight
  // into the buffer the text keeps. On failure the text stays as it was.
  CatalogueLoad Unpack(const std::uint8_t* block, std::size_t blockSize);

  std::string_view Text() const { return {text_.get(), static_cast<std::size_t>(length_)}; }
  std::int32_t Length() const { return length_; }

  // Lines of text: a final line break does not open another, empty line, so a catalogue of N lines ending
  // with a line break counts N. An empty text has one (empty) line.
  std::int32_t LineCount() const;
  // Line holding a position; positions outside the text are clamped.
  std::int32_t LineFromPosition(std::int32_t position) const;
  // First position of a line (clamped to the valid lines).
  std::int32_t LineStart(std::int32_t line) const;
  // A line's text without its line break.
  std::string_view LineText(std::int32_t line) const;
  std::int32_t LongestLineLength() const { return longestLine_; }

  // Selection as anchor (where it started) and caret (where it ends, the moving end); both clamped.
  void Select(std::int32_t anchor, std::int32_t caret);
  std::int32_t Anchor() const { return anchor_; }
  std::int32_t Caret() const { return caret_; }
  std::int32_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::int32_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  std::string_view SelectedText() const;
  std::string_view Range(std::int32_t start, std::int32_t end) const;

  // First match of pattern at or after from, letters compared without regard to case; -1 when none.
  // With wholeWord, a match counts only where it does not continue a word at either end
  // (word characters: ASCII letters, digits and "_").
  std::int32_t Find(std::string_view pattern, std::int32_t from, bool wholeWord) const;

 private:
  std::int32_t Clamp(std::int32_t position) const;
  // Takes over a buffer holding `length` bytes of source text and makes it the text.
  void Adopt(std::unique_ptr<char[]> buffer, std::size_t length);

  std::unique_ptr<char[]> text_;
  std::int32_t length_ = 0;
  std::vector<std::int32_t> lineStarts_{0};
  std::int32_t longestLine_ = 0;
  std::int32_t anchor_ = 0;
  std::int32_t caret_ = 0;
};

// First match of pattern in text at or after from, letters compared without regard to case; -1 when none.
// With wholeWord, a match counts only where it does not continue a word at either end.
std::int32_t FindIgnoringCase(std::string_view text, std::string_view pattern, std::int32_t from, bool wholeWord);

// Word characters for whole-word matching and double-click selection.
bool IsWordCharacter(char c);

}  // namespace mirravel
