// The list, the program's own catalogue view, in the real main window over a sample text: its text and
// scroll ranges, selections set from outside and their reports to the program, keys with and without Shift
// and Ctrl, the mouse, the clipboard, the wheel and scroll bars, and the selection's colours with and
// without the focus. The caret and scroll rules are pinned by the unit tests; each row takes one Win32 path.
#include <richedit.h>

#include <cstdio>
#include <string>

#include "tests/e2e/suites/window_layer.h"
#include "tests/helpers/packed_stream.h"

namespace mirravel::e2e {
namespace {

// A few hundred catalogue-like lines, every third with a comment, and one much longer line.
constexpr int kSampleLines = 300;
constexpr int kLongLine = 150;
constexpr int kMargin = 2;  // the view's space left of column 0

std::string SampleLine(int index) {
  char line[64];
  std::snprintf(line, sizeof line, "#VIEW_CONST_%03d = $%X", index, index * 17);
  if (index == kLongLine) return line + (" ' " + std::string(240, 'w') + " end");
  return index % 3 == 0 ? line + (" ' comment " + std::to_string(index)) : line;
}

std::string SampleText() {
  std::string text;
  for (int i = 0; i < kSampleLines; ++i) text += SampleLine(i) + "\r\n";
  return text;
}

// The view's position (one character per line break) of a column of a line.
int P(int line, int column) {
  for (int i = 0; i < line; ++i) column += static_cast<int>(SampleLine(i).size()) + 1;
  return column;
}
const int kLength = P(kSampleLines, 0);
int LineLength(int line) { return static_cast<int>(SampleLine(line).size()); }
std::string Selection(int from, int to) { return "selection " + std::to_string(from) + " " + std::to_string(to); }

struct List {
  Fixture& f;
  HWND view;
  TEXTMETRICA metrics{};

  explicit List(Fixture& fixture) : f(fixture), view(fixture.Control(kListView)) {
    HDC dc = ::GetDC(view);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(view, WM_GETFONT, 0, 0)));
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(view, dc);
  }
  int LineHeight() const { return metrics.tmHeight + metrics.tmExternalLeading; }
  SCROLLINFO Scroll(int bar) const {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(view, bar, &info);
    return info;
  }
  int Page() const { return static_cast<int>(Scroll(SB_VERT).nPage); }
  std::pair<int, int> Place() const { return {Scroll(SB_VERT).nPos, Scroll(SB_HORZ).nPos}; }  // first line, column
  bool WaitForSelection(int start, int end) const {
    const auto selection = [&] {
      DWORD from = 0, to = 0;
      ::SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
      return std::make_pair(static_cast<int>(from), static_cast<int>(to));
    };
    f.PumpUntil([&] { return selection() == std::make_pair(start, end); });
    return CHECK_EQ(std::make_pair(start, end), selection());
  }
  // A client point in the middle of a character cell, or at its left edge: the hit test rounds to the
  // nearest boundary, so the edge lands on the column itself.
  POINT Cell(int line, int column, bool edge = false) const {
    const auto [first, left] = Place();
    return {kMargin + (column - left) * metrics.tmAveCharWidth + (edge ? 1 : metrics.tmAveCharWidth / 2),
            (line - first) * LineHeight() + LineHeight() / 2};
  }
  void ScrollToTop() const {
    ::PostMessageA(view, WM_VSCROLL, SB_TOP, 0);
    ::PostMessageA(view, WM_HSCROLL, SB_TOP, 0);
    f.PumpUntil([&] { return Place() == std::make_pair(0, 0); });
  }
};

// One row per line and the empty row after the final line break; one column more than the longest line.
void CheckTextAndScrollRanges(const List& list) {
  SetContext("list text and scroll ranges");
  CHECK_EQ(SampleText(), GetText(list.view));
  CHECK_EQ(kSampleLines, list.f.window->ListLineCount());
  CHECK_EQ(static_cast<LRESULT>(P(120, 0)), ::SendMessageA(list.view, EM_LINEINDEX, 120, 0));
  CHECK_EQ(static_cast<LRESULT>(120), ::SendMessageA(list.view, EM_EXLINEFROMCHAR, 0, P(120, 7)));
  const RECT client = ClientRect(list.view);
  CHECK_EQ(std::make_pair(kSampleLines, LineLength(kLongLine)),
           std::make_pair(list.Scroll(SB_VERT).nMax, list.Scroll(SB_HORZ).nMax));
  CHECK_EQ(std::make_pair(client.bottom / list.LineHeight(), (client.right - kMargin) / list.metrics.tmAveCharWidth),
           std::make_pair(static_cast<LONG>(list.Page()), static_cast<LONG>(list.Scroll(SB_HORZ).nPage)));
}

// Every selection set from outside or by the program is reported, also the same one again, and scrolled
// into view; out-of-range ends are clamped.
void CheckSetSelection(const List& list) {
  SetContext("selection set");
  list.f.hook.calls.clear();
  for (int i = 0; i < 2; ++i) ::SendMessageA(list.view, EM_SETSEL, static_cast<WPARAM>(P(200, 0)), P(200, 17));
  const int first = list.Place().first;
  CHECK_NOTE(first <= 200 && 200 < first + list.Page(), "line 200 scrolled into view");
  CHECK_EQ(static_cast<LRESULT>(first), ::SendMessageA(list.view, EM_GETFIRSTVISIBLELINE, 0, 0));
  list.f.window->SelectInList(P(3, 9), P(3, 2));
  CHECK(list.WaitForSelection(P(3, 2), P(3, 9)));
  CHECK_EQ(0, list.Place().first);
  const struct { WPARAM anchor; LPARAM caret; int start, end; } cases[] = {
      {0, -1, 0, kLength}, {static_cast<WPARAM>(-1), 0, kLength, kLength}, {5, 99999, 5, kLength}};
  for (const auto& c : cases) {
    ::SendMessageA(list.view, EM_SETSEL, c.anchor, c.caret);
    CHECK(list.WaitForSelection(c.start, c.end));
  }
  const std::string twice = Selection(P(200, 0), P(200, 17));
  CHECK_EQ(twice + ", " + twice + ", " + Selection(P(3, 2), P(3, 9)) + ", " + Selection(0, kLength) + ", " +
               Selection(kLength, kLength) + ", " + Selection(5, kLength),
           list.f.hook.calls);
}

// Keys from the keyboard (the state of Shift and Ctrl does not travel with posted messages), each from
// where the one before left the caret; Ctrl+C and Ctrl+A arrive as TranslateMessage makes them; typing
// changes nothing. (Tab is walked by the window suite.)
void CheckKeys(const List& list) {
  ::SetForegroundWindow(list.f.main);
  ::SetFocus(list.view);
  ::SendMessageA(list.view, EM_SETSEL, static_cast<WPARAM>(P(10, 5)), P(10, 5));
  ClearClipboard();
  const int page = list.Page();
  const struct {
    const char* name;
    std::initializer_list<WORD> keys;
    int start, end;
    int firstLine;  // -1: not checked
  } steps[] = {
      {"Down", {VK_DOWN}, P(11, 5), P(11, 5), -1},
      {"End", {VK_END}, P(11, LineLength(11)), P(11, LineLength(11)), -1},
      {"Home", {VK_HOME}, P(11, 0), P(11, 0), -1},
      {"Left over the break", {VK_LEFT}, P(10, LineLength(10)), P(10, LineLength(10)), -1},
      {"Right over the break", {VK_RIGHT}, P(11, 0), P(11, 0), -1},
      {"Page Down", {VK_NEXT}, P(11 + page, 0), P(11 + page, 0), -1},
      {"Page Up", {VK_PRIOR}, P(11, 0), P(11, 0), -1},
      {"Up", {VK_UP}, P(10, 0), P(10, 0), -1},
      {"Shift+Down", {VK_SHIFT, VK_DOWN}, P(10, 0), P(11, 0), -1},
      {"Ctrl+C", {VK_CONTROL, 'C'}, P(10, 0), P(11, 0), -1},
      {"typing", {'X'}, P(10, 0), P(11, 0), -1},
      {"Ctrl+A", {VK_CONTROL, 'A'}, 0, kLength, -1},
      {"Ctrl+End", {VK_CONTROL, VK_END}, kLength, kLength, kSampleLines + 1 - page},
      {"Ctrl+Home", {VK_CONTROL, VK_HOME}, 0, 0, 0},
      {"Ctrl+Shift+Right", {VK_CONTROL, VK_SHIFT, VK_RIGHT}, 0, 1, -1},  // over "#" to the start of the name
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    SendKeys(step.keys);
    CHECK(list.WaitForSelection(step.start, step.end));
    if (step.firstLine >= 0) CHECK_EQ(step.firstLine, list.Place().first);
  }
  SetContext("copied, unchanged");
  CHECK_EQ(SampleLine(10) + "\r\n", ClipboardText());
  CHECK_EQ(SampleText(), GetText(list.view));
}

void HoldShift(bool down) {  // for posted clicks, which read the thread's key state
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// A press places the caret, a drag selects from there and a shift-click from the anchor; a double click
// selects a word; a right click is reported to the program.
void CheckMouse(const List& list) {
  list.ScrollToTop();
  const struct {
    const char* name;
    UINT message;
    POINT at;
    int start, end;
  } steps[] = {
      {"press", WM_LBUTTONDOWN, list.Cell(5, 2, true), P(5, 2), P(5, 2)},
      {"drag", WM_MOUSEMOVE, list.Cell(7, 6, true), P(5, 2), P(7, 6)},
      {"release", WM_LBUTTONUP, list.Cell(7, 6, true), P(5, 2), P(7, 6)},
      {"right button", WM_RBUTTONDOWN, list.Cell(6, 3), P(5, 2), P(7, 6)},
      {"shift-click", WM_LBUTTONDOWN, list.Cell(9, 4, true), P(5, 2), P(9, 4)},
      {"double click", WM_LBUTTONDBLCLK, list.Cell(12, 6), P(12, 1), P(12, 15)},  // "VIEW_CONST_012"
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    const bool shift = std::string(step.name) == "shift-click";
    HoldShift(shift);
    ::PostMessageA(list.view, step.message, step.message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                   MAKELPARAM(step.at.x, step.at.y));
    CHECK(list.WaitForSelection(step.start, step.end));
    if (shift) ::PostMessageA(list.view, WM_LBUTTONUP, 0, MAKELPARAM(step.at.x, step.at.y));
    HoldShift(false);
    CHECK_EQ(step.message == WM_RBUTTONDOWN ? "right button" : Selection(step.start, step.end), list.f.hook.Last());
  }
}

void CheckWheelAndScrollBars(const List& list) {
  list.ScrollToTop();
  UINT lines = 3, characters = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &characters, 0);
  const int wheel = static_cast<int>(lines), tilt = static_cast<int>(characters), page = list.Page();
  const int last = kSampleLines + 1 - page;
  const auto turn = [](int delta, WORD keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
    int line, column;  // the first visible line and column afterwards
  } steps[] = {
      {"wheel down", WM_MOUSEWHEEL, turn(-WHEEL_DELTA), wheel, 0},
      {"half a notch waits", WM_MOUSEWHEEL, turn(-WHEEL_DELTA / 2), wheel, 0},
      {"the other half scrolls", WM_MOUSEWHEEL, turn(-WHEEL_DELTA / 2), 2 * wheel, 0},
      {"shift+wheel down goes right", WM_MOUSEWHEEL, turn(-WHEEL_DELTA, MK_SHIFT), 2 * wheel, tilt},
      {"tilt right", WM_MOUSEHWHEEL, turn(WHEEL_DELTA), 2 * wheel, 2 * tilt},
      {"page down", WM_VSCROLL, SB_PAGEDOWN, 2 * wheel + page, 2 * tilt},
      {"line up", WM_VSCROLL, SB_LINEUP, 2 * wheel + page - 1, 2 * tilt},
      {"bottom", WM_VSCROLL, SB_BOTTOM, last, 2 * tilt},
      {"column right", WM_HSCROLL, SB_LINEDOWN, last, 2 * tilt + 1},
      {"leftmost", WM_HSCROLL, SB_TOP, last, 0},
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    ::PostMessageA(list.view, step.message, step.wParam, 0);
    list.f.PumpUntil([&] { return list.Place() == std::make_pair(step.line, step.column); }, 1000);
    CHECK_EQ(std::make_pair(step.line, step.column), list.Place());
  }
}

// The selection in the highlight colour while the view has the focus, and in a colour of its own without.
void CheckSelectionColours(const List& list) {
  SetContext("selection colours");
  list.ScrollToTop();
  ::SetFocus(list.view);
  ::SendMessageA(list.view, EM_SETSEL, static_cast<WPARAM>(P(1, 15)), P(1, 16));  // the blank before "="
  const auto highlight = static_cast<unsigned long>(::GetSysColor(COLOR_HIGHLIGHT));
  const auto paper = static_cast<unsigned long>(::GetSysColor(COLOR_WINDOW));
  const auto pixel = [&](int column) { return static_cast<unsigned long>(ScreenPixel(list.view, list.Cell(1, column))); };
  list.f.PumpUntil([&] { return pixel(15) == highlight; });
  CHECK_EQ(highlight, pixel(15));
  CHECK_EQ(paper, pixel(17));  // the blank after "="
  ::SetFocus(list.f.Control(kFindField));
  list.f.PumpUntil([&] { return pixel(15) != highlight; });
  CHECK_NOTE(pixel(15) != highlight && pixel(15) != paper, "without the focus: " + Describe(pixel(15)));
}

}  // namespace

void CheckList(Fixture& f) {
  const testing::Bytes block = testing::LiteralBlock(SampleText());
  CHECK(f.window->UnpackIntoList(block.data(), block.size()) == CatalogueLoad::Loaded);
  f.platform.InstallMessageHook(f.hook);
  const List list(f);
  CheckTextAndScrollRanges(list);
  CheckSetSelection(list);
  CheckKeys(list);
  CheckMouse(list);
  CheckWheelAndScrollBars(list);
  CheckSelectionColours(list);
}

}  // namespace mirravel::e2e
