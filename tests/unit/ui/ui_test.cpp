// The main window's portable rules: the event queue hands events out oldest first and stays bounded; Tab
// and Shift+Tab walk the controls that can take the focus, wrapping at either end; the layout keeps every
// control inside its parent and apart from the others (the order Tab walks is the window suite's); the
// catalogue view's caret keys, hit testing, double-click words and scroll arithmetic.
#include <gtest/gtest.h>

#include "ui/event_queue.h"
#include "ui/main_window_layout.h"
#include "ui/tab_order.h"
#include "ui/text_view_navigation.h"

namespace mirravel {
namespace {

using Kind = WindowEvent::Kind;

TEST(EventQueue, OldestFirstAndAFullQueueKeepsTheEarliestEvents) {
  EventQueue queue;
  EXPECT_FALSE(queue.Push({}));  // "nothing happened" is not an event
  const auto kindOf = [](int i) { return i % 2 ? Kind::Menu : Kind::Gadget; };
  for (int i = 0; i < static_cast<int>(EventQueue::kCapacity); ++i) EXPECT_TRUE(queue.Push({kindOf(i), i}));
  EXPECT_FALSE(queue.Push({Kind::Close, 0}));
  EXPECT_EQ(queue.Size(), EventQueue::kCapacity);
  EXPECT_EQ(queue.Pop().id, 0);
  EXPECT_TRUE(queue.Push({Kind::Close, 0}));  // room again after one was taken
  for (int i = 1; i < static_cast<int>(EventQueue::kCapacity); ++i) {
    const WindowEvent got = queue.Pop();
    EXPECT_EQ(std::pair(got.kind, got.id), std::pair(kindOf(i), i));
  }
  EXPECT_EQ(queue.Pop().kind, Kind::Close);
  EXPECT_EQ(queue.Pop().kind, Kind::None);
}

TEST(TabOrder, ForwardAndBackwardSkipControlsThatCannotTakeTheFocusAndWrap) {
  // As in the main window outside plugin mode: box, copy field, "?" (disabled), copy button (disabled),
  // tab control, label (no tab stop), find field, find button, "Only value", list, hidden Options page.
  const std::vector<bool> eligible = {true, true, false, false, true, false, true, true, true, true, false, false};
  const struct { int current; bool backward; int expected; } cases[] = {
      {9, false, 0}, {1, false, 4}, {0, true, 9}, {4, true, 1}, {-1, false, 0}, {-1, true, 9},
      {12, false, 0}, {2, false, 4},  // from a control that cannot take the focus
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextTabStop(eligible, c.current, c.backward), c.expected) << c.current << (c.backward ? " backward" : "");
  }
  EXPECT_EQ(NextTabStop({false, true, false}, 1, true), 1);  // the only one keeps the focus
  EXPECT_EQ(NextTabStop({false, false}, 0, false), -1);
}

TEST(MainWindowLayout, EveryControlInsideItsParentApartFromTheOthersAndTabPagesBelowTheStrip) {
  const auto overlap = [](const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  };
  const LayoutRect& panel = FindControlLayout(kTabPanel)->place;
  // The strip of one row of tabs in the default GUI font is about 20 pixels high; allow some spread.
  for (int strip = 18; strip <= 23; ++strip) {
    const LayoutRect page = TabPageRect(panel.width, panel.height, strip);
    for (const ControlLayout& c : kMainWindowControls) {
      const bool inWindow = c.parent == ControlParent::Window;
      const LayoutRect r = c.place;
      EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= (inWindow ? kMainClientWidth : page.width) &&
                  r.y + r.height <= (inWindow ? kMainClientHeight : page.height))
          << "control " << c.id << ", strip " << strip;
    }
  }
  for (const ControlLayout& a : kMainWindowControls) {
    EXPECT_EQ(FindControlLayout(a.id), &a);
    for (const ControlLayout& b : kMainWindowControls) {
      EXPECT_TRUE(&a == &b || a.parent != b.parent || !overlap(a.place, b.place)) << "controls " << a.id << " and " << b.id;
    }
  }
  for (const auto& [strip, y, height] : {std::tuple{20, 24, 249}, {40, 44, 229}}) {
    const LayoutRect page = TabPageRect(425, 275, strip);
    EXPECT_EQ(std::tuple(page.x, page.y, page.width, page.height), std::tuple(2, y, 421, height)) << strip;
  }
}

TEST(TextViewNavigation, ViewLinesHitTestingCaretKeysAndDoubleClickWords) {
  // Lines: "#AB = $1 ' x" (0-11), "#C = $22" (13-20), "" (22), "#LONGER_NAME = $3" (23-39), then the
  // empty view line after the final break at 41.
  CatalogueText text;
  text.Assign("#AB = $1 ' x\r\n#C = $22\r\n\r\n#LONGER_NAME = $3\r\n");
  // A line break belongs to the line it ends.
  EXPECT_EQ(std::tuple(text.LineCount(), ViewLineCount(text), ViewLineOf(text, 40), ViewLineOf(text, 41), ViewLineStart(text, 4)),
            std::tuple(4, 5, 3, 4, 41));
  for (const auto& [line, length] : {std::pair{4, 0}, {2, 0}, {3, 17}}) EXPECT_EQ(length, ViewLineLength(text, line));
  const struct { std::int32_t line, column, position; } hits[] = {
      {1, 3, 16}, {1, 50, 21} /* past the end: before the line break */, {2, 4, 22}, {-3, -3, 0}, {99, 0, 41}};
  for (const auto& hit : hits) EXPECT_EQ(hit.position, PositionAt(text, hit.line, hit.column)) << hit.line << "," << hit.column;
  CatalogueText unterminated;
  unterminated.Assign("ab\ncd");
  EXPECT_EQ(std::tuple(ViewLineCount(unterminated), ViewLineOf(unterminated, 5), ColumnOf(unterminated, 5)), std::tuple(2, 1, 2));
  EXPECT_EQ(ViewLineCount(CatalogueText()), 1);

  const struct {
    std::int32_t caret;
    CaretKey key;
    std::int32_t caretAfter;
    std::int32_t goal = -1;  // the column aimed for; -1: the caret's own
    std::int32_t page = 2;
    std::int32_t goalAfter = -1;  // -1: not checked
  } keys[] = {
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
      {30, CaretKey::TextStart, 0}, {3, CaretKey::TextEnd, 41},
      // "#" then "AB"; "AB = $" to "1"; "x", line break, "#" to "C".
      {0, CaretKey::WordRight, 1}, {1, CaretKey::WordRight, 7}, {11, CaretKey::WordRight, 14},
      {7, CaretKey::WordLeft, 1}, {14, CaretKey::WordLeft, 11},
  };
  for (const auto& c : keys) {
    text.Select(c.caret, c.caret);
    const CaretMove move = MoveCaret(text, c.caret, c.goal < 0 ? ColumnOf(text, c.caret) : c.goal, c.key, c.page, false);
    EXPECT_EQ(move.caret, c.caretAfter) << "from " << c.caret << ", key " << static_cast<int>(c.key);
    EXPECT_TRUE(c.goalAfter < 0 || move.goalColumn == c.goalAfter) << "from " << c.caret;
  }
  // Left and Right collapse a selection to its start or end unless they extend it.
  const struct { std::int32_t anchor, caret; CaretKey key; bool extending; std::int32_t caretAfter; } selections[] = {
      {2, 7, CaretKey::Left, false, 2}, {2, 7, CaretKey::Left, true, 6}, {7, 2, CaretKey::Right, false, 7}};
  for (const auto& s : selections) {
    text.Select(s.anchor, s.caret);
    EXPECT_EQ(MoveCaret(text, s.caret, s.caret, s.key, 2, s.extending).caret, s.caretAfter) << s.anchor << "-" << s.caret;
  }
  // A double click takes the run of word characters.
  const struct { std::int32_t position, start, end; } words[] = {
      // Inside "AB", at its first letter, just after it; "#" and the blank after "=" each alone.
      {2, 1, 3}, {1, 1, 3}, {3, 1, 3}, {0, 0, 1}, {5, 5, 6},
      // After "x" at the end of line 0; nothing on the empty line; "LONGER_NAME" with its underscore; the end.
      {12, 11, 12}, {22, 22, 22}, {26, 24, 35}, {41, 41, 41},
  };
  for (const auto& c : words) {
    const TextRange word = WordAt(text, c.position);
    EXPECT_EQ(std::make_pair(word.start, word.end), std::make_pair(c.start, c.end)) << "at " << c.position;
  }
}

TEST(ScrollArithmetic, StaysWithinTheRangeAndMovesAsLittleAsPossible) {
  EXPECT_EQ(90, LastScrollStart(100, 10));
  EXPECT_EQ(99, LastScrollStart(100, 0));
  EXPECT_EQ(0, ClampScrollStart(-4, 100, 10));
  EXPECT_EQ(90, ClampScrollStart(95, 100, 10));
  EXPECT_EQ(20, ScrollStartToShow(20, 10, 25));  // already visible
  EXPECT_EQ(12, ScrollStartToShow(20, 10, 12));  // above: it becomes the first
  EXPECT_EQ(21, ScrollStartToShow(20, 10, 30));  // below: it becomes the last
  EXPECT_EQ(30, ScrollStartToShow(20, 0, 30));   // a view of no whole row still shows one
  EXPECT_EQ(25, ScrollStartToShowRange(20, 10, 30, 34));  // whole range fits: minimal move
  EXPECT_EQ(8, ScrollStartToShowRange(20, 10, 8, 12));
  EXPECT_EQ(40, ScrollStartToShowRange(0, 10, 40, 80));   // too wide: its start first
  EXPECT_EQ(40, ScrollStartToShowRange(60, 10, 40, 80));
}

}  // namespace
}  // namespace mirravel
