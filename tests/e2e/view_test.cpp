// The catalogue view driven from outside its process: its text and scroll ranges, program-set
// selections and their notifications, keyboard and mouse navigation, the message filter, the clipboard,
// the wheel and scroll bars, and how the selection is painted with and without the focus.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>
#include <utility>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/harness/harness.h"
#include "tests/e2e/view_host/sample_text.h"
#include "tests/e2e/view_host/view_host_protocol.h"

namespace {

using namespace mirravel::e2e;

constexpr DWORD kStepTimeoutMs = 3000;
constexpr int kMargin = 2;  // the view's space left of column 0

struct Host {
  Process process;
  HWND window = nullptr;
  HWND view = nullptr;
  HWND edit = nullptr;
};

const std::string& Sample() {
  static const std::string text = SampleText();
  return text;
}
int SampleLength() { return SamplePosition(kSampleLines, 0); }
int LineLength(int line) { return static_cast<int>(SampleLine(line).size()); }

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  LRESULT result = -1;
  SendWithTimeout(window, message, wParam, lParam, &result);
  return result;
}
int Query(const Host& host, WPARAM what) { return static_cast<int>(Send(host.window, kHostQuery, what)); }

std::pair<int, int> Selection(const Host& host) {
  const auto packed = static_cast<DWORD>(Send(host.view, EM_GETSEL));
  return {LOWORD(packed), HIWORD(packed)};
}

std::string Describe(std::pair<int, int> range) {
  return "(" + std::to_string(range.first) + ", " + std::to_string(range.second) + ")";
}

bool WaitForSelection(const Host& host, int start, int end) {
  const bool reached = WaitUntil([&] { return Selection(host) == std::make_pair(start, end); }, kStepTimeoutMs);
  return CHECK_EQ(Describe({start, end}), Describe(Selection(host))) && reached;
}

int SelectionChangeCount(const Host& host) {
  int count = 0;  // nothing reported yet while the log is empty
  std::sscanf(GetText(FindControl(host.window, kHostSelectionLogId)).c_str(), "SELCHANGE %d", &count);
  return count;
}

// Client point in the middle of a character cell of the view (line and column of the text).
POINT CellPoint(const Host& host, int line, int column) {
  const int lineHeight = Query(host, kQueryLineHeight);
  const int charWidth = Query(host, kQueryCharWidth);
  return {kMargin + (column - Query(host, kQueryHorizontalPosition)) * charWidth + charWidth / 2,
          (line - Query(host, kQueryVerticalPosition)) * lineHeight + lineHeight / 2};
}

// Left edge of a cell: the hit test rounds to the nearest boundary, so this lands on the column itself.
POINT CellEdge(const Host& host, int line, int column) {
  POINT point = CellPoint(host, line, column);
  point.x -= Query(host, kQueryCharWidth) / 2 - 1;
  return point;
}

LPARAM PointParam(POINT point) {
  return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

WPARAM WheelParam(int delta, WORD keys) {
  return static_cast<WPARAM>(MAKELONG(keys, static_cast<WORD>(static_cast<short>(delta))));
}

void ScrollToTop(const Host& host) {
  ::PostMessageA(host.view, WM_VSCROLL, SB_TOP, 0);
  ::PostMessageA(host.view, WM_HSCROLL, SB_TOP, 0);
  WaitUntil([&] { return Query(host, kQueryVerticalPosition) == 0 && Query(host, kQueryHorizontalPosition) == 0; },
            kStepTimeoutMs);
}

bool Start(Host& host, const std::string& hostPath) {
  if (!CHECK_NOTE(host.process.Start(Quoted(hostPath)), "start " + hostPath)) return false;
  host.window = WaitForTopLevelWindow(host.process.Id(), nullptr, kViewHostTitle);
  if (!CHECK_NOTE(host.window != nullptr, "the view host's window")) return false;
  host.view = FindControl(host.window, kHostViewId);
  host.edit = FindControl(host.window, kHostEditId);
  return CHECK(host.view != nullptr) && CHECK(host.edit != nullptr);
}

void CheckControlAndText(const Host& host) {
  CHECK_EQ(std::string("MirravelCatalogueView"), ClassName(host.view));
  const auto style = static_cast<DWORD>(Style(host.view));
  CHECK_NOTE((style & (WS_VSCROLL | WS_HSCROLL | WS_TABSTOP)) == (WS_VSCROLL | WS_HSCROLL | WS_TABSTOP),
             "both scroll bars and a tab stop");
  CHECK_NOTE((ExStyle(host.view) & WS_EX_CLIENTEDGE) != 0, "sunken edge");
  CHECK_EQ(Sample(), GetText(host.view));
  CHECK_EQ(static_cast<LRESULT>(Sample().size()), Send(host.view, WM_GETTEXTLENGTH));
  CHECK_EQ(static_cast<LRESULT>(kSampleLines), Send(host.view, EM_GETLINECOUNT));
  CHECK_EQ(static_cast<LRESULT>(SamplePosition(120, 0)), Send(host.view, EM_LINEINDEX, 120));
  CHECK_EQ(static_cast<LRESULT>(120), Send(host.view, EM_EXLINEFROMCHAR, 0, SamplePosition(120, 7)));
}

void CheckScrollRanges(const Host& host) {
  const RECT client = ClientRect(host.view);
  const int lineHeight = Query(host, kQueryLineHeight);
  const int charWidth = Query(host, kQueryCharWidth);
  CHECK_NOTE(lineHeight > 0 && charWidth > 0, "font metrics");
  // One row per line plus the empty row after the final line break; one column more than the longest line.
  CHECK_EQ(kSampleLines, Query(host, kQueryVerticalMax));
  CHECK_EQ(LineLength(kSampleLongLine), Query(host, kQueryHorizontalMax));
  CHECK_EQ(static_cast<int>(client.bottom) / lineHeight, Query(host, kQueryVerticalPage));
  CHECK_EQ((static_cast<int>(client.right) - kMargin) / charWidth, Query(host, kQueryHorizontalPage));
}

void CheckProgramSelection(const Host& host) {
  const int start = SamplePosition(200, 0);
  int changes = SelectionChangeCount(host);
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(start), start + 17);
  CHECK_EQ("SELCHANGE " + std::to_string(changes + 1) + " " + std::to_string(start) + " " +
               std::to_string(start + 17) + " 5",
           GetText(FindControl(host.window, kHostSelectionLogId)));
  CHECK_EQ(Describe({start, start + 17}), Describe(Selection(host)));
  const int first = Query(host, kQueryVerticalPosition);
  CHECK_NOTE(first <= 200 && 200 < first + Query(host, kQueryVerticalPage), "line 200 scrolled into view");
  CHECK_EQ(static_cast<LRESULT>(first), Send(host.view, EM_GETFIRSTVISIBLELINE));

  Send(host.view, EM_SETSEL, static_cast<WPARAM>(start), start + 17);
  CHECK_EQ(changes + 2, SelectionChangeCount(host));  // set again by the program: reported again

  Send(host.window, kHostSelect, static_cast<WPARAM>(SamplePosition(3, 9)), SamplePosition(3, 2));
  CHECK_EQ(Describe({SamplePosition(3, 2), SamplePosition(3, 9)}), Describe(Selection(host)));
  CHECK_EQ(0, Query(host, kQueryVerticalPosition));
  changes = SelectionChangeCount(host);

  Send(host.view, EM_SETSEL, 0, -1);
  CHECK_EQ(Describe({0, SampleLength()}), Describe(Selection(host)));
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  CHECK_EQ(Describe({SampleLength(), SampleLength()}), Describe(Selection(host)));
  Send(host.view, EM_SETSEL, 5, 99999);
  CHECK_EQ(Describe({5, SampleLength()}), Describe(Selection(host)));
  CHECK_EQ(changes + 3, SelectionChangeCount(host));
}

void CheckPostedKeys(const Host& host) {
  CHECK(SetFocusTo(host.view));
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(SamplePosition(10, 5)), SamplePosition(10, 5));
  const int page = Query(host, kQueryVerticalPage);
  struct Step {
    const char* name;
    UINT key;
    int line;
    int column;
  };
  const Step steps[] = {
      {"Down", VK_DOWN, 11, 5},         {"End", VK_END, 11, LineLength(11)},
      {"Home", VK_HOME, 11, 0},         {"Left over the break", VK_LEFT, 10, LineLength(10)},
      {"Right over the break", VK_RIGHT, 11, 0}, {"Page Down", VK_NEXT, 11 + page, 0},
      {"Page Up", VK_PRIOR, 11, 0},     {"Up", VK_UP, 10, 0},
  };
  for (const auto& step : steps) {
    CheckCounter::Instance().SetContext(step.name);
    PostKeyPress(host.view, step.key);
    const int position = SamplePosition(step.line, step.column);
    WaitForSelection(host, position, position);
  }
  CheckCounter::Instance().SetContext("typing");
  ::PostMessageA(host.view, WM_CHAR, 'x', 1);
  PostKeyPress(host.view, VK_RIGHT);
  WaitForSelection(host, SamplePosition(10, 1), SamplePosition(10, 1));
  CHECK_EQ(Sample(), GetText(host.view));
  CheckCounter::Instance().SetContext("Tab");
  PostKeyPress(host.view, VK_TAB);
  CHECK_NOTE(WaitUntil([&] { return FocusOf(host.window) == host.edit; }, kStepTimeoutMs),
             "Tab moves the focus on to the next control");
  CheckCounter::Instance().SetContext("");
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return "(clipboard busy)";
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* characters = static_cast<const char*>(::GlobalLock(data))) {
      text = characters;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void CheckCopyAndSelectAll(const Host& host) {
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(SamplePosition(2, 0)), SamplePosition(3, 10));
  ::PostMessageA(host.view, WM_CHAR, 0x03, 1);  // Ctrl+C as TranslateMessage delivers it
  const std::string expected = SampleLine(2) + "\r\n" + SampleLine(3).substr(0, 10);
  WaitUntil([&] { return ClipboardText() == expected; }, kStepTimeoutMs);
  CHECK_EQ(expected, ClipboardText());
  ::PostMessageA(host.view, WM_CHAR, 0x01, 1);  // Ctrl+A
  WaitForSelection(host, 0, SampleLength());
}

void CheckMouse(const Host& host) {
  ScrollToTop(host);
  const auto mouseLog = [&] { return GetText(FindControl(host.window, kHostMouseLogId)); };
  const auto lastMouseMessage = [&] { return mouseLog().substr(mouseLog().rfind(' ') + 1); };

  CheckCounter::Instance().SetContext("click");
  ::PostMessageA(host.view, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CellEdge(host, 4, 7)));
  ::PostMessageA(host.view, WM_LBUTTONUP, 0, PointParam(CellEdge(host, 4, 7)));
  WaitForSelection(host, SamplePosition(4, 7), SamplePosition(4, 7));
  CHECK_EQ(std::string("0202"), lastMouseMessage());

  CheckCounter::Instance().SetContext("right button");
  ::PostMessageA(host.view, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(CellPoint(host, 6, 3)));
  WaitUntil([&] { return lastMouseMessage() == "0204"; }, kStepTimeoutMs);
  CHECK_EQ(std::string("0204"), lastMouseMessage());

  CheckCounter::Instance().SetContext("filtered click");
  Send(host.window, kHostBlockLeftButton, 1);
  ::PostMessageA(host.view, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CellEdge(host, 8, 2)));
  ::PostMessageA(host.view, WM_LBUTTONUP, 0, PointParam(CellEdge(host, 8, 2)));
  WaitUntil([&] { return lastMouseMessage() == "0202"; }, kStepTimeoutMs);
  CHECK_EQ(Describe({SamplePosition(4, 7), SamplePosition(4, 7)}), Describe(Selection(host)));
  Send(host.window, kHostBlockLeftButton, 0);

  CheckCounter::Instance().SetContext("double click");
  ::PostMessageA(host.view, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(CellPoint(host, 12, 6)));
  WaitForSelection(host, SamplePosition(12, 1), SamplePosition(12, 15));  // "VIEW_CONST_012"

  CheckCounter::Instance().SetContext("drag");
  ::PostMessageA(host.view, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(CellEdge(host, 5, 2)));
  ::PostMessageA(host.view, WM_MOUSEMOVE, MK_LBUTTON, PointParam(CellEdge(host, 7, 6)));
  ::PostMessageA(host.view, WM_LBUTTONUP, 0, PointParam(CellEdge(host, 7, 6)));
  WaitForSelection(host, SamplePosition(5, 2), SamplePosition(7, 6));
  CheckCounter::Instance().SetContext("");
}

void CheckWheelAndScrollBars(const Host& host) {
  ScrollToTop(host);
  UINT lines = 3;
  UINT characters = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &characters, 0);
  struct Step {
    const char* name;
    UINT message;
    WPARAM wParam;
    int line;    // expected first visible line and column afterwards
    int column;
  };
  const int page = Query(host, kQueryVerticalPage);
  const int lastFirst = kSampleLines + 1 - page;
  const int wheel = static_cast<int>(lines);
  const int tilt = static_cast<int>(characters);
  const Step steps[] = {
      {"wheel down", WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA, 0), wheel, 0},
      {"half a notch waits", WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA / 2, 0), wheel, 0},
      {"the other half scrolls", WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA / 2, 0), 2 * wheel, 0},
      {"wheel up", WM_MOUSEWHEEL, WheelParam(WHEEL_DELTA, 0), wheel, 0},
      {"shift+wheel down goes right", WM_MOUSEWHEEL, WheelParam(-WHEEL_DELTA, MK_SHIFT), wheel, tilt},
      {"tilt right", WM_MOUSEHWHEEL, WheelParam(WHEEL_DELTA, 0), wheel, 2 * tilt},
      {"tilt left", WM_MOUSEHWHEEL, WheelParam(-WHEEL_DELTA, 0), wheel, tilt},
      {"page down", WM_VSCROLL, SB_PAGEDOWN, wheel + page, tilt},
      {"line up", WM_VSCROLL, SB_LINEUP, wheel + page - 1, tilt},
      {"bottom", WM_VSCROLL, SB_BOTTOM, lastFirst, tilt},
      {"column right", WM_HSCROLL, SB_LINEDOWN, lastFirst, tilt + 1},
      {"leftmost", WM_HSCROLL, SB_TOP, lastFirst, 0},
      {"top", WM_VSCROLL, SB_TOP, 0, 0},
  };
  for (const auto& step : steps) {
    CheckCounter::Instance().SetContext(step.name);
    ::PostMessageA(host.view, step.message, step.wParam, 0);
    WaitUntil([&] { return Query(host, kQueryVerticalPosition) == step.line &&
                           Query(host, kQueryHorizontalPosition) == step.column; },
              kStepTimeoutMs / 3);
    CHECK_EQ(step.line, Query(host, kQueryVerticalPosition));
    CHECK_EQ(step.column, Query(host, kQueryHorizontalPosition));
  }
  CheckCounter::Instance().SetContext("");
}

COLORREF ScreenPixel(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  HDC screen = ::GetDC(nullptr);
  const COLORREF pixel = ::GetPixel(screen, client.x, client.y);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

void CheckSelectionPainting(const Host& host) {
  ScrollToTop(host);
  CHECK(SetFocusTo(host.view));
  // Column 15 of "#VIEW_CONST_001 = $11" is the blank before "="; column 17 the blank after it.
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(SamplePosition(1, 15)), SamplePosition(1, 16));
  const POINT selected = CellPoint(host, 1, 15);
  const POINT plain = CellPoint(host, 1, 17);
  const auto highlight = static_cast<unsigned long>(::GetSysColor(COLOR_HIGHLIGHT));
  const auto paper = static_cast<unsigned long>(::GetSysColor(COLOR_WINDOW));
  WaitUntil([&] { return ScreenPixel(host.view, selected) == highlight; }, kStepTimeoutMs);
  CHECK_EQ(highlight, static_cast<unsigned long>(ScreenPixel(host.view, selected)));
  CHECK_EQ(paper, static_cast<unsigned long>(ScreenPixel(host.view, plain)));

  CHECK(SetFocusTo(host.edit));
  WaitUntil([&] { return ScreenPixel(host.view, selected) != highlight; }, kStepTimeoutMs);
  const auto unfocused = static_cast<unsigned long>(ScreenPixel(host.view, selected));
  CHECK_NOTE(unfocused != highlight && unfocused != paper,
             "without the focus the selection keeps a colour of its own: " + std::to_string(unfocused));
}

// Keys with Shift and Ctrl need real input: the state of modifier keys does not travel with posted
// messages.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  for (const auto& [key, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof input);
  }
}

void CheckModifierKeys(const Host& host) {
  ::SetForegroundWindow(host.window);
  CHECK(SetFocusTo(host.view));
  Send(host.view, EM_SETSEL, static_cast<WPARAM>(SamplePosition(5, 3)), SamplePosition(5, 3));
  CheckCounter::Instance().SetContext("Shift+Down");
  SendKeys({{VK_SHIFT, true}, {VK_DOWN, true}, {VK_DOWN, false}, {VK_SHIFT, false}});
  WaitForSelection(host, SamplePosition(5, 3), SamplePosition(6, 3));
  CheckCounter::Instance().SetContext("Shift+End");
  SendKeys({{VK_SHIFT, true}, {VK_END, true}, {VK_END, false}, {VK_SHIFT, false}});
  WaitForSelection(host, SamplePosition(5, 3), SamplePosition(6, LineLength(6)));
  CheckCounter::Instance().SetContext("Ctrl+End");
  SendKeys({{VK_CONTROL, true}, {VK_END, true}, {VK_END, false}, {VK_CONTROL, false}});
  WaitForSelection(host, SampleLength(), SampleLength());
  CHECK_EQ(kSampleLines + 1 - Query(host, kQueryVerticalPage), Query(host, kQueryVerticalPosition));
  CheckCounter::Instance().SetContext("Ctrl+Home");
  SendKeys({{VK_CONTROL, true}, {VK_HOME, true}, {VK_HOME, false}, {VK_CONTROL, false}});
  WaitForSelection(host, 0, 0);
  CHECK_EQ(0, Query(host, kQueryVerticalPosition));
  CheckCounter::Instance().SetContext("Ctrl+Shift+Right");
  SendKeys({{VK_CONTROL, true}, {VK_SHIFT, true}, {VK_RIGHT, true}, {VK_RIGHT, false}, {VK_SHIFT, false},
            {VK_CONTROL, false}});
  WaitForSelection(host, 0, 1);  // over "#" to the start of the name
  CheckCounter::Instance().SetContext("");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: e2e_view <path of mirravel_view_host.exe>\n");
    return 2;
  }
  Host host;
  if (Start(host, argv[1])) {
    CheckControlAndText(host);
    CheckScrollRanges(host);
    CheckProgramSelection(host);
    CheckPostedKeys(host);
    CheckCopyAndSelectAll(host);
    CheckMouse(host);
    CheckWheelAndScrollBars(host);
    CheckSelectionPainting(host);
    CheckModifierKeys(host);
    PostClose(host.window);
    CHECK_EQ(0LL, host.process.WaitForExit());
  }
  return CheckCounter::Instance().Summary("e2e_view");
}
