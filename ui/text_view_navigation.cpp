// Caret, hit-test, word and scroll arithmetic of the catalogue view.
#include "ui/text_view_navigation.h"

#include <algorithm>

namespace mirravel {

namespace {

bool EndsWithLineBreak(const CatalogueText& text) {
  return text.Length() > 0 && text.Text().back() == CatalogueText::kLineBreak;
}

char CharAt(const CatalogueText& text, std::int32_t position) {
  return text.Text()[static_cast<std::size_t>(position)];
}

std::int32_t VerticalMove(const CatalogueText& text, std::int32_t caret, std::int32_t goalColumn,
                          std::int32_t lines) {
  const std::int32_t last = ViewLineCount(text) - 1;
  const auto current = static_cast<std::int64_t>(ViewLineOf(text, caret));
  const auto target = static_cast<std::int32_t>(std::clamp<std::int64_t>(current + lines, 0, last));
  return PositionAt(text, target, goalColumn);
}

std::int32_t WordLeftOf(const CatalogueText& text, std::int32_t caret) {
  std::int32_t position = caret;
  while (position > 0 && !IsWordCharacter(CharAt(text, position - 1))) --position;
  while (position > 0 && IsWordCharacter(CharAt(text, position - 1))) --position;
  return position;
}

std::int32_t WordRightOf(const CatalogueText& text, std::int32_t caret) {
  const std::int32_t length = text.Length();
  std::int32_t position = caret;
  while (position < length && IsWordCharacter(CharAt(text, position))) ++position;
  while (position < length && !IsWordCharacter(CharAt(text, position))) ++position;
  return position;
}

}  // namespace

std::int32_t ViewLineCount(const CatalogueText& text) {
  return text.LineCount() + (EndsWithLineBreak(text) ? 1 : 0);
}

std::int32_t ViewLineOf(const CatalogueText& text, std::int32_t position) {
  if (position >= text.Length() && EndsWithLineBreak(text)) return text.LineCount();
  return text.LineFromPosition(position);
}

std::int32_t ViewLineStart(const CatalogueText& text, std::int32_t line) {
  if (line >= text.LineCount() && EndsWithLineBreak(text)) return text.Length();
  return text.LineStart(line);
}

std::int32_t ViewLineLength(const CatalogueText& text, std::int32_t line) {
  if (line < 0 || line >= text.LineCount()) return 0;
  return static_cast<std::int32_t>(text.LineText(line).size());
}

std::int32_t ColumnOf(const CatalogueText& text, std::int32_t position) {
  const std::int32_t clamped = std::clamp(position, 0, text.Length());
  return clamped - ViewLineStart(text, ViewLineOf(text, clamped));
}

std::int32_t PositionAt(const CatalogueText& text, std::int32_t line, std::int32_t column) {
  const std::int32_t row = std::clamp(line, 0, ViewLineCount(text) - 1);
  return ViewLineStart(text, row) + std::clamp(column, 0, ViewLineLength(text, row));
}

CaretMove MoveCaret(const CatalogueText& text, std::int32_t caret, std::int32_t goalColumn, CaretKey key,
                    std::int32_t pageLines, bool extending) {
  const std::int32_t page = std::max(1, pageLines);
  const bool hasSelection = text.SelectionStart() != text.SelectionEnd();
  std::int32_t moved = caret;
  switch (key) {
    case CaretKey::Left:
      moved = (hasSelection && !extending) ? text.SelectionStart() : std::max(0, caret - 1);
      break;
    case CaretKey::Right:
      moved = (hasSelection && !extending) ? text.SelectionEnd() : std::min(text.Length(), caret + 1);
      break;
    case CaretKey::WordLeft:
      moved = WordLeftOf(text, caret);
      break;
    case CaretKey::WordRight:
      moved = WordRightOf(text, caret);
      break;
    case CaretKey::Up:
      return {VerticalMove(text, caret, goalColumn, -1), goalColumn};
    case CaretKey::Down:
      return {VerticalMove(text, caret, goalColumn, 1), goalColumn};
    case CaretKey::PageUp:
      return {VerticalMove(text, caret, goalColumn, -page), goalColumn};
    case CaretKey::PageDown:
      return {VerticalMove(text, caret, goalColumn, page), goalColumn};
    case CaretKey::LineStart:
      moved = ViewLineStart(text, ViewLineOf(text, caret));
      break;
    case CaretKey::LineEnd: {
      const std::int32_t line = ViewLineOf(text, caret);
      moved = ViewLineStart(text, line) + ViewLineLength(text, line);
      break;
    }
    case CaretKey::TextStart:
      moved = 0;
      break;
    case CaretKey::TextEnd:
      moved = text.Length();
      break;
  }
  return {moved, ColumnOf(text, moved)};
}

TextRange WordAt(const CatalogueText& text, std::int32_t position) {
  const std::int32_t length = text.Length();
  const std::int32_t at = std::clamp(position, 0, length);
  const bool wordHere = at < length && IsWordCharacter(CharAt(text, at));
  const bool wordBefore = at > 0 && IsWordCharacter(CharAt(text, at - 1));
  if (!wordHere && !wordBefore) {
    if (at >= length || CharAt(text, at) == CatalogueText::kLineBreak) return {at, at};
    return {at, at + 1};
  }
  std::int32_t start = wordHere ? at : at - 1;
  std::int32_t end = start + 1;
  while (start > 0 && IsWordCharacter(CharAt(text, start - 1))) --start;
  while (end < length && IsWordCharacter(CharAt(text, end))) ++end;
  return {start, end};
}

std::int32_t LastScrollStart(std::int32_t total, std::int32_t visible) {
  return std::max(0, total - std::max(1, visible));
}

std::int32_t ClampScrollStart(std::int32_t first, std::int32_t total, std::int32_t visible) {
  return std::clamp(first, 0, LastScrollStart(total, visible));
}

std::int32_t ScrollStartToShow(std::int32_t first, std::int32_t visible, std::int32_t item) {
  const std::int32_t shown = std::max(1, visible);
  if (item < first) return item;
  if (item >= first + shown) return item - shown + 1;
  return first;
}

std::int32_t ScrollStartToShowRange(std::int32_t first, std::int32_t visible, std::int32_t low,
                                    std::int32_t high) {
  const std::int32_t shown = std::max(1, visible);
  if (low >= first && high < first + shown) return first;
  if (high - low + 1 > shown) return low;
  return ScrollStartToShow(ScrollStartToShow(first, shown, high), shown, low);
}

}  // namespace mirravel
