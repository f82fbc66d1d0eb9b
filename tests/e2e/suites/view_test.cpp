// The catalogue view driven from outside its process, in the view host: its text and scroll ranges,
// program-set selections and their notifications, keys with and without Shift and Ctrl, the mouse and the
// message filter, the clipboard, the wheel and scroll bars, and the selection's colours with and without
// the focus. The caret and scroll rules are pinned by the unit tests; each row here takes one Win32 path.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "tests/e2e/suites/session.h"
#include "tests/e2e/view_host/view_host_protocol.h"

namespace mirravel::e2e {
namespace {

constexpr DWORD kStepTimeoutMs = 3000;
constexpr int kMargin = 2;  // the view's space left of column 0

int P(int line, int column) { return SamplePosition(line, column); }
int SampleLength() { return P(kSampleLines, 0); }
int LineLength(int line) { return static_cast<int>(SampleLine(line).size()); }

class ViewHost : public Session {
 public:
  HWND View() const { return Control(kHostViewId); }
  int Query(HostQuery what) const { return static_cast<int>(Send(Main(), kHostQuery, what)); }
  std::pair<int, int> Selection() const {
    const auto packed = static_cast<DWORD>(Send(View(), EM_GETSEL));
    return {LOWORD(packed), HIWORD(packed)};
  }
  bool WaitForSelection(int start, int end) const {
    WaitUntil([&] { return Selection() == std::make_pair(start, end); }, kStepTimeoutMs);
    return CHECK_EQ(std::make_pair(start, end), Selection());
  }
  int SelectionChanges() const {
    int count = 0;  // none reported while the log is empty
    std::sscanf(GetText(Control(kHostSelectionLogId)).c_str(), "SELCHANGE %d", &count);
    return count;
  }
  std::string LastMouseMessage() const {
    const std::string log = GetText(Control(kHostMouseLogId));
    return log.substr(log.rfind(' ') + 1);
  }
  // A client point in the middle of a character cell, or at its left edge: the hit test rounds to the
  // nearest boundary, so the edge lands on the column itself.
  POINT Cell(int line, int column, bool edge = false) const {
    const int width = Query(kCharWidth);
    const int height = Query(kLineHeight);
    return {kMargin + (column - Query(kFirstColumn)) * width + (edge ? 1 : width / 2),
            (line - Query(kFirstLine)) * height + height / 2};
  }
  void ScrollToTop() const {
    Post(View(), WM_VSCROLL, SB_TOP);
    Post(View(), WM_HSCROLL, SB_TOP);
    WaitUntil([&] { return Query(kFirstLine) == 0 && Query(kFirstColumn) == 0; }, kStepTimeoutMs);
  }
};

LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }

void CheckTextAndScrollRanges(ViewHost& host) {
  SetContext("text");
  HWND view = host.View();
  CHECK_EQ(std::string("MirravelCatalogueView"), ClassName(view));
  CHECK_EQ(static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL | WS_TABSTOP), Style(view) & (WS_VSCROLL | WS_HSCROLL | WS_TABSTOP));
  CHECK_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), ExStyle(view) & WS_EX_CLIENTEDGE);
  CHECK_EQ(SampleText(), GetText(view));
  CHECK_EQ(static_cast<LRESULT>(SampleText().size()), Send(view, WM_GETTEXTLENGTH));
  CHECK_EQ(static_cast<LRESULT>(kSampleLines), Send(view, EM_GETLINECOUNT));
  CHECK_EQ(static_cast<LRESULT>(P(120, 0)), Send(view, EM_LINEINDEX, 120));
  CHECK_EQ(static_cast<LRESULT>(120), Send(view, EM_EXLINEFROMCHAR, 0, P(120, 7)));

  // One row per line and the empty row after the final line break; one column more than the longest line.
  SetContext("scroll ranges");
  const RECT client = ClientRect(view);
  CHECK_NOTE(host.Query(kLineHeight) > 0 && host.Query(kCharWidth) > 0, "font metrics");
  CHECK_EQ(kSampleLines, host.Query(kLastLine));
  CHECK_EQ(LineLength(kSampleLongLine), host.Query(kLastColumn));
  CHECK_EQ(static_cast<int>(client.bottom) / host.Query(kLineHeight), host.Query(kLinesPerPage));
  CHECK_EQ((static_cast<int>(client.right) - kMargin) / host.Query(kCharWidth), host.Query(kColumnsPerPage));
}

// Every selection the program sets is reported, also the same one again, and scrolled into view.
void CheckProgramSelection(ViewHost& host) {
  SetContext("program selection");
  HWND view = host.View();
  const int start = P(200, 0);
  const int changes = host.SelectionChanges();
  Send(view, EM_SETSEL, static_cast<WPARAM>(start), start + 17);
  CHECK_EQ("SELCHANGE " + std::to_string(changes + 1) + " " + std::to_string(start) + " " + std::to_string(start + 17) +
               " 5",
           GetText(host.Control(kHostSelectionLogId)));
  const int first = host.Query(kFirstLine);
  CHECK_NOTE(first <= 200 && 200 < first + host.Query(kLinesPerPage), "line 200 scrolled into view");
  CHECK_EQ(static_cast<LRESULT>(first), Send(view, EM_GETFIRSTVISIBLELINE));
  Send(view, EM_SETSEL, static_cast<WPARAM>(start), start + 17);
  CHECK_EQ(changes + 2, host.SelectionChanges());
  Send(host.Main(), kHostSelect, static_cast<WPARAM>(P(3, 9)), P(3, 2));
  CHECK_EQ(0, host.Query(kFirstLine));
  const struct {
    WPARAM anchor;
    LPARAM caret;
    int start;
    int end;
  } cases[] = {{0, -1, 0, SampleLength()},
               {static_cast<WPARAM>(-1), 0, SampleLength(), SampleLength()},
               {5, 99999, 5, SampleLength()}};
  CHECK(host.WaitForSelection(P(3, 2), P(3, 9)));
  for (const auto& c : cases) {
    Send(view, EM_SETSEL, c.anchor, c.caret);
    CHECK(host.WaitForSelection(c.start, c.end));
  }
  CHECK_EQ(changes + 6, host.SelectionChanges());
}

// Keys from the keyboard (the state of Shift and Ctrl does not travel with posted messages), each from
// where the one before left the caret; typing changes nothing. (Tab is walked by the window suite.)
void CheckKeys(ViewHost& host) {
  ::SetForegroundWindow(host.Main());
  CHECK(SetFocusTo(host.View()));
  Send(host.View(), EM_SETSEL, static_cast<WPARAM>(P(10, 5)), P(10, 5));
  const int page = host.Query(kLinesPerPage);
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
      {"Shift+End", {VK_SHIFT, VK_END}, P(10, 0), P(11, LineLength(11)), -1},
      {"Ctrl+End", {VK_CONTROL, VK_END}, SampleLength(), SampleLength(), kSampleLines + 1 - page},
      {"Ctrl+Home", {VK_CONTROL, VK_HOME}, 0, 0, 0},
      {"Ctrl+Shift+Right", {VK_CONTROL, VK_SHIFT, VK_RIGHT}, 0, 1, -1},  // over "#" to the start of the name
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    SendKeys(step.keys);
    CHECK(host.WaitForSelection(step.start, step.end));
    if (step.firstLine >= 0) CHECK_EQ(step.firstLine, host.Query(kFirstLine));
  }
  SetContext("typing");
  Post(host.View(), WM_CHAR, 'x', 1);
  PostKeyPress(host.View(), VK_RIGHT);
  CHECK(host.WaitForSelection(1, 1));
  CHECK_EQ(SampleText(), GetText(host.View()));
}

// Ctrl+C and Ctrl+A as TranslateMessage delivers them.
void CheckCopyAndSelectAll(ViewHost& host) {
  SetContext("copy");
  ClearClipboard();
  Send(host.View(), EM_SETSEL, static_cast<WPARAM>(P(2, 0)), P(3, 10));
  Post(host.View(), WM_CHAR, 0x03, 1);
  const std::string expected = SampleLine(2) + "\r\n" + SampleLine(3).substr(0, 10);
  WaitUntil([&] { return ClipboardText() == expected; }, kStepTimeoutMs);
  CHECK_EQ(expected, ClipboardText());
  SetContext("select all");
  Post(host.View(), WM_CHAR, 0x01, 1);
  CHECK(host.WaitForSelection(0, SampleLength()));
}

// Clicks place the caret; the host's message filter sees each button and can swallow a press; a double
// click selects a word; a drag selects from where it started.
void CheckMouse(ViewHost& host) {
  host.ScrollToTop();
  HWND view = host.View();
  SetContext("click");
  ClickAt(view, host.Cell(4, 7, true));
  CHECK(host.WaitForSelection(P(4, 7), P(4, 7)));
  CHECK_EQ(std::string("0202"), host.LastMouseMessage());
  SetContext("right button");
  Post(view, WM_RBUTTONDOWN, MK_RBUTTON, At(host.Cell(6, 3)));
  WaitUntil([&] { return host.LastMouseMessage() == "0204"; }, kStepTimeoutMs);
  CHECK_EQ(std::string("0204"), host.LastMouseMessage());
  SetContext("filtered click");
  Send(host.Main(), kHostBlockLeftButton, 1);
  ClickAt(view, host.Cell(8, 2, true));
  WaitUntil([&] { return host.LastMouseMessage() == "0202"; }, kStepTimeoutMs);
  CHECK(host.WaitForSelection(P(4, 7), P(4, 7)));
  Send(host.Main(), kHostBlockLeftButton, 0);
  SetContext("double click");
  Post(view, WM_LBUTTONDBLCLK, MK_LBUTTON, At(host.Cell(12, 6)));
  CHECK(host.WaitForSelection(P(12, 1), P(12, 15)));  // "VIEW_CONST_012"
  SetContext("drag");
  Post(view, WM_LBUTTONDOWN, MK_LBUTTON, At(host.Cell(5, 2, true)));
  Post(view, WM_MOUSEMOVE, MK_LBUTTON, At(host.Cell(7, 6, true)));
  Post(view, WM_LBUTTONUP, 0, At(host.Cell(7, 6, true)));
  CHECK(host.WaitForSelection(P(5, 2), P(7, 6)));
}

void CheckWheelAndScrollBars(ViewHost& host) {
  host.ScrollToTop();
  UINT lines = 3;
  UINT characters = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &characters, 0);
  const int wheel = static_cast<int>(lines);
  const int tilt = static_cast<int>(characters);
  const int page = host.Query(kLinesPerPage);
  const int last = kSampleLines + 1 - page;
  const auto turn = [](int delta, WORD keys = 0) { return static_cast<WPARAM>(MAKELONG(keys, static_cast<WORD>(delta))); };
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
      {"wheel up", WM_MOUSEWHEEL, turn(WHEEL_DELTA), wheel, 0},
      {"shift+wheel down goes right", WM_MOUSEWHEEL, turn(-WHEEL_DELTA, MK_SHIFT), wheel, tilt},
      {"tilt right", WM_MOUSEHWHEEL, turn(WHEEL_DELTA), wheel, 2 * tilt},
      {"tilt left", WM_MOUSEHWHEEL, turn(-WHEEL_DELTA), wheel, tilt},
      {"page down", WM_VSCROLL, SB_PAGEDOWN, wheel + page, tilt},
      {"line up", WM_VSCROLL, SB_LINEUP, wheel + page - 1, tilt},
      {"bottom", WM_VSCROLL, SB_BOTTOM, last, tilt},
      {"column right", WM_HSCROLL, SB_LINEDOWN, last, tilt + 1},
      {"leftmost", WM_HSCROLL, SB_TOP, last, 0},
      {"top", WM_VSCROLL, SB_TOP, 0, 0},
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    Post(host.View(), step.message, step.wParam);
    const auto place = [&] { return std::make_pair(host.Query(kFirstLine), host.Query(kFirstColumn)); };
    WaitUntil([&] { return place() == std::make_pair(step.line, step.column); }, kStepTimeoutMs / 3);
    CHECK_EQ(std::make_pair(step.line, step.column), place());
  }
}

// The selection in the highlight colour while the view has the focus, and in a colour of its own without.
void CheckSelectionColours(ViewHost& host) {
  SetContext("selection colours");
  host.ScrollToTop();
  CHECK(SetFocusTo(host.View()));
  Send(host.View(), EM_SETSEL, static_cast<WPARAM>(P(1, 15)), P(1, 16));  // the blank before "="
  const POINT selected = host.Cell(1, 15);
  const auto highlight = static_cast<unsigned long>(::GetSysColor(COLOR_HIGHLIGHT));
  const auto paper = static_cast<unsigned long>(::GetSysColor(COLOR_WINDOW));
  const auto pixel = [&](POINT at) { return static_cast<unsigned long>(ScreenPixel(host.View(), at)); };
  WaitUntil([&] { return pixel(selected) == highlight; }, kStepTimeoutMs);
  CHECK_EQ(highlight, pixel(selected));
  CHECK_EQ(paper, pixel(host.Cell(1, 17)));  // the blank after "="
  CHECK(SetFocusTo(host.Control(kHostEditId)));
  WaitUntil([&] { return pixel(selected) != highlight; }, kStepTimeoutMs);
  CHECK_NOTE(pixel(selected) != highlight && pixel(selected) != paper, "without the focus: " + Describe(pixel(selected)));
}

}  // namespace

void RunViewSuite(const SuitePaths& paths) {
  ViewHost host;
  if (!host.Start(paths.program, "", kViewHostTitle)) return;
  CheckTextAndScrollRanges(host);
  CheckProgramSelection(host);
  CheckKeys(host);
  CheckCopyAndSelectAll(host);
  CheckMouse(host);
  CheckWheelAndScrollBars(host);
  CheckSelectionColours(host);
  SetContext("close");
  Post(host.Main(), WM_CLOSE);
  CHECK_EQ(0LL, host.Program().WaitForExit());
}

}  // namespace mirravel::e2e
