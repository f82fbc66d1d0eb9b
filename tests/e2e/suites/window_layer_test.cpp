// The window layer in the suite's own process: the real main window built by the platform layer, driven
// through the window-layer interface with a recording message hook. What only the real window shows: the
// controls' classes and style bits, held shortcut keys, the modal loops, and each Win32 input path and the
// painting of the list once (the caret, word and scroll rules are the unit tests'; the close request through
// the system menu and activation changes are walked in the real program by the window suite).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"
#include "tests/helpers/packed_stream.h"
#include "ui/main_window_layout.h"

namespace mirravel::e2e {
namespace {

std::string Selection(int from, int to) { return "selection " + std::to_string(from) + " " + std::to_string(to); }

// The hook's list calls in order: "selection 32 41, right button". Like the program, it cuts a selection
// longer than `longest` back from inside the list's notification. (Copy-data records and activation changes
// reach the program's own hook in the host-link and window suites.)
struct RecordingHook : MessageHook {
  std::string calls, last;
  WindowPort* window = nullptr;
  int longest = 1 << 30;
  void Record(const std::string& call) { calls += (calls.empty() ? "" : ", ") + (last = call); }
  void OnListSelectionChanged(std::int32_t from, std::int32_t to) override {
    Record(Selection(from, to));
    if (to - from > longest) window->SelectInList(from, from + longest);
  }
  void OnListRightButtonDown() override { Record("right button"); }
  void OnCloseRequest() override {}
  bool OnCopyData(std::uintptr_t, std::uintptr_t, std::string_view) override { return false; }
  void OnActivationChanged(bool) override {}
};

struct Fixture {
  platform::Win32Platform platform{::GetModuleHandleA(nullptr)};
  WindowPort* window = nullptr;
  HWND main = nullptr, view = nullptr;  // the view: the list, once the list's checks begin
  TEXTMETRICA metrics{};                // of the list's font
  RecordingHook hook;                   // installed by the list's checks
  HWND Control(int id) const { return FindControl(main, id); }
  template <typename Condition>  // runs the window's loop until the condition holds or the time is up
  bool PumpUntil(Condition condition, DWORD timeoutMs = 3000) {
    return WaitUntil([&] { for (int i = 0; i < 8; ++i) window->FetchEvent(); return condition(); }, timeoutMs);
  }
};

HWND OtherWindow() { return ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, {}, {}, {}, {}); }

std::string Name(const WindowEvent& event) {
  const char* kinds[] = {"none", "gadget", "menu", "close"};
  return kinds[static_cast<int>(event.kind)] + (" " + std::to_string(event.id));
}

// Every event that turns up within a few loop turns, in order: "gadget 6, gadget 10".
std::string Drain(Fixture& f) {
  std::string events;
  for (int i = 0; i < 20; ++i) {
    f.window->PumpOneMessage();
    const WindowEvent event = f.window->FetchEvent();
    if (event.kind != WindowEvent::Kind::None) events += (events.empty() ? "" : ", ") + Name(event);
  }
  return events;
}

DWORD WINAPI RunHelper(void* helper) { return (*static_cast<const std::function<void()>*>(helper))(), 0; }

// Runs `helper` on a second thread while this one runs `modal` (a message box or a menu loop).
void WhileModal(const std::function<void()>& helper, const std::function<void()>& modal) {
  HANDLE thread = ::CreateThread(nullptr, 0, RunHelper, const_cast<std::function<void()>*>(&helper), 0, nullptr);
  modal();
  ::WaitForSingleObject(thread, 15000);
  ::CloseHandle(thread);
}

// The Win32 class and the style bits each kind of control is built with, in ControlKind's order.
struct KindClass { const char* className; DWORD styles, exStyles; };  // the bits that must be set
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kFocusable = kChild | WS_TABSTOP | WS_GROUP;
const KindClass kKindClasses[] = {
    {"Button", kFocusable | BS_PUSHBUTTON, 0},
    {"Button", kFocusable | BS_AUTOCHECKBOX, 0},
    {"Edit", kFocusable | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {"Edit", kFocusable | ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE},
    {"Static", kChild | SS_RIGHT | WS_GROUP, 0},
    {"Static", kChild | SS_NOTIFY, 0},
    {"MirravelCatalogueView", kChild | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
};

// Every control as the layer builds it, in DEFAULT_GUI_FONT but the list. One tooltip control, top-most itself
// and without an owner (under Wine a window that owns a popup cannot be made top-most again), holds one tool
// per control with a tip. (The places are the layout's unit test's; the start states, the disabled buttons
// skipped by Tab, the pages below the tab strip and a tab for each page are the window suite's.)
void CheckControls(Fixture& f) {
  HWND tab = ::FindWindowExA(f.Control(kTabPanel), nullptr, WC_TABCONTROLA, nullptr);
  std::vector<HWND> pages;
  for (HWND page = ::GetWindow(tab, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT))
    if (ClassName(page) == "Static") pages.push_back(page);
  const std::vector<HWND> tooltips = TopLevelWindows(::GetCurrentProcessId(), TOOLTIPS_CLASSA, nullptr, false);
  HWND tooltip = tooltips.size() == 1 ? tooltips.front() : nullptr;
  if (!CHECK_NOTE(pages.size() == 2 && tooltip, "two pages, one tooltip control")) return;
  const auto guiFont = reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (const ControlLayout& layout : kMainWindowControls) {
    SetContext("control " + std::to_string(layout.id));
    HWND control = f.Control(layout.id);
    if (!CHECK(control != nullptr)) continue;
    const KindClass& kind = kKindClasses[static_cast<int>(layout.kind)];
    CHECK_EQ(std::string(kind.className), ClassName(control));
    const bool onPage = layout.parent != ControlParent::Window;
    CHECK(::GetParent(control) == (onPage ? pages[layout.parent == ControlParent::OptionsPage] : f.main));
    CHECK_EQ(std::string(layout.caption), GetText(control));
    CHECK_EQ(kind.styles, Style(control) & kind.styles);
    if (kind.exStyles != 0) CHECK_EQ(kind.exStyles, Style(control, GWL_EXSTYLE) & kind.exStyles);
    CHECK_EQ(layout.kind != ControlKind::ListView, ::SendMessageA(control, WM_GETFONT, 0, 0) == guiFont);
    char text[256] = {};
    TOOLINFOA tool{sizeof tool, 0, ::GetParent(control), reinterpret_cast<UINT_PTR>(control), {}, {}, text, 0, {}};
    const bool hasTool = ::SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    tool.lpszText = text;
    ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    CHECK_EQ(std::string(layout.tooltip), std::string(hasTool ? text : ""));
    if (hasTool) CHECK_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));
  }
  SetContext("tooltip control");
  const DWORD styles = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  CHECK_EQ(styles, Style(tooltip) & styles);
  CHECK(IsTopMost(tooltip) && ::GetWindow(tooltip, GW_OWNER) == nullptr);

  SetContext("tab control");
  CHECK_EQ(guiFont, ::SendMessageA(tab, WM_GETFONT, 0, 0));
}

// A shortcut key that the loop's pump takes is held back for the next fetch, past other messages, as only
// the fetch applies the shortcuts. (A changed field reaches the program in the window suite, menu commands
// in the host-link suite.)
void CheckHeldShortcutKey(Fixture& f) {
  SetContext("held shortcut key");
  PostKey(f.Control(kFindField), VK_F3, false);
  ::PostMessageA(f.main, WM_NULL, 0, 0);
  for (int i = 0; i < 2; ++i) f.window->PumpOneMessage();
  CHECK_EQ(std::string("menu 5"), Name(f.window->FetchEvent()));
}

// While a box is open the program's other windows are disabled and the box is owned by the main window;
// a click inside the box's loop waits in the queue. (The answer it returns is the registration suite's.)
void CheckModalLoops(Fixture& f) {
  SetContext("message box");
  HWND other = OtherWindow();
  ::SetForegroundWindow(f.main);
  std::string seen;
  WhileModal(
      [&] {
        HWND box = WaitForTopLevelWindow(::GetCurrentProcessId(), "#32770", nullptr, true, 5000);
        if (box == nullptr) return;
        seen = MessageBoxText(box) + (::IsWindowEnabled(other) ? "" : ", other disabled") +
               (::IsWindowEnabled(f.main) ? "" : ", main disabled") +
               (::GetWindow(box, GW_OWNER) == f.main ? ", owned by main" : "");
        ::SendMessageA(f.Control(kAboutButton), BM_CLICK, 0, 0);  // handled inside the box's loop
        Click(::GetDlgItem(box, IDOK));
      },
      [&] { f.window->ShowMessageBox("Find text", "No more entry found", 0x40); });
  CHECK_EQ(std::string("No more entry found, other disabled, main disabled, owned by main"), seen);
  CHECK_NOTE(::IsWindowEnabled(other) && ::IsWindowEnabled(f.main), "both enabled again afterwards");
  ::DestroyWindow(other);
  CHECK_NOTE(Drain(f).find("gadget 10") != std::string::npos, "the click inside is delivered");

  // The copy menu at the cursor with the items greyed as asked; dismissed, it raises no event.
  SetContext("context menu");
  ::SetCursorPos(300, 250);
  seen = "no menu";
  WhileModal(
      [&] {
        HWND menu = WaitForTopLevelWindow(::GetCurrentProcessId(), "#32768", nullptr, true, 5000);
        if (menu == nullptr) return;
        HMENU handle = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
        seen = std::to_string(WindowRect(menu).left) + "," + std::to_string(WindowRect(menu).top);
        for (const int item : {kMenuCopyToHost, kMenuCopyValueToHost, kMenuCopyToClipboard}) {
          seen += (::GetMenuState(handle, static_cast<UINT>(item), MF_BYCOMMAND) & MF_GRAYED) ? " grey" : " enabled";
        }
        ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      },
      [&] { f.window->ShowContextMenu({false, false, true}); });
  CHECK_EQ(std::string("299,249 grey grey enabled"), seen);
  CHECK_EQ(std::string(""), Drain(f));
}

// The list's sample: a few hundred catalogue-like lines, every third with a comment, and one much longer line.
constexpr int kSampleLines = 300, kLongLine = 150, kMargin = 2;  // kMargin: the view's space left of column 0

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

int LineLength(int line) { return static_cast<int>(SampleLine(line).size()); }
// The view's position (one character per line break) of a column of a line.
int P(int line, int column) { return line == 0 ? column : P(line - 1, column + LineLength(line - 1) + 1); }
const int kLength = P(kSampleLines, 0);

int LineHeight(const Fixture& f) { return f.metrics.tmHeight + f.metrics.tmExternalLeading; }
SCROLLINFO Scroll(const Fixture& f, int bar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(f.view, bar, &info);
  return info;
}
int Page(const Fixture& f) { return static_cast<int>(Scroll(f, SB_VERT).nPage); }
std::pair<int, int> Place(const Fixture& f) { return {Scroll(f, SB_VERT).nPos, Scroll(f, SB_HORZ).nPos}; }
void ExpectSelection(Fixture& f, int start, int end) {
  const auto selection = [&] {
    DWORD from = 0, to = 0;
    ::SendMessageA(f.view, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return std::make_pair(static_cast<int>(from), static_cast<int>(to));
  };
  f.PumpUntil([&] { return selection() == std::make_pair(start, end); });
  CHECK_EQ(std::make_pair(start, end), selection());
}
// A client point in the middle of a character cell, or at its left edge: the hit test rounds to the
// nearest boundary, so the edge lands on the column itself.
POINT Cell(const Fixture& f, int line, int column, bool edge = false) {
  const auto [first, left] = Place(f);
  const int width = f.metrics.tmAveCharWidth;
  return {kMargin + (column - left) * width + (edge ? 1 : width / 2), (line - first) * LineHeight(f) + LineHeight(f) / 2};
}
void ScrollToTop(Fixture& f) {
  for (const UINT bar : {UINT{WM_VSCROLL}, UINT{WM_HSCROLL}}) ::PostMessageA(f.view, bar, SB_TOP, 0);
  f.PumpUntil([&] { return Place(f) == std::make_pair(0, 0); });
}

// A selection set from outside or by the program is reported, also the same one again, and scrolled into
// view; one set again from inside its own report ends as the inner one.
void CheckSetSelection(Fixture& f) {
  SetContext("selection set");
  f.hook.calls.clear();
  for (int i = 0; i < 2; ++i) ::SendMessageA(f.view, EM_SETSEL, static_cast<WPARAM>(P(200, 0)), P(200, 17));
  const int first = Place(f).first;
  CHECK_NOTE(first <= 200 && 200 < first + Page(f), "line 200 scrolled into view");
  f.hook.longest = 5;
  f.window->SelectInList(P(3, 2), P(3, 9));
  f.hook.longest = 1 << 30;
  ExpectSelection(f, P(3, 2), P(3, 7));
  CHECK_EQ(0, Place(f).first);
  const std::string twice = Selection(P(200, 0), P(200, 17));
  CHECK_EQ(twice + ", " + twice + ", " + Selection(P(3, 2), P(3, 9)) + ", " + Selection(P(3, 2), P(3, 7)), f.hook.calls);
}

// Keys from the keyboard (the state of Shift and Ctrl does not travel with posted messages), each from
// where the one before left the caret; Ctrl+C and Ctrl+A arrive as TranslateMessage makes them; typing
// changes nothing. (Tab is walked by the window suite; each caret key's rule is the navigation unit test's.)
void CheckKeys(Fixture& f) {
  ::SetForegroundWindow(f.main);
  ::SetFocus(f.view);
  ::SendMessageA(f.view, EM_SETSEL, static_cast<WPARAM>(P(10, 0)), P(10, 0));
  ClearClipboard();
  const int page = Page(f);
  const struct { const char* name; std::initializer_list<WORD> keys; int start, end, firstLine = -1; } steps[] = {
      {"Shift+Down", {VK_SHIFT, VK_DOWN}, P(10, 0), P(11, 0)},
      {"Ctrl+C", {VK_CONTROL, 'C'}, P(10, 0), P(11, 0)},
      {"typing", {'X'}, P(10, 0), P(11, 0)},
      {"Ctrl+A", {VK_CONTROL, 'A'}, 0, kLength},
      {"Ctrl+End", {VK_CONTROL, VK_END}, kLength, kLength, kSampleLines + 1 - page},
      {"Page Up", {VK_PRIOR}, P(kSampleLines - page, 0), P(kSampleLines - page, 0)},
      {"Ctrl+Home", {VK_CONTROL, VK_HOME}, 0, 0, 0},
      {"Ctrl+Shift+Right", {VK_CONTROL, VK_SHIFT, VK_RIGHT}, 0, 1},  // over "#" to the start of the name
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    SendKeys(step.keys);
    ExpectSelection(f, step.start, step.end);
    if (step.firstLine >= 0) CHECK_EQ(step.firstLine, Place(f).first);
  }
  SetContext("copied, unchanged");
  CHECK_EQ(SampleLine(10) + "\r\n", ClipboardText());
  CHECK_EQ(SampleText(), GetText(f.view));
}

// A press places the caret, a drag selects from there and a shift-click from the anchor; a double click
// selects a word; a right click is reported to the program.
void CheckMouse(Fixture& f) {
  const struct { const char* name; UINT message; POINT at; int start, end; } steps[] = {
      {"press", WM_LBUTTONDOWN, Cell(f, 5, 2, true), P(5, 2), P(5, 2)},
      {"drag", WM_MOUSEMOVE, Cell(f, 7, 6, true), P(5, 2), P(7, 6)},
      {"release", WM_LBUTTONUP, Cell(f, 7, 6, true), P(5, 2), P(7, 6)},
      {"right button", WM_RBUTTONDOWN, Cell(f, 6, 3), P(5, 2), P(7, 6)},
      {"shift-click", WM_LBUTTONDOWN, Cell(f, 9, 4, true), P(5, 2), P(9, 4)},
      {"double click", WM_LBUTTONDBLCLK, Cell(f, 12, 6), P(12, 1), P(12, 15)},  // "VIEW_CONST_012"
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    const bool shift = std::string(step.name) == "shift-click";
    const LPARAM at = MAKELPARAM(step.at.x, step.at.y);
    BYTE keys[256] = {};  // posted clicks read the thread's key state
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageA(f.view, step.message, step.message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    ExpectSelection(f, step.start, step.end);
    if (shift) ::PostMessageA(f.view, WM_LBUTTONUP, 0, at);
    CHECK_EQ(step.message == WM_RBUTTONDOWN ? "right button" : Selection(step.start, step.end), f.hook.last);
  }
}

void CheckWheelAndScrollBars(Fixture& f) {
  ScrollToTop(f);
  UINT lines = 3, characters = 3;
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &characters, 0);
  const int wheel = static_cast<int>(lines), tilt = static_cast<int>(characters), page = Page(f);
  const auto turn = [](int delta, WORD keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(delta)); };
  // Each step with the first visible line and column afterwards; one row per way in (the scroll arithmetic
  // is the unit tests').
  const struct { const char* name; UINT message; WPARAM wParam; int line, column; } steps[] = {
      {"wheel down", WM_MOUSEWHEEL, turn(-WHEEL_DELTA), wheel, 0},
      {"half a notch waits", WM_MOUSEWHEEL, turn(-WHEEL_DELTA / 2), wheel, 0},
      {"the other half scrolls", WM_MOUSEWHEEL, turn(-WHEEL_DELTA / 2), 2 * wheel, 0},
      {"shift+wheel down goes right", WM_MOUSEWHEEL, turn(-WHEEL_DELTA, MK_SHIFT), 2 * wheel, tilt},
      {"tilt right", WM_MOUSEHWHEEL, turn(WHEEL_DELTA), 2 * wheel, 2 * tilt},
      {"page down", WM_VSCROLL, SB_PAGEDOWN, 2 * wheel + page, 2 * tilt},
      {"bottom", WM_VSCROLL, SB_BOTTOM, kSampleLines + 1 - page, 2 * tilt},
      {"column right", WM_HSCROLL, SB_LINEDOWN, kSampleLines + 1 - page, 2 * tilt + 1},
  };
  for (const auto& step : steps) {
    SetContext(step.name);
    ::PostMessageA(f.view, step.message, step.wParam, 0);
    f.PumpUntil([&] { return Place(f) == std::make_pair(step.line, step.column); }, 1000);
    CHECK_EQ(std::make_pair(step.line, step.column), Place(f));
  }
}

// The selection in the highlight colour while the view has the focus, and in a colour of its own without.
void CheckSelectionColours(Fixture& f) {
  SetContext("selection colours");
  ScrollToTop(f);
  ::SetFocus(f.view);
  ::SendMessageA(f.view, EM_SETSEL, static_cast<WPARAM>(P(1, 15)), P(1, 16));  // the blank before "="
  const auto highlight = static_cast<unsigned long>(::GetSysColor(COLOR_HIGHLIGHT));
  const auto paper = static_cast<unsigned long>(::GetSysColor(COLOR_WINDOW));
  const auto pixel = [&](int column) { return static_cast<unsigned long>(ScreenPixel(f.view, Cell(f, 1, column))); };
  f.PumpUntil([&] { return pixel(15) == highlight; });
  CHECK_EQ(highlight, pixel(15));
  CHECK_EQ(paper, pixel(17));  // the blank after "="
  ::SetFocus(f.Control(kFindField));
  f.PumpUntil([&] { return pixel(15) != highlight; });
  CHECK_NOTE(pixel(15) != highlight && pixel(15) != paper, "without the focus: " + Describe(pixel(15)));
}

void CheckList(Fixture& f) {
  const testing::Bytes block = testing::LiteralBlock(SampleText());
  CHECK(f.window->UnpackIntoList(block.data(), block.size()) == CatalogueLoad::Loaded);
  f.hook.window = f.window;
  f.platform.InstallMessageHook(f.hook);
  f.view = f.Control(kListView);
  HDC dc = ::GetDC(f.view);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(f.view, WM_GETFONT, 0, 0)));
  ::GetTextMetricsA(dc, &f.metrics);
  ::SelectObject(dc, previous);
  ::ReleaseDC(f.view, dc);
  // One row per line and the empty row after the final line break; one column more than the longest line.
  SetContext("list text and scroll ranges");
  CHECK_EQ(SampleText(), GetText(f.view));
  const RECT client = ClientRect(f.view);
  CHECK_EQ(std::make_pair(kSampleLines, LineLength(kLongLine)),
           std::make_pair(Scroll(f, SB_VERT).nMax, Scroll(f, SB_HORZ).nMax));
  CHECK_EQ(std::make_pair(client.bottom / LineHeight(f), (client.right - kMargin) / f.metrics.tmAveCharWidth),
           std::make_pair(static_cast<LONG>(Page(f)), static_cast<LONG>(Scroll(f, SB_HORZ).nPage)));
  CheckSetSelection(f);
  CheckKeys(f);
  CheckMouse(f);
  CheckWheelAndScrollBars(f);
  CheckSelectionColours(f);
}

}  // namespace
}  // namespace mirravel::e2e

int main() {
  using namespace mirravel::e2e;
  Fixture f;
  CHECK(f.platform.CreateContextMenu({{1, "Copy to to jaPBe"}, {2, "Copy value only to jaPBe"},
                                      {3, "Copy to clipboard"}}));
  f.window = f.platform.BuildMainWindow();
  if (CHECK_NOTE(f.window != nullptr, "the main window opens")) {
    f.main = WaitForTopLevelWindow(::GetCurrentProcessId(), "MirravelMainWindow", nullptr, true, 5000);
    Drain(f);  // the focus given at the end of building
    CheckControls(f);
    CheckHeldShortcutKey(f);
    CheckModalLoops(f);
    CheckList(f);
    f.platform.CloseMainWindow();
    SetContext("close");
    CHECK_NOTE(!::IsWindow(f.main), "the window is gone");
  }
  return Summary("e2e_window_layer");
}
