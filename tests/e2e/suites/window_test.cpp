// The main window as a user meets it: one top-level window of fixed size, centred and top-most, with its
// icon and background; every control with its id, class, place, caption, styles, state and tooltip; the
// tab panel and its pages; the focus at start, after a tab change and along Tab and Shift+Tab; the
// "Always on top" box; and exit code 0 however the window is closed.
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"
#include "tests/e2e/suites/suites.h"

namespace mirravel::e2e {
namespace {

enum class Parent { Window, FindPage, OptionsPage };

struct ExpectedControl {
  int id;
  const char* className;
  Parent parent;
  RECT place;  // in the parent's client area
  const char* caption;  // nullptr: not checked
  DWORD styles;         // bits that must be set
  DWORD exStyles;
  const char* tip;  // nullptr: none
  bool enabled;
  int checked;  // -1: no check box
};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kCheckBox = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
constexpr DWORD kField = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;

RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

// The "?" and copy buttons are disabled: no help file is registered and the program runs stand-alone.
const ExpectedControl kControls[] = {
    {3, "Button", Parent::Window, At(5, 280, 90, 20), "Always on top", kCheckBox, 0, nullptr, true, BST_CHECKED},
    {2, "Edit", Parent::Window, At(95, 280, 225, 20), "", kField | ES_READONLY, WS_EX_CLIENTEDGE,
     "Constant to copy to jaPBe", true, -1},
    {0, "Button", Parent::Window, At(323, 280, 20, 20), "?", kButton, 0, "Win32 help", false, -1},
    {4, "Button", Parent::Window, At(346, 280, 76, 20), "Copy to jaPBe", kButton, 0, "Copy constant to jaPBe", false, -1},
    {1, "Static", Parent::Window, At(0, 0, 425, 275), "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, nullptr, true, -1},
    {5, "Static", Parent::FindPage, At(8, 13, 80, 15), "Constant to find :", WS_CHILD | WS_VISIBLE | SS_RIGHT | WS_GROUP,
     0, nullptr, true, -1},
    {6, "Edit", Parent::FindPage, At(93, 8, 180, 20), "", kField, WS_EX_CLIENTEDGE, "Constant or value to find", true, -1},
    {7, "Button", Parent::FindPage, At(353, 8, 60, 20), "Find [F3]", kButton, 0, "Find constant", true, -1},
    {11, "Button", Parent::FindPage, At(278, 8, 75, 20), "Only value", kCheckBox, 0,
     "If checked, only search for value [and not for any occurence in the list]", true, BST_CHECKED},
    {8, "MirravelCatalogueView", Parent::FindPage, At(3, 32, 414, 214), nullptr, kList, WS_EX_CLIENTEDGE,
     "Constants list", true, -1},
    {9, "Button", Parent::OptionsPage, At(3, 8, 110, 25), "Register jaPBe plugin", kButton, 0,
     "Add / remove plugin from jaPBe's tools menu and plugin directory", true, -1},
    {10, "Button", Parent::OptionsPage, At(3, 38, 110, 25), "About ...", kButton, 0, "About Mirravel", true, -1},
};

void CheckTopLevelWindow(Session& session, const std::string& program) {
  SetContext("top-level window");
  HWND main = session.Main();
  size_t windows = 0;  // besides the tooltip, which may show where the cursor rests
  for (HWND window : TopLevelWindows(session.Program().Id(), nullptr, nullptr, true)) windows += ClassName(window) != TOOLTIPS_CLASSA;
  CHECK_EQ(static_cast<size_t>(1), windows);
  const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  const DWORD unwanted = WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP;
  CHECK_EQ(wanted, Style(main) & (wanted | unwanted));
  CHECK_NOTE(IsTopMost(main), "top-most from start-up");
  CHECK_NOTE(::GetWindow(main, GW_OWNER) == nullptr, "no owner window");
  CHECK_NOTE((::GetClassLongPtrA(main, GCL_STYLE) & CS_DBLCLKS) != 0, "double clicks reported");

  // A client area of 425 x 303, centred on the screen.
  RECT outer{0, 0, 425, 303};
  ::AdjustWindowRect(&outer, Style(main), FALSE);
  const auto centred = [](int screen, int size) { return screen / 2 - (size < screen ? size : screen) / 2; };
  const LONG width = outer.right - outer.left;
  const LONG height = outer.bottom - outer.top;
  CHECK_EQ(Describe(At(0, 0, 425, 303)), Describe(ClientRect(main)));
  CHECK_EQ(Describe(At(centred(::GetSystemMetrics(SM_CXSCREEN), width), centred(::GetSystemMetrics(SM_CYSCREEN), height),
                       width, height)),
           Describe(WindowRect(main)));

  // Class data of another process is not readable under Wine: the icon is looked up in the executable and
  // the background read from the screen, where no control covers it.
  HMODULE image = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  for (const int size : {32, 16}) {
    HANDLE icon = ::LoadImageA(image, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
    ICONINFO info{};
    BITMAP bitmap{};
    if (CHECK_NOTE(icon && ::GetIconInfo(static_cast<HICON>(icon), &info), "icon 1 at " + std::to_string(size))) {
      ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
      CHECK_EQ(size, static_cast<int>(bitmap.bmWidth));
      ::DeleteObject(info.hbmColor);
      ::DeleteObject(info.hbmMask);
      ::DestroyIcon(static_cast<HICON>(icon));
    }
  }
  if (image) ::FreeLibrary(image);
  const auto face = static_cast<unsigned long>(::GetSysColor(COLOR_BTNFACE));
  WaitUntil([&] { return ScreenPixel(main, {200, 277}) == face; }, 3000);  // the first paint may be on its way
  CHECK_EQ(face, static_cast<unsigned long>(ScreenPixel(main, {200, 277})));
}

HWND ParentOf(Session& session, Parent parent) {
  const std::vector<HWND> pages = session.Pages();
  const size_t page = parent == Parent::FindPage ? 0 : 1;
  return parent == Parent::Window ? session.Main() : page < pages.size() ? pages[page] : nullptr;
}

// The font is checked by the window layer suite: WM_GETFONT does not answer across processes under Wine.
void CheckControls(Session& session) {
  for (const ExpectedControl& expected : kControls) {
    SetContext("control " + std::to_string(expected.id));
    HWND control = session.Control(expected.id);
    if (!CHECK_NOTE(control != nullptr, "a child window with this id")) continue;
    CHECK_EQ(std::string(expected.className), ClassName(control));
    CHECK_NOTE(::GetParent(control) == ParentOf(session, expected.parent), "in the expected window or page");
    CHECK_EQ(Describe(expected.place), Describe(PlaceInParent(control)));
    if (expected.caption != nullptr) CHECK_EQ(std::string(expected.caption), GetText(control));
    CHECK_EQ(expected.styles, Style(control) & expected.styles);
    if (expected.exStyles != 0) CHECK_EQ(expected.exStyles, ExStyle(control) & expected.exStyles);
    CHECK_EQ(expected.enabled, ::IsWindowEnabled(control) != 0);
    if (expected.checked >= 0) CHECK_EQ(expected.checked, CheckState(control));
  }
}

// The tab control fills the panel; its pages stand inside it below the tab strip, only the current one shown.
void CheckTabPanel(Session& session, int current) {
  SetContext("tab panel on page " + std::to_string(current));
  HWND tab = session.TabControl();
  if (!CHECK_NOTE(tab != nullptr, "a tab control inside the panel")) return;
  CHECK_EQ(Describe(At(0, 0, 425, 275)), Describe(PlaceInParent(tab)));
  CHECK_EQ(static_cast<DWORD>(WS_TABSTOP | WS_GROUP), Style(tab) & (WS_TABSTOP | WS_GROUP));
  CHECK_EQ(static_cast<LRESULT>(current), Send(tab, TCM_GETCURSEL));
  CHECK_EQ(static_cast<LRESULT>(2), Send(tab, TCM_GETITEMCOUNT));
  RemoteBuffer remote(session.Program().Handle(), 512);
  const char* captions[] = {"Find constant", "Options"};
  for (int i = 0; i < 2; ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = remote.At(256);
    item.cchTextMax = 200;
    char text[200] = {};
    remote.Write(&item, sizeof item);
    Send(tab, TCM_GETITEMA, static_cast<WPARAM>(i), remote.AsLParam());
    remote.Read(text, sizeof text - 1, 256);
    CHECK_EQ(std::string(captions[i]), std::string(text));
  }
  RECT item{};
  Send(tab, TCM_GETITEMRECT, 0, remote.AsLParam());
  remote.Read(&item, sizeof item);
  const int strip = (item.bottom - item.top) * static_cast<int>(Send(tab, TCM_GETROWCOUNT));
  const RECT client = ClientRect(tab);
  const std::vector<HWND> pages = session.Pages();
  if (!CHECK_EQ(static_cast<size_t>(2), pages.size()) || !CHECK_NOTE(strip > 0, "a tab strip")) return;
  for (size_t i = 0; i < 2; ++i) {
    CHECK_EQ(Describe(At(2, strip + 4, client.right - 4, client.bottom - strip - 6)), Describe(PlaceInParent(pages[i])));
    CHECK_EQ(static_cast<int>(i) == current, ::IsWindowVisible(pages[i]) != 0);
  }
}

// One tooltip control, top-most itself and without an owner (so the window can be made top-most again),
// with one tool per control that has a tip, read in the program's memory (tooltip records are not
// marshalled).
void CheckTooltips(Session& session) {
  SetContext("tooltips");
  const std::vector<HWND> tooltips = TopLevelWindows(session.Program().Id(), TOOLTIPS_CLASSA, nullptr, false);
  if (!CHECK_EQ(static_cast<size_t>(1), tooltips.size())) return;
  HWND tooltip = tooltips.front();
  const DWORD styles = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  CHECK_EQ(styles, Style(tooltip) & styles);
  CHECK(IsTopMost(tooltip));
  CHECK(::GetWindow(tooltip, GW_OWNER) == nullptr);
  RemoteBuffer remote(session.Program().Handle(), 1024);
  std::set<int> seen;
  size_t tips = 0;
  for (const ExpectedControl& expected : kControls) tips += expected.tip != nullptr;
  CHECK_EQ(static_cast<LRESULT>(tips), Send(tooltip, TTM_GETTOOLCOUNT));
  for (WPARAM i = 0; i < tips; ++i) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = remote.At(512);
    char text[256] = {};
    remote.Write(&tool, sizeof tool);
    if (!CHECK(Send(tooltip, TTM_ENUMTOOLSA, i, remote.AsLParam()) > 0)) break;
    remote.Read(&tool, sizeof tool);
    tool.lpszText = remote.At(512);
    remote.Write(text, sizeof text, 512);
    remote.Write(&tool, sizeof tool);
    Send(tooltip, TTM_GETTEXTA, sizeof text, remote.AsLParam());
    remote.Read(text, sizeof text - 1, 512);
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId));
    SetContext("tooltip of control " + std::to_string(id));
    const char* expected = "(no tip)";
    for (const ExpectedControl& control : kControls) {
      if (control.id == id && session.Control(id) == reinterpret_cast<HWND>(tool.uId) && control.tip) expected = control.tip;
    }
    CHECK_NOTE(seen.insert(id).second, "one tool per control");
    CHECK_EQ(std::string(expected), std::string(text));
    CHECK_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));
  }
}

// "Options" shows its page; "Find constant" shows the find page again with the focus in the find field.
void CheckTabChange(Session& session) {
  SetContext("tab change");
  CHECK(session.ClickTab(1));
  CHECK(WaitUntil([&] { return ::IsWindowVisible(session.Control(kAboutButton)) != 0; }));
  CheckTabPanel(session, 1);
  SetContext("tab change back");
  CHECK(session.ClickTab(0));
  CHECK(session.WaitForFocusIn(kFindField));
  CheckTabPanel(session, 0);
}

void CheckAlwaysOnTop(Session& session) {
  SetContext("always on top");
  HWND box = session.Control(kAlwaysOnTopBox);
  for (const bool topMost : {false, true}) {
    Click(box);
    CHECK_NOTE(WaitUntil([&] { return IsTopMost(session.Main()) == topMost; }), "top-most follows the box");
    CHECK_EQ(topMost ? BST_CHECKED : BST_UNCHECKED, CheckState(box));
    CHECK(session.WaitForFocusIn(kFindField));
  }
}

// Tab walks the visible, enabled tab stops in creation order and comes back round; Shift+Tab walks back.
// The disabled "?" and copy buttons and the hidden Options page are passed over.
void CheckTabKeys(Session& session) {
  const struct {
    bool shift;
    int id;  // kNoControl: the tab control
  } steps[] = {{false, kFindButton}, {false, kOnlyValueBox}, {false, kListView},   {false, kAlwaysOnTopBox},
               {false, kCopyField},  {false, kNoControl},    {false, kFindField},  {true, kNoControl},
               {true, kCopyField},   {true, kAlwaysOnTopBox}, {true, kListView},    {true, kOnlyValueBox}};
  ::SetForegroundWindow(session.Main());
  CHECK(WaitUntil([&] { return ::GetForegroundWindow() == session.Main(); }));
  for (const auto& step : steps) {
    SetContext(std::string(step.shift ? "Shift+Tab" : "Tab") + " to control " + std::to_string(step.id));
    HWND expected = step.id == kNoControl ? session.TabControl() : session.Control(step.id);
    step.shift ? SendKeys({VK_SHIFT, VK_TAB}) : SendKeys({VK_TAB});
    CHECK(WaitUntil([&] { return FocusOf(session.Main()) == expected; }));
  }
}

}  // namespace

void RunWindowSuite(const SuitePaths& paths) {
  Session session;
  if (!session.Start(paths.program)) return;
  CheckTopLevelWindow(session, paths.program);
  CheckControls(session);
  CheckTabPanel(session, 0);
  CheckTooltips(session);
  SetContext("start");
  CHECK_NOTE(FocusOf(session.Main()) == session.Control(kFindField), "the find field has the focus at start");
  CheckTabChange(session);
  CheckAlwaysOnTop(session);
  CheckTabKeys(session);
  SetContext("SC_CLOSE");
  session.CloseAndExpectExitCode0();

  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } closeWays[] = {{"WM_CLOSE", WM_CLOSE, 0, 0},
                   // Alt+F4 as the system delivers it: a system key with the Alt context bit.
                   {"Alt+F4", WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(0x20000001 | (0x3E << 16))}};
  for (const auto& way : closeWays) {
    SetContext(way.name);
    Session closed;
    if (!closed.Start(paths.program)) continue;
    Post(closed.Main(), way.message, way.wParam, way.lParam);
    CHECK_EQ(0LL, closed.Program().WaitForExit());
  }
}

}  // namespace mirravel::e2e
