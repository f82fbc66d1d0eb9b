// Main window suite: every control with its id, class, place, caption, styles, font, state and tooltip;
// the tab panel with its pages; the keyboard focus at start, after Tab and after a tab change; and the
// "Always on top" box.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

enum class Parent { Window, FindPage, OptionsPage };

struct ExpectedControl {
  int id;
  const char* className;
  Parent parent;
  RECT place;  // left, top, right, bottom in the parent's client area
  const char* caption;
  DWORD styles;     // bits that must be set
  DWORD exStyles;   // bits that must be set
  const char* tip;  // nullptr: none
  bool enabled;
  int checked;  // BST_CHECKED / BST_UNCHECKED; -1 for controls that are no check boxes
};

constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kCheckBox = WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
constexpr DWORD kField = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;

RECT At(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

const std::vector<ExpectedControl>& ExpectedControls() {
  static const std::vector<ExpectedControl> controls = {
      {3, "Button", Parent::Window, At(5, 280, 90, 20), "Always on top", kCheckBox, 0, nullptr, true, BST_CHECKED},
      {2, "Edit", Parent::Window, At(95, 280, 225, 20), "", kField | ES_READONLY, WS_EX_CLIENTEDGE,
       "Constant to copy to jaPBe", true, -1},
      {0, "Button", Parent::Window, At(323, 280, 20, 20), "?", kButton, 0, "Win32 help", false, -1},
      // Disabled because the program runs stand-alone here.
      {4, "Button", Parent::Window, At(346, 280, 76, 20), "Copy to jaPBe", kButton, 0, "Copy constant to jaPBe", false,
       -1},
      {1, "Static", Parent::Window, At(0, 0, 425, 275), "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, nullptr, true, -1},
      {5, "Static", Parent::FindPage, At(8, 13, 80, 15), "Constant to find :", WS_CHILD | WS_VISIBLE | SS_RIGHT | WS_GROUP,
       0, nullptr, true, -1},
      {6, "Edit", Parent::FindPage, At(93, 8, 180, 20), "", kField, WS_EX_CLIENTEDGE, "Constant or value to find", true,
       -1},
      {7, "Button", Parent::FindPage, At(353, 8, 60, 20), "Find [F3]", kButton, 0, "Find constant", true, -1},
      {11, "Button", Parent::FindPage, At(278, 8, 75, 20), "Only value", kCheckBox, 0,
       "If checked, only search for value [and not for any occurence in the list]", true, BST_CHECKED},
      {8, "MirravelCatalogueView", Parent::FindPage, At(3, 32, 414, 214), nullptr,
       WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, "Constants list", true, -1},
      {9, "Button", Parent::OptionsPage, At(3, 8, 110, 25), "Register jaPBe plugin", kButton, 0,
       "Add / remove plugin from jaPBe's tools menu and plugin directory", true, -1},
      {10, "Button", Parent::OptionsPage, At(3, 38, 110, 25), "About ...", kButton, 0, "About Mirravel", true, -1},
  };
  return controls;
}

RECT PlaceInParent(HWND control) {
  RECT rect = WindowRect(control);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

void CheckControl(MirravelSession& session, const ExpectedControl& expected) {
  CheckCounter::Instance().SetContext("control " + std::to_string(expected.id));
  HWND control = session.Control(expected.id);
  if (!CHECK_NOTE(control != nullptr, "a child window with this id")) return;
  CHECK_EQ(std::string(expected.className), ClassName(control));
  const std::vector<HWND> pages = session.Pages();
  HWND parent = expected.parent == Parent::Window     ? session.Main()
                : expected.parent == Parent::FindPage ? (pages.size() > 0 ? pages[0] : nullptr)
                                                      : (pages.size() > 1 ? pages[1] : nullptr);
  CHECK_NOTE(::GetParent(control) == parent, "placed in the expected window or page");
  CHECK_EQ(Describe(expected.place), Describe(PlaceInParent(control)));
  if (expected.caption != nullptr) CHECK_EQ(std::string(expected.caption), GetText(control));
  const auto style = static_cast<DWORD>(Style(control));
  CHECK_EQ(expected.styles, style & expected.styles);
  if (expected.exStyles != 0) CHECK_EQ(expected.exStyles, static_cast<DWORD>(ExStyle(control)) & expected.exStyles);
  CHECK_EQ(expected.enabled, IsEnabled(control));
  if (expected.checked >= 0) CHECK_EQ(expected.checked, CheckState(control));
  // The font is checked in the window layer suite: WM_GETFONT does not answer across processes under Wine.
}

void CheckTabPanel(MirravelSession& session) {
  CheckCounter::Instance().SetContext("tab panel");
  HWND tab = session.TabControl();
  if (!CHECK_NOTE(tab != nullptr, "a SysTabControl32 inside the panel's container")) return;
  CHECK_EQ(Describe(At(0, 0, 425, 275)), Describe(PlaceInParent(tab)));
  CHECK_EQ(static_cast<DWORD>(WS_TABSTOP | WS_GROUP), static_cast<DWORD>(Style(tab)) & (WS_TABSTOP | WS_GROUP));
  LRESULT count = 0;
  SendWithTimeout(tab, TCM_GETITEMCOUNT, 0, 0, &count);
  CHECK_EQ(2, static_cast<int>(count));
  const char* captions[] = {"Find constant", "Options"};
  RemoteBuffer buffer(session.Program().Handle(), 512);
  for (int i = 0; i < 2 && buffer.IsValid(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<char*>(buffer.Address()) + 256;
    item.cchTextMax = 200;
    buffer.Write(&item, sizeof item);
    char text[200] = {};
    SendWithTimeout(tab, TCM_GETITEMA, static_cast<WPARAM>(i), buffer.AsLParam(), nullptr);
    buffer.Read(text, sizeof text - 1, 256);
    CHECK_EQ(std::string(captions[i]), std::string(text));
  }
  LRESULT current = -1;
  SendWithTimeout(tab, TCM_GETCURSEL, 0, 0, &current);
  CHECK_EQ(0, static_cast<int>(current));
}

// Pages stand by the page rule inside the tab control; only the current one is visible.
void CheckPages(MirravelSession& session, int current, const char* when) {
  CheckCounter::Instance().SetContext(std::string("pages ") + when);
  HWND tab = session.TabControl();
  const std::vector<HWND> pages = session.Pages();
  if (!CHECK_EQ(static_cast<size_t>(2), pages.size())) return;
  RemoteBuffer buffer(session.Program().Handle(), sizeof(RECT));
  SendWithTimeout(tab, TCM_GETITEMRECT, 0, buffer.AsLParam(), nullptr);
  RECT item{};
  buffer.Read(&item, sizeof item);
  LRESULT rows = 0;
  SendWithTimeout(tab, TCM_GETROWCOUNT, 0, 0, &rows);
  const int strip = (item.bottom - item.top) * static_cast<int>(rows);
  CHECK_NOTE(strip > 0, "the tab strip has a height");
  const RECT client = ClientRect(tab);
  const RECT expected = At(2, strip + 4, client.right - 4, client.bottom - strip - 6);
  for (int i = 0; i < 2; ++i) {
    CHECK_EQ(Describe(expected), Describe(PlaceInParent(pages[static_cast<size_t>(i)])));
    CHECK_EQ(i == current, ::IsWindowVisible(pages[static_cast<size_t>(i)]) != 0);
  }
}

struct RemoteTool {
  HWND control;
  UINT flags;
  std::string text;
};

// Every tool of the tooltip control, read in the program's memory (tooltip records do not cross
// process boundaries).
std::vector<RemoteTool> ReadTools(MirravelSession& session, HWND tooltip) {
  std::vector<RemoteTool> tools;
  RemoteBuffer buffer(session.Program().Handle(), 1024);
  if (!CHECK(buffer.IsValid())) return tools;
  char* remoteText = static_cast<char*>(buffer.Address()) + 512;
  LRESULT count = 0;
  SendWithTimeout(tooltip, TTM_GETTOOLCOUNT, 0, 0, &count);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = remoteText;
    buffer.Write(&tool, sizeof tool);
    LRESULT found = 0;
    if (!SendWithTimeout(tooltip, TTM_ENUMTOOLSA, i, buffer.AsLParam(), &found) || !found) break;
    buffer.Read(&tool, sizeof tool);
    tool.lpszText = remoteText;
    const char empty[256] = {};
    buffer.Write(empty, sizeof empty, 512);
    buffer.Write(&tool, sizeof tool);
    SendWithTimeout(tooltip, TTM_GETTEXTA, 256, buffer.AsLParam(), nullptr);
    char text[256] = {};
    buffer.Read(text, sizeof text - 1, 512);
    tools.push_back({reinterpret_cast<HWND>(tool.uId), tool.uFlags, text});
  }
  return tools;
}

void CheckTooltips(MirravelSession& session) {
  CheckCounter::Instance().SetContext("tooltips");
  const std::vector<HWND> tooltips = TopLevelWindows(session.Program().Id(), TOOLTIPS_CLASSA, nullptr, false);
  if (!CHECK_EQ(static_cast<size_t>(1), tooltips.size())) return;
  HWND tooltip = tooltips.front();
  const DWORD styles = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  CHECK_EQ(styles, static_cast<DWORD>(Style(tooltip)) & styles);
  CHECK_NOTE((ExStyle(tooltip) & WS_EX_TOPMOST) != 0, "the tooltip control is top-most itself");
  CHECK_NOTE(::GetWindow(tooltip, GW_OWNER) == nullptr, "no owner, so the window can be made top-most again");

  const std::vector<RemoteTool> tools = ReadTools(session, tooltip);
  size_t expectedTips = 0;
  for (const ExpectedControl& expected : ExpectedControls()) {
    if (expected.tip == nullptr) continue;
    ++expectedTips;
    CheckCounter::Instance().SetContext("tooltip of control " + std::to_string(expected.id));
    HWND control = session.Control(expected.id);
    const RemoteTool* tool = nullptr;
    for (const RemoteTool& candidate : tools) {
      if (candidate.control == control) tool = &candidate;
    }
    if (!CHECK_NOTE(tool != nullptr, "a tool registered by the control's window handle")) continue;
    CHECK_EQ(std::string(expected.tip), tool->text);
    CHECK_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), tool->flags & (TTF_IDISHWND | TTF_SUBCLASS));
  }
  CheckCounter::Instance().SetContext("tooltips");
  CHECK_EQ(expectedTips, tools.size());
}

void CheckControls(MirravelSession& session) {
  for (const ExpectedControl& expected : ExpectedControls()) CheckControl(session, expected);
  CheckTabPanel(session);
  CheckPages(session, 0, "at start");
  CheckTooltips(session);
  CheckCounter::Instance().SetContext("");
  CHECK_EQ(std::string("Mirravel"), GetText(session.Main()));
  CHECK_NOTE(FocusOf(session.Main()) == session.Control(kFindFieldId), "the find field has the focus at start");
}

// Clicking "Options" shows its page; clicking "Find constant" shows the find page again and puts the
// focus back into the find field.
void CheckTabChange(MirravelSession& session) {
  CheckCounter::Instance().SetContext("tab change");
  if (!CHECK(session.ClickTab(1))) return;
  HWND tab = session.TabControl();
  CHECK(WaitUntil([&] { return ::IsWindowVisible(session.Control(kAboutButtonId)) != 0; }));
  LRESULT current = -1;
  SendWithTimeout(tab, TCM_GETCURSEL, 0, 0, &current);
  CHECK_EQ(1, static_cast<int>(current));
  CheckPages(session, 1, "on Options");
  CHECK_NOTE(!::IsWindowVisible(session.Control(kFindFieldId)), "the find page is hidden");

  CheckCounter::Instance().SetContext("tab change back");
  if (!CHECK(session.ClickTab(0))) return;
  CHECK(WaitUntil([&] { return FocusOf(session.Main()) == session.Control(kFindFieldId); }));
  CheckPages(session, 0, "back on Find constant");
  CHECK_NOTE(!::IsWindowVisible(session.Control(kAboutButtonId)), "the Options page is hidden");
}

void CheckAlwaysOnTop(MirravelSession& session) {
  CheckCounter::Instance().SetContext("always on top");
  HWND box = session.Control(kAlwaysOnTopId);
  HWND main = session.Main();
  const auto topMost = [&] { return (ExStyle(main) & WS_EX_TOPMOST) != 0; };
  CHECK_NOTE(topMost(), "top-most from start-up");
  Click(box);
  CHECK_NOTE(WaitUntil([&] { return !topMost(); }), "clearing the box ends top-most");
  CHECK_EQ(BST_UNCHECKED, CheckState(box));
  CHECK(WaitUntil([&] { return FocusOf(main) == session.Control(kFindFieldId); }));
  Click(box);
  CHECK_NOTE(WaitUntil(topMost), "checking the box makes the window top-most again");
  CHECK_EQ(BST_CHECKED, CheckState(box));
  CHECK(WaitUntil([&] { return FocusOf(main) == session.Control(kFindFieldId); }));
}

// Tab from the find field walks the visible, enabled tab stops in creation order and comes back; the
// disabled "?" and copy buttons and the hidden Options page are passed over.
void CheckTabKey(MirravelSession& session) {
  CheckCounter::Instance().SetContext("Tab key");
  const int walk[] = {kFindButtonId, kOnlyValueId, kListId, kAlwaysOnTopId, kCopyFieldId, -1 /* tab control */,
                      kFindFieldId};
  HWND main = session.Main();
  if (!CHECK(WaitUntil([&] { return FocusOf(main) == session.Control(kFindFieldId); }))) return;
  for (const int id : walk) {
    HWND expected = id < 0 ? session.TabControl() : session.Control(id);
    session.PressKey(FocusOf(main), VK_TAB);
    CHECK_NOTE(WaitUntil([&] { return FocusOf(main) == expected; }), "Tab reaches control " + std::to_string(id));
  }
}

// Shift+Tab as real key strokes (posted messages carry no Shift state).
void CheckShiftTab(MirravelSession& session) {
  CheckCounter::Instance().SetContext("Shift+Tab");
  HWND main = session.Main();
  ::SetForegroundWindow(main);
  if (!CHECK(WaitUntil([&] { return ::GetForegroundWindow() == main; }))) return;
  const auto shiftTab = [] {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wVk = codes[i];
      keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    ::SendInput(4, keys, sizeof(INPUT));
  };
  const int walk[] = {-1 /* tab control */, kCopyFieldId, kAlwaysOnTopId, kListId, kOnlyValueId};
  for (const int id : walk) {
    HWND expected = id < 0 ? session.TabControl() : session.Control(id);
    shiftTab();
    CHECK_NOTE(WaitUntil([&] { return FocusOf(main) == expected; }), "Shift+Tab reaches control " + std::to_string(id));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: e2e_main_window <path of mirravel.exe>\n");
    return 2;
  }
  MirravelSession session;
  if (session.Start(argv[1])) {
    CheckControls(session);
    CheckTabChange(session);
    CheckAlwaysOnTop(session);
    CheckTabKey(session);
    CheckShiftTab(session);
    CheckCounter::Instance().SetContext("close");
    session.CloseAndExpectExitCode0();
  }
  return CheckCounter::Instance().Summary("e2e_main_window");
}
