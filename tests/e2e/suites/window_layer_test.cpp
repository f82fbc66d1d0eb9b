// The window layer in the suite's own process: the real main window built by the platform layer, driven
// through the window-layer interface with a recording message hook. Covers what another process cannot see
// under Wine: fonts, the event queue and its order, held shortcut keys, modal state and the hook's calls.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {
namespace {

struct RecordingHook : MessageHook {
  std::vector<std::string> calls;
  void OnListSelectionChanged(std::int32_t selectionMin, std::int32_t selectionMax) override {
    calls.push_back("selection " + std::to_string(selectionMin) + " " + std::to_string(selectionMax));
  }
  void OnListRightButtonDown() override { calls.push_back("right button"); }
  void OnCloseRequest() override { calls.push_back("close"); }
  bool OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) override {
    std::string shown;
    for (const char c : bytes) shown += c == '\0' ? std::string("<NUL>") : std::string(1, c);
    calls.push_back("copydata " + std::to_string(sender) + " " + std::to_string(code) + " " + shown);
    return true;
  }
};

struct Fixture {
  platform::Win32Platform platform{::GetModuleHandleA(nullptr)};
  WindowPort* window = nullptr;
  HWND main = nullptr;
  HWND Control(int id) const { return FindControl(main, id); }
  HWND Tab() const { return ::FindWindowExA(Control(kTabPanel), nullptr, WC_TABCONTROLA, nullptr); }
};

std::string Name(const WindowEvent& event) {
  const char* kinds[] = {"none", "gadget", "menu", "close"};
  return kinds[static_cast<int>(event.kind)] + (" " + std::to_string(event.id));
}

// Every event that turns up within a few loop turns, in order.
std::vector<std::string> Drain(Fixture& f) {
  std::vector<std::string> events;
  for (int i = 0; i < 20; ++i) {
    f.window->PumpOneMessage();
    const WindowEvent event = f.window->FetchEvent();
    if (event.kind != WindowEvent::Kind::None) events.push_back(Name(event));
  }
  return events;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
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

void CheckFonts(Fixture& f) {
  SetContext("fonts");
  HGDIOBJ guiFont = ::GetStockObject(DEFAULT_GUI_FONT);
  for (int id = 0; id <= kOnlyValueBox; ++id) {
    if (id == kListView) continue;  // the list keeps its fixed-pitch font
    CHECK_NOTE(reinterpret_cast<HGDIOBJ>(::SendMessageA(f.Control(id), WM_GETFONT, 0, 0)) == guiFont,
               "control " + std::to_string(id));
  }
  CHECK_NOTE(reinterpret_cast<HGDIOBJ>(::SendMessageA(f.Tab(), WM_GETFONT, 0, 0)) == guiFont, "the tab control");
}

void CheckControlOperations(Fixture& f) {
  SetContext("control operations");
  WindowPort& w = *f.window;
  CHECK_EQ(kFindField, w.FocusedControl());
  CHECK_EQ(std::string("Constant to find :"), w.GetControlText(kFindLabel));
  CHECK_EQ(std::string(""), w.GetControlText(99));  // no such control
  CHECK_EQ(0, w.GetControlState(kFindField));       // a control without a state
  CHECK_EQ(1, w.GetControlState(kAlwaysOnTopBox));
  w.SetControlState(kOnlyValueBox, 0);
  CHECK_EQ(0, w.GetControlState(kOnlyValueBox));
  w.SetControlState(kOnlyValueBox, 1);
  for (const int page : {1, 0}) {
    w.SetControlState(kTabPanel, page);
    CHECK_EQ(page, w.GetControlState(kTabPanel));
    CHECK_NOTE(::IsWindowVisible(f.Control(kAboutButton)) == page && ::IsWindowVisible(f.Control(kFindField)) != page,
               "only page " + std::to_string(page) + " shows");
  }
  for (const bool disabled : {true, false}) {
    w.DisableControl(kAboutButton, disabled);
    CHECK_EQ(disabled, !::IsWindowEnabled(f.Control(kAboutButton)));
  }
  for (const int id : {kFindButton, kTabPanel, kListView, kFindField}) {
    w.FocusControl(id);
    CHECK_EQ(id, w.FocusedControl());
  }
  w.SetTitle("Mirravel - Searching for '#WM_PAINT' ...");
  CHECK_EQ(std::string("Mirravel - Searching for '#WM_PAINT' ..."), GetText(f.main));
  w.SetTitle("Mirravel");
  for (const bool topMost : {false, true}) {
    w.SetTopMost(topMost);
    CHECK_EQ(topMost, IsTopMost(f.main));
  }
  Drain(f);
}

// Each input raises its events in order: a changed field, a click (which takes the focus from the find
// field first), the shortcut keys wherever the focus is, a held key kept across other messages for the
// next fetch, a menu command, a tab change and the close request.
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
      {"F3 in the find field",
       [&] {
         w.FocusControl(kFindField);
         Drain(f);
         PostKeyPress(f.Control(kFindField), VK_F3);
       },
       "menu 5"},
      {"Return in the find field", [&] { PostKeyPress(f.Control(kFindField), VK_RETURN); }, "menu 4"},
      {"Return in the list", [&] { PostKeyPress(f.Control(kListView), VK_RETURN); }, "menu 4"},  // the program decides
      {"F3 on a button", [&] { PostKeyPress(f.Control(kFindButton), VK_F3); }, "menu 5"},
      {"menu item", [&] { ::PostMessageA(f.main, WM_COMMAND, MAKEWPARAM(kMenuCopyToClipboard, 0), 0); }, "menu 3"},
      {"close without a hook", [&] { ::PostMessageA(f.main, WM_CLOSE, 0, 0); }, "close 0"},
  };
  for (const auto& c : cases) {
    SetContext(c.name);
    c.input();
    CHECK_EQ(std::string(c.events), Joined(Drain(f)));
  }
  CHECK_NOTE(::IsWindow(f.main), "the window stays until the program closes it");

  SetContext("held shortcut key");
  PostKeyDown(f.Control(kFindField), VK_F3);
  ::PostMessageA(f.main, WM_NULL, 0, 0);
  w.PumpOneMessage();
  w.PumpOneMessage();
  CHECK_EQ(std::string("menu 5"), Name(w.FetchEvent()));
  Drain(f);

  SetContext("tab click");
  RECT item{};
  ::SendMessageA(f.Tab(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  ClickAt(f.Tab(), {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  const std::vector<std::string> events = Drain(f);
  CHECK_NOTE(std::find(events.begin(), events.end(), "gadget 1") != events.end(), "a tab change is gadget 1");
  CHECK_EQ(1, w.GetControlState(kTabPanel));
  CHECK(::IsWindowVisible(f.Control(kRegisterButton)));
  w.SetControlState(kTabPanel, 0);
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
        seen = GetText(FindControl(box, 0xFFFF)) + (::IsWindowEnabled(other) ? "" : ", other disabled") +
               (::IsWindowEnabled(f.main) ? "" : ", main disabled") +
               (::GetWindow(box, GW_OWNER) == f.main ? ", owned by main" : "");
        ::SendMessageA(f.Control(kFindButton), BM_CLICK, 0, 0);  // handled inside the box's loop
        AnswerMessageBox(box, IDOK);
      },
      [&] { answer = f.window->ShowMessageBox("Find text", "No more entry found", 0x40); });
  CHECK_EQ(IDOK, answer);
  CHECK_EQ(std::string("No more entry found, other disabled, main disabled, owned by main"), seen);
  CHECK_NOTE(::IsWindowEnabled(other) && ::IsWindowEnabled(f.main), "both enabled again afterwards");
  const std::vector<std::string> events = Drain(f);
  CHECK_NOTE(std::find(events.begin(), events.end(), "gadget 7") != events.end(), "the click inside is delivered");
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
  CHECK_EQ(std::string(""), Joined(Drain(f)));
}

// The hook hears of selections, right clicks in the list, close requests and copy-data records (exactly
// cbData bytes, embedded NULs included; an empty record has no data address).
void CheckHook(Fixture& f) {
  SetContext("hook");
  RecordingHook hook;
  f.platform.InstallMessageHook(hook);
  WindowPort& w = *f.window;
  w.AssignListText("#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F ' Paint\r\n");
  CHECK_EQ(2, w.ListLineCount());
  w.SelectInList(32, 41);
  char selected[32] = {};
  ::SendMessageA(f.Control(kListView), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected));
  CHECK_EQ(std::string("#WM_PAINT"), std::string(selected));
  ClickAt(f.Control(kListView), {5, 5});  // the caret to the start
  ClickAt(f.Control(kListView), {5, 5}, true);
  ::PostMessageA(f.main, WM_CLOSE, 0, 0);
  const std::vector<std::string> events = Drain(f);
  CHECK_NOTE(std::find(events.begin(), events.end(), "close 0") == events.end(), "the hook took the close request");
  ::SendMessageA(f.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  char bytes[] = {'a', 'b', '\0', 'c', 'X'};
  COPYDATASTRUCT record{0x40D, 4, bytes};
  CHECK_EQ(0L, static_cast<long>(::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&record))));
  COPYDATASTRUCT empty{0x410, 0, nullptr};
  ::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&empty));
  CHECK_EQ(std::string("selection 32 41, selection 0 0, right button, close, close, copydata 4660 1037 ab<NUL>c, "
                       "copydata 4660 1040 "),
           Joined(hook.calls));
}

}  // namespace
}  // namespace mirravel::e2e

int main() {
  using namespace mirravel::e2e;
  Fixture f;
  CHECK(f.platform.CreateContextMenu({{1, "Copy to to jaPBe"}, {2, "Copy value only to jaPBe"}, {3, "Copy to clipboard"}}));
  f.window = f.platform.BuildMainWindow();
  if (CHECK_NOTE(f.window != nullptr, "the main window opens")) {
    f.main = WaitForTopLevelWindow(::GetCurrentProcessId(), "MirravelMainWindow", nullptr, true, 5000);
    Drain(f);  // the focus given at the end of building
    CheckFonts(f);
    CheckControlOperations(f);
    CheckEvents(f);
    CheckMessageBox(f);
    CheckContextMenu(f);
    CheckHook(f);
    f.platform.CloseMainWindow();
    SetContext("close");
    CHECK_NOTE(!::IsWindow(f.main), "the window is gone");
  }
  return Summary("e2e_window_layer");
}
