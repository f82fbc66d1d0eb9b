// Caret movement, hit testing, word selection and scrolling arithmetic of the catalogue view, kept apart
// from painting and input so it runs and is tested without a window.
//
// The view shows one more, empty line after a text that ends with a line break (where the caret stands
// after Ctrl+End), so its rows are "view lines": the model's lines plus that one.
#pragma once

#include <cstdint>

#include "catalogue/catalogue_text.h"

namespace mirravel {

enum class CaretKey {
  Left,
  Right,
  WordLeft,
  WordRight,
  Up,
  Down,
  PageUp,
  PageDown,
  LineStart,
  LineEnd,
  TextStart,
  TextEnd,
};

struct CaretMove {
  std::int32_t caret = 0;
  // Column that vertical moves aim for; kept across Up/Down so a short line does not lose the column.
  std::int32_t goalColumn = 0;
};

std::int32_t ViewLineCount(const CatalogueText& text);
std::int32_t ViewLineOf(const CatalogueText& text, std::int32_t position);
std::int32_t ViewLineStart(const CatalogueText& text, std::int32_t line);
// Characters of a view line without its line break.
std::int32_t ViewLineLength(const CatalogueText& text, std::int32_t line);
std::int32_t ColumnOf(const CatalogueText& text, std::int32_t position);

// Position under a row and column (both may lie outside the text: they are clamped to it).
std::int32_t PositionAt(const CatalogueText& text, std::int32_t line, std::int32_t column);

// Where the caret goes for a key. pageLines is the number of whole rows the view shows. For Left and
// Right without extending, a selection collapses to its start or end instead of moving.
CaretMove MoveCaret(const CatalogueText& text, std::int32_t caret, std::int32_t goalColumn, CaretKey key,
                    std::int32_t pageLines, bool extending);

// The word around a position (ASCII letters, digits, "_"); a character that is no word character and no
// line break counts as a word of its own; a line break gives an empty range at the position.
struct TextRange {
  std::int32_t start = 0;
  std::int32_t end = 0;
};
TextRange WordAt(const CatalogueText& text, std::int32_t position);

// Scrolling along one axis, in rows or columns: total items, visible items, first visible item.
// Largest first item that still fills the view (0 when everything fits).
std::int32_t LastScrollStart(std::int32_t total, std::int32_t visible);
std::int32_t ClampScrollStart(std::int32_t first, std::int32_t total, std::int32_t visible);
// Smallest change of first that brings item into view.
std::int32_t ScrollStartToShow(std::int32_t first, std::int32_t visible, std::int32_t item);
// Brings the items low..high into view when they fit; otherwise shows low at the start. Leaves first
// alone when they are already visible.
std::int32_t ScrollStartToShowRange(std::int32_t first, std::int32_t visible, std::int32_t low, std::int32_t high);

}  // namespace mirravel
