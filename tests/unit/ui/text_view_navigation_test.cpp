// Caret keys, hit testing, double-click words and scroll arithmetic of the catalogue view.
#include "ui/text_view_navigation.h"

#include <gtest/gtest.h>

namespace mirravel {
namespace {

// Lines: "#AB = $1 ' x" (0-11), "#C = $22" (13-20), "" (22), "#LONGER_NAME = $3" (23-39), then the
// empty view line after the final break at 41.
CatalogueText Sample() {
  CatalogueText text;
  text.Assign("#AB = $1 ' x\r\n#C = $22\r\n\r\n#LONGER_NAME = $3\r\n");
  return text;
}

TEST(TextViewNavigation, ViewLinesAddTheEmptyLineAfterAFinalBreakAndPositionsAreClamped) {
  const CatalogueText text = Sample();
  EXPECT_EQ(4, text.LineCount());
  EXPECT_EQ(5, ViewLineCount(text));
  EXPECT_EQ(4, ViewLineOf(text, 41));
  EXPECT_EQ(3, ViewLineOf(text, 40));
  EXPECT_EQ(41, ViewLineStart(text, 4));
  for (const auto& [line, length] : {std::pair{4, 0}, {2, 0}, {3, 17}}) EXPECT_EQ(length, ViewLineLength(text, line));
  const struct { std::int32_t line, column, position; } hits[] = {
      {1, 3, 16}, {1, 50, 21} /* past the end: before the line break */, {2, 4, 22}, {-3, -3, 0}, {99, 0, 41}};
  for (const auto& hit : hits) EXPECT_EQ(hit.position, PositionAt(text, hit.line, hit.column)) << hit.line << "," << hit.column;

  CatalogueText unterminated;
  unterminated.Assign("ab\ncd");
  EXPECT_EQ(2, ViewLineCount(unterminated));
  EXPECT_EQ(1, ViewLineOf(unterminated, 5));
  EXPECT_EQ(2, ColumnOf(unterminated, 5));
  const CatalogueText empty;
  EXPECT_EQ(1, ViewLineCount(empty));
  EXPECT_EQ(0, PositionAt(empty, 3, 7));
}

TEST(TextViewNavigation, CaretKeys) {
  const struct {
    std::int32_t caret;
    CaretKey key;
    std::int32_t caretAfter;
    std::int32_t goal = -1;  // the column aimed for; -1: the caret's own
    std::int32_t page = 2;
    std::int32_t goalAfter = -1;  // -1: not checked
  } cases[] = {
      {12, CaretKey::Right, 13} /* over the line break */, {13, CaretKey::Left, 12, -1, 2, 12} /* goal follows */,
      {0, CaretKey::Left, 0}, {41, CaretKey::Right, 41},
      // Down from column 10 keeps the goal over a shorter and an empty line; the first line has nothing
      // above; the empty last view line is reached.
      {10, CaretKey::Down, 21, -1, 2, 10}, {21, CaretKey::Down, 22, 10}, {22, CaretKey::Down, 33, 10},
      {5, CaretKey::Up, 5}, {27, CaretKey::Down, 41},
      // A view smaller than a row pages by one.
      {3, CaretKey::PageDown, 26, -1, 3}, {3, CaretKey::PageDown, 41, -1, 100}, {26, CaretKey::PageUp, 3, -1, 100},
      {3, CaretKey::PageDown, 16, -1, 0},
      {17, CaretKey::LineStart, 13}, {14, CaretKey::LineEnd, 21, -1, 2, 8}, {22, CaretKey::LineEnd, 22},
      {41, CaretKey::LineEnd, 41}, {30, CaretKey::TextStart, 0}, {3, CaretKey::TextEnd, 41},
      // "#" then "AB"; "AB = $" to "1"; "x", line break, "#" to "C".
      {0, CaretKey::WordRight, 1}, {1, CaretKey::WordRight, 7}, {11, CaretKey::WordRight, 14},
      {7, CaretKey::WordLeft, 1}, {14, CaretKey::WordLeft, 11}, {0, CaretKey::WordLeft, 0},
  };
  CatalogueText text = Sample();
  for (const auto& c : cases) {
    text.Select(c.caret, c.caret);
    const CaretMove move = MoveCaret(text, c.caret, c.goal < 0 ? ColumnOf(text, c.caret) : c.goal, c.key, c.page, false);
    EXPECT_EQ(move.caret, c.caretAfter) << "from " << c.caret << ", key " << static_cast<int>(c.key);
    EXPECT_TRUE(c.goalAfter < 0 || move.goalColumn == c.goalAfter) << "from " << c.caret;
  }
  // Left and Right collapse a selection to its start or end unless they extend it.
  const struct { std::int32_t anchor, caret; CaretKey key; bool extending; std::int32_t caretAfter; } selections[] = {
      {2, 7, CaretKey::Left, false, 2}, {2, 7, CaretKey::Left, true, 6},
      {7, 2, CaretKey::Right, false, 7}, {7, 2, CaretKey::Right, true, 3}};
  for (const auto& s : selections) {
    text.Select(s.anchor, s.caret);
    EXPECT_EQ(MoveCaret(text, s.caret, s.caret, s.key, 2, s.extending).caret, s.caretAfter) << s.anchor << "-" << s.caret;
  }
}

TEST(TextViewNavigation, DoubleClickWordIsTheRunOfWordCharacters) {
  const struct { std::int32_t position, start, end; } cases[] = {
      // Inside "AB", at its first letter, just after it; "#", "=" and the blank after it each alone.
      {2, 1, 3}, {1, 1, 3}, {3, 1, 3}, {0, 0, 1}, {4, 4, 5}, {5, 5, 6},
      // After "x" at the end of line 0; nothing on the empty line; "LONGER_NAME" with its underscore; the end.
      {12, 11, 12}, {22, 22, 22}, {26, 24, 35}, {41, 41, 41},
  };
  const CatalogueText text = Sample();
  for (const auto& c : cases) {
    const TextRange word = WordAt(text, c.position);
    EXPECT_EQ(std::make_pair(word.start, word.end), std::make_pair(c.start, c.end)) << "at " << c.position;
  }
}

TEST(ScrollArithmetic, StaysWithinTheRangeAndMovesAsLittleAsPossible) {
  EXPECT_EQ(90, LastScrollStart(100, 10));
  EXPECT_EQ(0, LastScrollStart(5, 10));
  EXPECT_EQ(99, LastScrollStart(100, 0));
  EXPECT_EQ(0, ClampScrollStart(-4, 100, 10));
  EXPECT_EQ(90, ClampScrollStart(95, 100, 10));
  EXPECT_EQ(40, ClampScrollStart(40, 100, 10));
  EXPECT_EQ(20, ScrollStartToShow(20, 10, 25));  // already visible
  EXPECT_EQ(12, ScrollStartToShow(20, 10, 12));  // above: it becomes the first
  EXPECT_EQ(21, ScrollStartToShow(20, 10, 30));  // below: it becomes the last
  EXPECT_EQ(30, ScrollStartToShow(20, 0, 30));   // a view of no whole row still shows one
  EXPECT_EQ(20, ScrollStartToShowRange(20, 10, 22, 28));
  EXPECT_EQ(25, ScrollStartToShowRange(20, 10, 30, 34));  // whole range fits: minimal move
  EXPECT_EQ(8, ScrollStartToShowRange(20, 10, 8, 12));
  EXPECT_EQ(40, ScrollStartToShowRange(0, 10, 40, 80));   // too wide: its start first
  EXPECT_EQ(40, ScrollStartToShowRange(60, 10, 40, 80));
}

}  // namespace
}  // namespace mirravel
