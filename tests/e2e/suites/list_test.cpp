// The list, the program's own catalogue view, in the real main window over a sample text: its text and
// scroll ranges, program-set selections and their notifications, keys with and without Shift and Ctrl,
// the mouse and the message filter, the clipboard, the wheel and scroll bars, and the selection's colours
// with and without the focus. The caret and scroll rules are pinned by the unit tests; each row here takes
// one Win32 path.
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
int SampleLength() { return P(kSampleLines, 0); }
int LineLength(int line) { return static_cast<int>(SampleLine(line).size()); }

// What the list tells its page, seen by a subclass of the page in front of the program's own.
struct PageRecord {
  int selectionChanges = 0;
  std::string lastSelectionChange;  // "cpMin cpMax seltyp"
  UINT lastMouseMessage = 0;        // moves left out
  bool blockLeftButton = false;     // answer EN_MSGFILTER for WM_LBUTTONDOWN with 1: the view ignores it
} record;

LRESULT CALLBACK RecordingPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (message == WM_NOTIFY && header->code == EN_SELCHANGE) {
    const auto& change = *reinterpret_cast<const SELCHANGE*>(lParam);
    ++record.selectionChanges;
    record.lastSelectionChange = Describe(change.chrg.cpMin) + " " + Describe(change.chrg.cpMax) + " " +
                                 Describe(change.seltyp);
  } else if (message == WM_NOTIFY && header->code == EN_MSGFILTER) {
    const UINT filtered = reinterpret_cast<const MSGFILTER*>(lParam)->msg;
    if (filtered != WM_MOUSEMOVE) record.lastMouseMessage = filtered;
    if (record.blockLeftButton && filtered == WM_LBUTTONDOWN) return 1;
  }
  return ::DefSubclassProc(page, message, wParam, lParam);
}

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
  int CharWidth() const { return metrics.tmAveCharWidth; }
  SCROLLINFO Scroll(int bar) const {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(view, bar, &info);
    return info;
  }
  std::pair<int, int> Place() const { return {Scroll(SB_VERT).nPos, Scroll(SB_HORZ).nPos}; }  // first line, column
  std::pair<int, int> Selection() const {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  bool WaitForSelection(int start, int end) const {
    PumpUntil(f, [&] { return Selection() == std::make_pair(start, end); });
    return CHECK_EQ(std::make_pair(start, end), Selection());
  }
  // A client point in the middle of a character cell, or at its left edge: the hit test rounds to the
  // nearest boundary, so the edge lands on the column itself.
  POINT Cell(int line, int column, bool edge = false) const {
    const auto [first, left] = Place();
    return {kMargin + (column - left) * CharWidth() + (edge ? 1 : CharWidth() / 2),
            (line - first) * LineHeight() + LineHeight() / 2};
  }
  void ScrollToTop() const {
    ::PostMessageA(view, WM_VSCROLL, SB_TOP, 0);
    ::PostMessageA(view, WM_HSCROLL, SB_TOP, 0);
    PumpUntil(f, [&] { return Place() == std::make_pair(0, 0); });
  }
};

void CheckTextAndScrollRanges(const List& list) {
  SetContext("list text");
  HWND view = list.view;
  CHECK_EQ(SampleText(), GetText(view));
  CHECK_EQ(static_cast<LRESULT>(kSampleLines), ::SendMessageA(view, EM_GETLINECOUNT, 0, 0));
  CHECK_EQ(kSampleLines, list.f.window->ListLineCount());
  CHECK_EQ(static_cast<LRESULT>(P(120, 0)), ::SendMessageA(view, EM_LINEINDEX, 120, 0));
  CHECK_EQ(static_cast<LRESULT>(120), ::SendMessageA(view, EM_EXLINEFROMCHAR, 0, P(120, 7)));

  // One row per line and the empty row after the final line break; one column more than the longest line.
  SetContext("scroll ranges");
  const RECT client = ClientRect(view);
  CHECK_NOTE(list.LineHeight() > 0 && list.CharWidth() > 0, "font metrics");
  CHECK_EQ(std::make_pair(kSampleLines, LineLength(kLongLine)),
           std::make_pair(list.Scroll(SB_VERT).nMax, list.Scroll(SB_HORZ).nMax));
  CHECK_EQ(
      std::make_pair(client.bottom / list.LineHeight(), (client.right - kMargin) / list.CharWidth()),
      std::make_pair(static_cast<LONG>(list.Scroll(SB_VERT).nPage), static_cast<LONG>(list.Scroll(SB_HORZ).nPage)));
}

// Every selection the program sets is reported, also the same one again, and scrolled into view.
void CheckProgramSelection(const List& list) {
  SetContext("program selection");
  const int start = P(200, 0);
  const int changes = record.selectionChanges;
  for (int i = 0; i < 2; ++i) ::SendMessageA(list.view, EM_SETSEL, static_cast<WPARAM>(start), start + 17);
  CHECK_EQ(changes + 2, record.selectionChanges);
  CHECK_EQ(Describe(start) + " " + Describe(start + 17) + " 5", record.lastSelectionChange);
  const int first = list.Place().first;
  CHECK_NOTE(first <= 200 && 200 < first + static_cast<int>(list.Scroll(SB_VERT).nPage), "line 200 scrolled into view");
  CHECK_EQ(static_cast<LRESULT>(first), ::SendMessageA(list.view, EM_GETFIRSTVISIBLELINE, 0, 0));
  list.f.window->SelectInList(P(3, 9), P(3, 2));
  CHECK_EQ(0, list.Place().first);
  CHECK(list.WaitForSelection(P(3, 2), P(3, 9)));
  const struct {
    WPARAM anchor;
    LPARAM caret;
    int start;
    int end;
  } cases[] = {{0, -1, 0, SampleLength()},
               {static_cast<WPARAM>(-1), 0, SampleLength(), SampleLength()},
               {5, 99999, 5, SampleLength()}};
  for (const auto& c : cases) {
    ::SendMessageA(list.view, EM_SETSEL, c.anchor, c.caret);
    CHECK(list.WaitForSelection(c.start, c.end));
  }
  CHECK_EQ(changes + 6, record.selectionChanges);
}

// Keys from the keyboard (the state of Shift and Ctrl does not travel with posted messages), each from
// where the one before left the caret; Ctrl+C and Ctrl+A arrive as TranslateMessage makes them; typing
// changes nothing. (Tab is walked by the window suite.)
void CheckKeys(const List& list) {
  ::SetForegroundWindow(list.f.main);
  ::SetFocus(list.view);
  ::SendMessageA(list.view, EM_SETSEL, static_cast<WPARAM>(P(10, 5)), P(10, 5));
  ClearClipboard();
  const int page = static_cast<int>(list.Scroll(SB_VERT).nPage);
  const struct {
    const char* name;
    std::initializer_list<WORD> keys;
    int start;
    int end;
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
      {"Ctrl+A", {VK_CONTROL, 'A'}, 0, SampleLength(), -1},
      {"Ctrl+End", {VK_CONTROL, VK_END}, SampleLength(), SampleLength(), kSampleLines + 1 - page},
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

// A press places the caret and a drag selects from there; the message filter sees each button and can
// swallow a press; a double click selects a word.
void CheckMouse(const List& list) {
  list.ScrollToTop();
  HWND view = list.view;
  const struct {
    const char* name;
    UINT message;
    WPARAM keys;
    POINT at;
    int start;
    int end;
    UINT filtered;  // the last message the filter saw
  } steps[] = {
      {"drag", WM_LBUTTONDOWN, MK_LBUTTON, list.Cell(5, 2, true), P(5, 2), P(5, 2), WM_LBUTTONDOWN},
      {"drag on", WM_MOUSEMOVE, MK_LBUTTON, list.Cell(7, 6, true), P(5, 2), P(7, 6), WM_LBUTTONDOWN},
      {"drag ends", WM_LBUTTONUP, 0, list.Cell(7, 6, true), P(5, 2), P(7, 6), WM_LBUTTONUP},
      {"right button", WM_RBUTTONDOWN, MK_RBUTTON, list.Cell(6, 3), P(5, 2), P(7, 6), WM_RBUTTONDOWN},
      {"filtered click", WM_LBUTTONDOWN, MK_LBUTTON, list.Cell(8, 2, true), P(5, 2), P(7, 6), WM_LBUTTONDOWN},
      {"double click", WM_LBUTTONDBLCLK, MK_LBUTTON, list.Cell(12, 6), P(12, 1), P(12, 15), WM_LBUTTONDBLCLK},
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    record.blockLeftButton = std::string(step.name) == "filtered click";
    ::PostMessageA(view, step.message, step.keys, MAKELPARAM(step.at.x, step.at.y));
    PumpUntil(list.f, [&] { return record.lastMouseMessage == step.filtered; });
    CHECK_EQ(step.filtered, record.lastMouseMessage);
    CHECK(list.WaitForSelection(step.start, step.end));  // "VIEW_CONST_012" for the double click
  }
  record.blockLeftButton = false;
}

void CheckWheelAndScrollBars(const List& list) {
  list.ScrollToTop();
  UINT lines = 3;
  UINT characters = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &characters, 0);
  const int wheel = static_cast<int>(lines);
  const int tilt = static_cast<int>(characters);
  const int page = static_cast<int>(list.Scroll(SB_VERT).nPage);
  const int last = kSampleLines + 1 - page;
  const auto turn = [](int delta, WORD keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
    int line;  // the first visible line and column afterwards
    int column;
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
    PumpUntil(list.f, [&] { return list.Place() == std::make_pair(step.line, step.column); }, 1000);
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
  const auto pixel = [&](int column) {
    return static_cast<unsigned long>(ScreenPixel(list.view, list.Cell(1, column)));
  };
  PumpUntil(list.f, [&] { return pixel(15) == highlight; });
  CHECK_EQ(highlight, pixel(15));
  CHECK_EQ(paper, pixel(17));  // the blank after "="
  ::SetFocus(list.f.Control(kFindField));
  PumpUntil(list.f, [&] { return pixel(15) != highlight; });
  CHECK_NOTE(pixel(15) != highlight && pixel(15) != paper, "without the focus: " + Describe(pixel(15)));
}

}  // namespace

void CheckList(Fixture& f) {
  const testing::Bytes block = testing::LiteralBlock(SampleText());
  CHECK(f.window->UnpackIntoList(block.data(), block.size()) == CatalogueLoad::Loaded);
  ::SetWindowSubclass(::GetParent(f.Control(kListView)), RecordingPage, 1, 0);
  const List list(f);
  CheckTextAndScrollRanges(list);
  CheckProgramSelection(list);
  CheckKeys(list);
  CheckMouse(list);
  CheckWheelAndScrollBars(list);
  CheckSelectionColours(list);
  ::RemoveWindowSubclass(::GetParent(f.Control(kListView)), RecordingPage, 1);
}

}  // namespace mirravel::e2e
