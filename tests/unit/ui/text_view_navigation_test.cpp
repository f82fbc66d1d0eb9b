// Caret keys, hit testing, double-click words and scroll arithmetic of the catalogue view.
#include "ui/text_view_navigation.h"

#include <gtest/gtest.h>

namespace mirravel {
namespace {

// Lines: "#AB = $1 ' x" (0-11), "#C = $22" (13-20), "" (22), "#LONGER_NAME = $3" (23-39), then the
// empty view line after the final break at 41.
constexpr char kSample[] = "#AB = $1 ' x\r\n#C = $22\r\n\r\n#LONGER_NAME = $3\r\n";

class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override { text.Assign(kSample); }
  CaretMove Move(std::int32_t caret, CaretKey key, std::int32_t goal = -1, std::int32_t page = 2,
                 bool extending = false) {
    text.Select(caret, caret);
    return MoveCaret(text, caret, goal < 0 ? ColumnOf(text, caret) : goal, key, page, extending);
  }
  CatalogueText text;
};

TEST_F(NavigationTest, ViewLinesAddTheEmptyLineAfterAFinalBreak) {
  EXPECT_EQ(4, text.LineCount());
  EXPECT_EQ(5, ViewLineCount(text));
  EXPECT_EQ(4, ViewLineOf(text, text.Length()));
  EXPECT_EQ(3, ViewLineOf(text, text.Length() - 1));
  EXPECT_EQ(text.Length(), ViewLineStart(text, 4));
  EXPECT_EQ(0, ViewLineLength(text, 4));
  EXPECT_EQ(0, ViewLineLength(text, 2));
  EXPECT_EQ(17, ViewLineLength(text, 3));

  CatalogueText unterminated;
  unterminated.Assign("ab\ncd");
  EXPECT_EQ(2, ViewLineCount(unterminated));
  EXPECT_EQ(1, ViewLineOf(unterminated, 5));
  EXPECT_EQ(2, ColumnOf(unterminated, 5));

  CatalogueText empty;
  EXPECT_EQ(1, ViewLineCount(empty));
  EXPECT_EQ(0, PositionAt(empty, 3, 7));
}

TEST_F(NavigationTest, PositionAtClampsRowAndColumnToTheText) {
  EXPECT_EQ(13 + 3, PositionAt(text, 1, 3));
  EXPECT_EQ(13 + 8, PositionAt(text, 1, 50));  // past the end: before the line break
  EXPECT_EQ(22, PositionAt(text, 2, 4));       // empty line
  EXPECT_EQ(0, PositionAt(text, -3, -3));
  EXPECT_EQ(text.Length(), PositionAt(text, 99, 0));
}

TEST_F(NavigationTest, HorizontalKeysMoveOneCharacterAcrossLineBreaks) {
  EXPECT_EQ(13, Move(12, CaretKey::Right).caret);  // over the line break
  EXPECT_EQ(12, Move(13, CaretKey::Left).caret);
  EXPECT_EQ(0, Move(0, CaretKey::Left).caret);
  EXPECT_EQ(text.Length(), Move(text.Length(), CaretKey::Right).caret);
  EXPECT_EQ(12, Move(13, CaretKey::Left).goalColumn);  // the goal follows the new column
}

TEST_F(NavigationTest, HorizontalKeysCollapseASelectionUnlessExtending) {
  text.Select(2, 7);
  EXPECT_EQ(2, MoveCaret(text, 7, 7, CaretKey::Left, 2, false).caret);
  EXPECT_EQ(6, MoveCaret(text, 7, 7, CaretKey::Left, 2, true).caret);
  text.Select(7, 2);
  EXPECT_EQ(7, MoveCaret(text, 2, 2, CaretKey::Right, 2, false).caret);
  EXPECT_EQ(3, MoveCaret(text, 2, 2, CaretKey::Right, 2, true).caret);
}

TEST_F(NavigationTest, VerticalKeysKeepTheGoalColumnOverShortLines) {
  // From column 10 of line 0 down: line 1 has 8 characters, line 2 none, line 3 has 17.
  const CaretMove first = Move(10, CaretKey::Down);
  EXPECT_EQ(13 + 8, first.caret);
  EXPECT_EQ(10, first.goalColumn);
  const CaretMove second = Move(first.caret, CaretKey::Down, first.goalColumn);
  EXPECT_EQ(22, second.caret);
  const CaretMove third = Move(second.caret, CaretKey::Down, second.goalColumn);
  EXPECT_EQ(23 + 10, third.caret);
  EXPECT_EQ(5, Move(5, CaretKey::Up).caret);  // first line: column kept, nothing above
  EXPECT_EQ(text.Length(), Move(23 + 4, CaretKey::Down).caret);  // onto the empty last view line
}

TEST_F(NavigationTest, PageKeysMoveByThePageAndStopAtTheEnds) {
  EXPECT_EQ(23 + 3, Move(3, CaretKey::PageDown, -1, 3).caret);
  EXPECT_EQ(text.Length(), Move(3, CaretKey::PageDown, -1, 100).caret);
  EXPECT_EQ(3, Move(23 + 3, CaretKey::PageUp, -1, 100).caret);
  EXPECT_EQ(13 + 3, Move(3, CaretKey::PageDown, -1, 0).caret);  // a view smaller than a row moves one
}

TEST_F(NavigationTest, LineAndTextEndsKeys) {
  EXPECT_EQ(13, Move(17, CaretKey::LineStart).caret);
  EXPECT_EQ(21, Move(14, CaretKey::LineEnd).caret);
  EXPECT_EQ(8, Move(14, CaretKey::LineEnd).goalColumn);
  EXPECT_EQ(22, Move(22, CaretKey::LineEnd).caret);
  EXPECT_EQ(0, Move(30, CaretKey::TextStart).caret);
  EXPECT_EQ(text.Length(), Move(3, CaretKey::TextEnd).caret);
  EXPECT_EQ(text.Length(), Move(text.Length(), CaretKey::LineEnd).caret);
}

TEST_F(NavigationTest, WordKeysJumpOverWordsAndSeparators) {
  EXPECT_EQ(1, Move(0, CaretKey::WordRight).caret);    // "#" then "AB"
  EXPECT_EQ(7, Move(1, CaretKey::WordRight).caret);    // "AB = $" to "1"
  EXPECT_EQ(14, Move(11, CaretKey::WordRight).caret);  // "x", line break, "#" to "C"
  EXPECT_EQ(1, Move(7, CaretKey::WordLeft).caret);
  EXPECT_EQ(11, Move(14, CaretKey::WordLeft).caret);
  EXPECT_EQ(0, Move(0, CaretKey::WordLeft).caret);
}

TEST_F(NavigationTest, DoubleClickWordIsTheRunOfWordCharacters) {
  struct Case {
    std::int32_t position;
    std::int32_t start;
    std::int32_t end;
  };
  const Case cases[] = {
      {2, 1, 3},     // inside "AB"
      {1, 1, 3},     // at its first letter
      {3, 1, 3},     // just after it: the word before
      {0, 0, 1},     // "#" on its own
      {4, 4, 5},     // "=" stands alone
      {5, 5, 6},     // so does the blank after it
      {12, 11, 12},  // end of line 0, after "x"
      {22, 22, 22},  // the empty line: nothing
      {26, 24, 35},  // "LONGER_NAME" with its underscore
      {41, 41, 41},  // end of text
  };
  for (const auto& c : cases) {
    const TextRange word = WordAt(text, c.position);
    EXPECT_EQ(c.start, word.start) << "at " << c.position;
    EXPECT_EQ(c.end, word.end) << "at " << c.position;
  }
}

TEST(ScrollArithmeticTest, ScrollStartStaysWithinTheRange) {
  EXPECT_EQ(90, LastScrollStart(100, 10));
  EXPECT_EQ(0, LastScrollStart(5, 10));
  EXPECT_EQ(99, LastScrollStart(100, 0));
  EXPECT_EQ(0, ClampScrollStart(-4, 100, 10));
  EXPECT_EQ(90, ClampScrollStart(95, 100, 10));
  EXPECT_EQ(40, ClampScrollStart(40, 100, 10));
}

TEST(ScrollArithmeticTest, ShowingAnItemScrollsAsLittleAsPossible) {
  EXPECT_EQ(20, ScrollStartToShow(20, 10, 25));  // already visible
  EXPECT_EQ(12, ScrollStartToShow(20, 10, 12));  // above: it becomes the first
  EXPECT_EQ(21, ScrollStartToShow(20, 10, 30));  // below: it becomes the last
  EXPECT_EQ(30, ScrollStartToShow(20, 0, 30));   // a view of no whole row still shows one
}

TEST(ScrollArithmeticTest, ShowingARangePrefersItsStart) {
  EXPECT_EQ(20, ScrollStartToShowRange(20, 10, 22, 28));
  EXPECT_EQ(25, ScrollStartToShowRange(20, 10, 30, 34));  // whole range fits: minimal move
  EXPECT_EQ(8, ScrollStartToShowRange(20, 10, 8, 12));
  EXPECT_EQ(40, ScrollStartToShowRange(0, 10, 40, 80));   // too wide: its start first
  EXPECT_EQ(40, ScrollStartToShowRange(60, 10, 40, 80));
}

}  // namespace
}  // namespace mirravel
