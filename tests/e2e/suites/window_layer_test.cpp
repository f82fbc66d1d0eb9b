// The window layer in the suite's own process: the real main window built by the platform layer, driven
// through the window-layer interface with a recording message hook. Every control as built (class, parent,
// place, caption, styles, font, tooltip, initial state), the tab panel and its pages, the events in order,
// held shortcut keys, modal state, the list (list_test.cpp) and the hook's calls.
#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/suites/window_layer.h"
#include "ui/main_window_layout.h"

namespace mirravel::e2e {
namespace {

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

DWORD WINAPI RunHelper(void* helper) {
  (*static_cast<const std::function<void()>*>(helper))();
  return 0;
}

// Runs `helper` on a second thread while this one runs `modal` (a message box or a menu loop).
void WhileModal(const std::function<void()>& helper, const std::function<void()>& modal) {
  HANDLE thread = ::CreateThread(nullptr, 0, RunHelper, const_cast<std::function<void()>*>(&helper), 0, nullptr);
  modal();
  ::WaitForSingleObject(thread, 15000);
  ::CloseHandle(thread);
}

// The Win32 class and the style bits each kind of control is built with, in ControlKind's order.
struct KindClass {
  const char* className;
  DWORD styles;  // bits that must be set
  DWORD exStyles;
};
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

std::string Place(const LayoutRect& r) { return Describe(RECT{r.x, r.y, r.x + r.width, r.y + r.height}); }

// Every control of the layout as the layer builds it: class, parent, place, caption, styles, initial
// state, DEFAULT_GUI_FONT but for the list, which keeps its fixed-pitch font, and its tip. One tooltip
// control, top-most itself and without an owner (under Wine a window that owns a popup cannot be made
// top-most again), holds one tool per control with a tip. The tab control fills the panel with its tabs;
// the pages stand inside it below the tab strip.
void CheckControls(Fixture& f) {
  HWND tab = ::FindWindowExA(f.Control(kTabPanel), nullptr, WC_TABCONTROLA, nullptr);
  std::vector<HWND> pages;
  for (HWND page = ::GetWindow(tab, GW_CHILD); page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
    if (ClassName(page) == "Static") pages.push_back(page);
  }
  const std::vector<HWND> tooltips = TopLevelWindows(::GetCurrentProcessId(), TOOLTIPS_CLASSA, nullptr, false);
  HWND tooltip = tooltips.size() == 1 ? tooltips.front() : nullptr;
  const auto guiFont = reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
  LRESULT tips = 0;
  for (const ControlLayout& layout : kMainWindowControls) {
    SetContext("control " + std::to_string(layout.id));
    HWND control = f.Control(layout.id);
    if (!CHECK_NOTE(control && pages.size() == 2 && tooltip, "the control, two pages, one tooltip")) continue;
    const KindClass& kind = kKindClasses[static_cast<int>(layout.kind)];
    CHECK_EQ(std::string(kind.className), ClassName(control));
    const bool onPage = layout.parent != ControlParent::Window;
    CHECK(::GetParent(control) == (onPage ? pages[layout.parent == ControlParent::OptionsPage] : f.main));
    CHECK_EQ(Place(layout.place), Describe(PlaceInParent(control)));
    CHECK_EQ(std::string(layout.caption), GetText(control));
    CHECK_EQ(kind.styles, Style(control) & kind.styles);
    if (kind.exStyles != 0) CHECK_EQ(kind.exStyles, Style(control, GWL_EXSTYLE) & kind.exStyles);
    CHECK_EQ(!layout.disabled, ::IsWindowEnabled(control) != 0);
    if (layout.kind == ControlKind::CheckBox) {
      CHECK_EQ(layout.checked ? BST_CHECKED : BST_UNCHECKED, Send(control, BM_GETCHECK));
    }
    CHECK_EQ(layout.kind != ControlKind::ListView, ::SendMessageA(control, WM_GETFONT, 0, 0) == guiFont);
    char text[256] = {};
    TOOLINFOA tool{
        sizeof(TOOLINFOA), 0, ::GetParent(control), reinterpret_cast<UINT_PTR>(control), {}, nullptr, text, 0, nullptr};
    const bool hasTool = ::SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    tool.lpszText = text;
    ::SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    CHECK_EQ(std::string(layout.tooltip), std::string(hasTool ? text : ""));
    if (hasTool) CHECK_EQ(static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS), tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS));
    tips += !layout.tooltip.empty();
  }
  SetContext("tooltip control");
  if (!CHECK(tooltip != nullptr)) return;
  CHECK_EQ(tips, ::SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  const DWORD styles = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
  CHECK_EQ(styles, Style(tooltip) & styles);
  CHECK(IsTopMost(tooltip) && ::GetWindow(tooltip, GW_OWNER) == nullptr);

  SetContext("tab panel");
  CHECK_EQ(Describe(ClientRect(f.Control(kTabPanel))), Describe(PlaceInParent(tab)));
  CHECK_EQ(static_cast<DWORD>(WS_TABSTOP | WS_GROUP), Style(tab) & (WS_TABSTOP | WS_GROUP));
  CHECK_EQ(guiFont, ::SendMessageA(tab, WM_GETFONT, 0, 0));
  CHECK_EQ(static_cast<LRESULT>(kTabCaptions.size()), ::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
  for (std::size_t i = 0; i < kTabCaptions.size(); ++i) {
    char text[64] = {};
    TCITEMA item{TCIF_TEXT, 0, 0, text, sizeof text, 0, 0};
    ::SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    CHECK_EQ(std::string(kTabCaptions[i]), std::string(text));
  }
  RECT item{};
  ::SendMessageA(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const LONG strip = (item.bottom - item.top) * static_cast<LONG>(::SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
  const RECT client = ClientRect(tab);
  CHECK_NOTE(strip > 0, "a tab strip");
  const std::string pagePlace = Place(TabPageRect(client.right, client.bottom, strip));
  for (HWND page : pages) CHECK_EQ(pagePlace, Describe(PlaceInParent(page)));
}

// Each input raises its events in order: a changed field, a click (which takes the focus from the find
// field first), the shortcut keys wherever they are pressed, a menu command and the close request; and a
// held key is kept across other messages for the next fetch.
void CheckEvents(Fixture& f) {
  WindowPort& w = *f.window;
  const struct {
    const char* name;
    std::function<void()> input;
    const char* events;
  } cases[] = {
      {"text change", [&] { w.SetControlText(kFindField, "wm_paint"); }, "gadget 6, gadget 6"},  // update, change
      {"click on the hidden Options page", [&] { ::SendMessageA(f.Control(kAboutButton), BM_CLICK, 0, 0); },
       "gadget 6, gadget 10"},
      {"Return in the list", [&] { PostKey(f.Control(kListView), VK_RETURN); }, "menu 4"},  // the program decides
      {"F3 on a button", [&] { PostKey(f.Control(kFindButton), VK_F3); }, "menu 5"},
      {"menu item", [&] { ::PostMessageA(f.main, WM_COMMAND, MAKEWPARAM(kMenuCopyToClipboard, 0), 0); }, "menu 3"},
      {"close without a hook", [&] { ::PostMessageA(f.main, WM_CLOSE, 0, 0); }, "close 0"},
      // Alt+F4 as the system delivers it: a system key with the Alt context bit.
      {"Alt+F4", [&] { ::PostMessageA(f.main, WM_SYSKEYDOWN, VK_F4, 0x20000001 | (0x3E << 16)); }, "close 0"},
  };
  for (const auto& c : cases) {
    SetContext(c.name);
    c.input();
    CHECK_EQ(std::string(c.events), Drain(f));
  }
  CHECK_NOTE(::IsWindow(f.main), "the window stays until the program closes it");

  SetContext("held shortcut key");
  PostKey(f.Control(kFindField), VK_F3, false);
  ::PostMessageA(f.main, WM_NULL, 0, 0);
  w.PumpOneMessage();
  w.PumpOneMessage();
  CHECK_EQ(std::string("menu 5"), Name(w.FetchEvent()));
  Drain(f);
}

// While a box is open the program's other windows are disabled and the box is owned by the main window;
// events raised inside the box's loop wait in the queue.
void CheckMessageBox(Fixture& f) {
  SetContext("message box");
  HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ::SetForegroundWindow(f.main);
  std::string seen;
  int answer = 0;
  WhileModal(
      [&] {
        HWND box = WaitForTopLevelWindow(::GetCurrentProcessId(), "#32770", nullptr, true, 5000);
        if (box == nullptr) return;
        seen = MessageBoxText(box) + (::IsWindowEnabled(other) ? "" : ", other disabled") +
               (::IsWindowEnabled(f.main) ? "" : ", main disabled") +
               (::GetWindow(box, GW_OWNER) == f.main ? ", owned by main" : "");
        ::SendMessageA(f.Control(kFindButton), BM_CLICK, 0, 0);  // handled inside the box's loop
        Click(::GetDlgItem(box, IDOK));
      },
      [&] { answer = f.window->ShowMessageBox("Find text", "No more entry found", 0x40); });
  CHECK_EQ(IDOK, answer);
  CHECK_EQ(std::string("No more entry found, other disabled, main disabled, owned by main"), seen);
  CHECK_NOTE(::IsWindowEnabled(other) && ::IsWindowEnabled(f.main), "both enabled again afterwards");
  CHECK_NOTE(Drain(f).find("gadget 7") != std::string::npos, "the click inside is delivered");
  ::DestroyWindow(other);
}

// The copy menu at the cursor with the items greyed as asked; dismissed, it raises no event.
void CheckContextMenu(Fixture& f) {
  SetContext("context menu");
  ::SetCursorPos(300, 250);
  std::string seen = "no menu";
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

// The hook (installed by the list's checks, which see its selections and right clicks) hears of close
// requests, copy-data records (exactly cbData bytes, embedded NULs included; an empty record has no data
// address) and activation changes.
void CheckHook(Fixture& f) {
  SetContext("hook");
  f.hook.calls.clear();
  ::PostMessageA(f.main, WM_CLOSE, 0, 0);
  CHECK_NOTE(Drain(f).find("close 0") == std::string::npos, "the hook took the close request");
  ::SendMessageA(f.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  char bytes[] = {'a', 'b', '\0', 'c', 'X'};
  COPYDATASTRUCT record{0x40D, 4, bytes}, empty{0x410, 0, nullptr};
  CHECK_EQ(0L, static_cast<long>(::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&record))));
  ::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&empty));
  HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ::SetForegroundWindow(other);
  ::SetForegroundWindow(f.main);
  ::DestroyWindow(other);
  CHECK_EQ(std::string("close, close, copydata 4660 1037 ab<NUL>c, copydata 4660 1040 , inactive, active"), f.hook.calls);
}

}  // namespace
}  // namespace mirravel::e2e

int main() {
  using namespace mirravel::e2e;
  Fixture f;
  CHECK(f.platform.CreateContextMenu(
      {{1, "Copy to to jaPBe"}, {2, "Copy value only to jaPBe"}, {3, "Copy to clipboard"}}));
  f.window = f.platform.BuildMainWindow();
  if (CHECK_NOTE(f.window != nullptr, "the main window opens")) {
    f.main = WaitForTopLevelWindow(::GetCurrentProcessId(), "MirravelMainWindow", nullptr, true, 5000);
    Drain(f);  // the focus given at the end of building
    CheckControls(f);
    CheckEvents(f);
    CheckMessageBox(f);
    CheckContextMenu(f);
    CheckList(f);
    CheckHook(f);
    f.platform.CloseMainWindow();
    SetContext("close");
    CHECK_NOTE(!::IsWindow(f.main), "the window is gone");
  }
  return Summary("e2e_window_layer");
}
