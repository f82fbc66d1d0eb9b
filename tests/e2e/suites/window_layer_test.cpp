// Window layer suite, in the program's own process: the real main window built by the platform layer,
// driven through the window-layer interface with a recording message hook. Covers what another process
// cannot see under Wine (fonts, the event queue, held shortcut keys, the hook's calls, modal state).
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "tests/e2e/harness/checks.h"
#include "tests/e2e/harness/harness.h"
#include "ports/control_ids.h"

namespace {

using namespace mirravel;
using namespace mirravel::e2e;
using Kind = WindowEvent::Kind;

struct RecordingHook : MessageHook {
  std::vector<std::pair<std::int32_t, std::int32_t>> selections;
  int rightButtons = 0;
  int closeRequests = 0;
  void OnListSelectionChanged(std::int32_t selectionMin, std::int32_t selectionMax) override {
    selections.emplace_back(selectionMin, selectionMax);
  }
  void OnListRightButtonDown() override { ++rightButtons; }
  void OnCloseRequest() override { ++closeRequests; }
  bool OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) override {
    copyData.push_back(std::to_string(sender) + " " + std::to_string(code) + " " + std::string(bytes));
    return true;
  }
  std::vector<std::string> copyData;
};

struct Fixture {
  platform::Win32Platform platform{::GetModuleHandleA(nullptr)};
  WindowPort* window = nullptr;
  HWND main = nullptr;
};

HWND ControlWindow(Fixture& f, int id) { return FindControl(f.main, id); }

std::string Describe(const WindowEvent& event) {
  const char* kinds[] = {"none", "gadget", "menu", "close"};
  return std::string(kinds[static_cast<int>(event.kind)]) + " " + std::to_string(event.id);
}

// Every event that turns up within a few loop turns, in order.
std::vector<std::string> Drain(Fixture& f, int turns = 20) {
  std::vector<std::string> events;
  for (int i = 0; i < turns; ++i) {
    f.window->PumpOneMessage();
    const WindowEvent event = f.window->FetchEvent();
    if (event.kind != Kind::None) events.push_back(Describe(event));
  }
  return events;
}

// Runs `action` on a second thread while the calling thread sits in a modal loop.
class HelperThread {
 public:
  explicit HelperThread(std::function<void()> action) : action_(std::move(action)) {
    thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~HelperThread() {
    ::WaitForSingleObject(thread_, 15000);
    ::CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<HelperThread*>(self)->action_();
    return 0;
  }
  std::function<void()> action_;
  HANDLE thread_;
};

HWND WaitForOwnWindow(const char* className) {
  return WaitForTopLevelWindow(::GetCurrentProcessId(), className, nullptr, 5000);
}

void CheckFonts(Fixture& f) {
  CheckCounter::Instance().SetContext("fonts");
  HGDIOBJ guiFont = ::GetStockObject(DEFAULT_GUI_FONT);
  for (int id = 0; id <= kOnlyValueBox; ++id) {
    if (id == kListView) continue;  // the list keeps its fixed-pitch font
    CHECK_NOTE(reinterpret_cast<HGDIOBJ>(::SendMessageA(ControlWindow(f, id), WM_GETFONT, 0, 0)) == guiFont,
               "control " + std::to_string(id) + " has DEFAULT_GUI_FONT");
  }
  HWND tab = ::FindWindowExA(ControlWindow(f, kTabPanel), nullptr, WC_TABCONTROLA, nullptr);
  CHECK_NOTE(reinterpret_cast<HGDIOBJ>(::SendMessageA(tab, WM_GETFONT, 0, 0)) == guiFont, "the tab control too");
}

void CheckControlOperations(Fixture& f) {
  CheckCounter::Instance().SetContext("control operations");
  WindowPort& w = *f.window;
  CHECK_EQ(kFindField, w.FocusedControl());
  CHECK_EQ(std::string("Constant to find :"), w.GetControlText(kFindLabel));
  CHECK_EQ(std::string(""), w.GetControlText(kCopyField));
  CHECK_EQ(std::string(""), w.GetControlText(99));

  CHECK_EQ(1, w.GetControlState(kOnlyValueBox));
  w.SetControlState(kOnlyValueBox, 0);
  CHECK_EQ(0, w.GetControlState(kOnlyValueBox));
  w.SetControlState(kOnlyValueBox, 1);
  CHECK_EQ(1, w.GetControlState(kAlwaysOnTopBox));
  CHECK_EQ(0, w.GetControlState(kFindField));  // no state

  CHECK_EQ(0, w.GetControlState(kTabPanel));
  w.SetControlState(kTabPanel, 1);
  CHECK_EQ(1, w.GetControlState(kTabPanel));
  CHECK_NOTE(::IsWindowVisible(ControlWindow(f, kAboutButton)) && !::IsWindowVisible(ControlWindow(f, kFindField)),
             "the Options page shows alone");
  w.SetControlState(kTabPanel, 0);
  CHECK_NOTE(!::IsWindowVisible(ControlWindow(f, kAboutButton)) && ::IsWindowVisible(ControlWindow(f, kFindField)),
             "the find page shows alone");

  w.DisableControl(kAboutButton, true);
  CHECK(!::IsWindowEnabled(ControlWindow(f, kAboutButton)));
  w.DisableControl(kAboutButton, false);
  CHECK(::IsWindowEnabled(ControlWindow(f, kAboutButton)));

  w.FocusControl(kFindButton);
  CHECK_EQ(kFindButton, w.FocusedControl());
  w.FocusControl(kTabPanel);
  CHECK_EQ(kTabPanel, w.FocusedControl());
  w.FocusControl(kListView);
  CHECK_EQ(kListView, w.FocusedControl());
  w.FocusControl(kFindField);

  w.SetTitle("Mirravel - Searching for '#WM_PAINT' ...");
  CHECK_EQ(std::string("Mirravel - Searching for '#WM_PAINT' ..."), GetText(f.main));
  w.SetTitle("Mirravel");
  w.SetTopMost(false);
  CHECK((ExStyle(f.main) & WS_EX_TOPMOST) == 0);
  w.SetTopMost(true);
  CHECK((ExStyle(f.main) & WS_EX_TOPMOST) != 0);
  Drain(*&f);
}

void CheckEvents(Fixture& f) {
  WindowPort& w = *f.window;
  CheckCounter::Instance().SetContext("text change");
  w.SetControlText(kFindField, "wm_paint");
  CHECK_EQ(std::string("wm_paint"), w.GetControlText(kFindField));
  std::vector<std::string> events = Drain(f);
  CHECK_NOTE(!events.empty(), "the change raised an event");
  for (const std::string& event : events) CHECK_EQ(std::string("gadget 6"), event);

  // The click takes the focus from the find field first, and losing the focus is an event too.
  CheckCounter::Instance().SetContext("click in a page");
  ::SendMessageA(ControlWindow(f, kAboutButton), BM_CLICK, 0, 0);  // on the hidden Options page
  events = Drain(f);
  CHECK_EQ(static_cast<size_t>(2), events.size());
  if (events.size() == 2) {
    CHECK_EQ(std::string("gadget 6"), events[0]);
    CHECK_EQ(std::string("gadget 10"), events[1]);
  }
  w.FocusControl(kFindField);
  Drain(f);

  struct ShortcutCase {
    const char* name;
    int targetId;
    UINT key;
    const char* event;
  };
  const ShortcutCase shortcuts[] = {
      {"F3 in the find field", kFindField, VK_F3, "menu 5"},
      {"Return in the find field", kFindField, VK_RETURN, "menu 4"},
      {"Return in the list", kListView, VK_RETURN, "menu 4"},  // the program decides by the focus
      {"F3 on a button", kFindButton, VK_F3, "menu 5"},
  };
  for (const ShortcutCase& c : shortcuts) {
    CheckCounter::Instance().SetContext(c.name);
    PostKeyPress(ControlWindow(f, c.targetId), c.key);
    events = Drain(f);
    CHECK_EQ(static_cast<size_t>(1), events.size());
    if (!events.empty()) CHECK_EQ(std::string(c.event), events.front());
  }

  // A shortcut key that the pump takes is kept for the next fetch, also across other messages.
  CheckCounter::Instance().SetContext("held shortcut key");
  PostKeyDown(ControlWindow(f, kFindField), VK_F3);
  ::PostMessageA(f.main, WM_NULL, 0, 0);
  w.PumpOneMessage();
  w.PumpOneMessage();
  const WindowEvent held = w.FetchEvent();
  CHECK_EQ(std::string("menu 5"), Describe(held));
  Drain(f);

  CheckCounter::Instance().SetContext("menu item");
  ::PostMessageA(f.main, WM_COMMAND, MAKEWPARAM(kMenuCopyToClipboard, 0), 0);
  events = Drain(f);
  CHECK_EQ(static_cast<size_t>(1), events.size());
  if (!events.empty()) CHECK_EQ(std::string("menu 3"), events.front());

  CheckCounter::Instance().SetContext("tab click");
  HWND tab = ::FindWindowExA(ControlWindow(f, kTabPanel), nullptr, WC_TABCONTROLA, nullptr);
  RECT item{};
  ::SendMessageA(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  ::PostMessageA(tab, WM_LBUTTONUP, 0, centre);
  events = Drain(f);
  CHECK_NOTE(std::find(events.begin(), events.end(), "gadget 1") != events.end(), "a tab change is gadget 1");
  CHECK_EQ(1, w.GetControlState(kTabPanel));
  CHECK(::IsWindowVisible(ControlWindow(f, kRegisterButton)));
  w.SetControlState(kTabPanel, 0);

  CheckCounter::Instance().SetContext("close without hook");
  ::PostMessageA(f.main, WM_CLOSE, 0, 0);
  events = Drain(f);
  CHECK_EQ(static_cast<size_t>(1), events.size());
  if (!events.empty()) CHECK_EQ(std::string("close 0"), events.front());
  CHECK_NOTE(::IsWindow(f.main), "the window stays until the program closes it");
}

// While a box is open, the program's other windows are disabled; events raised inside the box's loop
// wait in the queue.
void CheckMessageBox(Fixture& f) {
  CheckCounter::Instance().SetContext("message box");
  HWND other = ::CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
  ::SetForegroundWindow(f.main);
  bool otherDisabled = false;
  bool mainDisabled = false;
  HWND owner = nullptr;
  std::string text;
  int answer = 0;
  {
    HelperThread helper([&] {
      HWND box = WaitForOwnWindow("#32770");
      if (box == nullptr) return;
      otherDisabled = !::IsWindowEnabled(other);
      mainDisabled = !::IsWindowEnabled(f.main);
      owner = ::GetWindow(box, GW_OWNER);
      text = GetText(FindControl(box, 0xFFFF));
      ::SendMessageA(FindControl(f.main, kFindButton), BM_CLICK, 0, 0);  // handled inside the box's loop
      AnswerMessageBox(box, IDOK);
    });
    answer = f.window->ShowMessageBox("Find text", "No more entry found", 0x40);
  }
  CHECK_EQ(IDOK, answer);
  CHECK_EQ(std::string("No more entry found"), text);
  CHECK_NOTE(otherDisabled, "another top-level window of the thread is disabled while the box is open");
  CHECK_NOTE(mainDisabled, "the main window is disabled while the box is open");
  CHECK_NOTE(owner == f.main, "the box is owned by the program's foreground window");
  CHECK_NOTE(::IsWindowEnabled(other) && ::IsWindowEnabled(f.main), "both are enabled again afterwards");
  const std::vector<std::string> events = Drain(f);
  CHECK_NOTE(std::find(events.begin(), events.end(), "gadget 7") != events.end(),
             "the click made inside the box's loop is still delivered");
  ::DestroyWindow(other);
}

void CheckContextMenu(Fixture& f) {
  CheckCounter::Instance().SetContext("context menu");
  ::SetCursorPos(300, 250);
  UINT states[3] = {};
  RECT place{};
  bool shown = false;
  {
    HelperThread helper([&] {
      HWND menu = WaitForOwnWindow("#32768");
      if (menu == nullptr) return;
      shown = true;
      place = WindowRect(menu);
      HMENU handle = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (UINT i = 0; i < 3; ++i) states[i] = ::GetMenuState(handle, kMenuCopyToHost + i, MF_BYCOMMAND);
      ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    f.window->ShowContextMenu({false, false, true});
  }
  if (!CHECK_NOTE(shown, "a popup menu opened")) return;
  CHECK_EQ(static_cast<UINT>(MF_GRAYED), states[0] & MF_GRAYED);
  CHECK_EQ(static_cast<UINT>(MF_GRAYED), states[1] & MF_GRAYED);
  CHECK_EQ(0u, states[2] & MF_GRAYED);
  CHECK_EQ(299L, place.left);
  CHECK_EQ(249L, place.top);
  CHECK_EQ(static_cast<size_t>(0), Drain(f).size());  // dismissed: no event
}

void CheckHook(Fixture& f) {
  CheckCounter::Instance().SetContext("hook");
  RecordingHook hook;
  f.platform.InstallMessageHook(hook);
  WindowPort& w = *f.window;
  w.AssignListText("#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F ' Paint\r\n");
  CHECK_EQ(2, w.ListLineCount());
  w.SelectInList(32, 41);
  CHECK_EQ(static_cast<size_t>(1), hook.selections.size());
  if (!hook.selections.empty()) {
    CHECK_EQ(32, hook.selections.back().first);
    CHECK_EQ(41, hook.selections.back().second);
  }
  HWND list = ControlWindow(f, kListView);
  char selected[32] = {};
  ::SendMessageA(list, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected));
  CHECK_EQ(std::string("#WM_PAINT"), std::string(selected));

  ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Drain(f);
  CHECK_EQ(0, hook.rightButtons);
  ::PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  Drain(f);
  CHECK_EQ(1, hook.rightButtons);

  ::PostMessageA(f.main, WM_CLOSE, 0, 0);
  const std::vector<std::string> events = Drain(f);
  CHECK_EQ(1, hook.closeRequests);
  CHECK_NOTE(std::find(events.begin(), events.end(), "close 0") == events.end(), "the hook took the close request");

  ::SendMessageA(f.main, WM_SYSCOMMAND, SC_CLOSE, 0);
  Drain(f);
  CHECK_EQ(2, hook.closeRequests);

  // The hook gets exactly cbData bytes, embedded NULs included; an empty record has no data address.
  char bytes[] = {'a', 'b', '\0', 'c', 'X'};
  COPYDATASTRUCT record{0x40D, 4, bytes};
  CHECK_EQ(0L, static_cast<long>(::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&record))));
  COPYDATASTRUCT empty{0x410, 0, nullptr};
  ::SendMessageA(f.main, WM_COPYDATA, 0x1234, reinterpret_cast<LPARAM>(&empty));
  if (CHECK_EQ(static_cast<size_t>(2), hook.copyData.size())) {
    CHECK_EQ(std::string("4660 1037 ab\0c", 14), hook.copyData[0]);
    CHECK_EQ(std::string("4660 1040 "), hook.copyData[1]);
  }
}

}  // namespace

int main() {
  Fixture f;
  CHECK(f.platform.CreateContextMenu({{1, "Copy to to jaPBe"}, {2, "Copy value only to jaPBe"}, {3, "Copy to clipboard"}}));
  f.window = f.platform.BuildMainWindow();
  if (CHECK_NOTE(f.window != nullptr, "the main window opens")) {
    f.main = WaitForOwnWindow("MirravelMainWindow");
    CHECK(f.main != nullptr);
    Drain(f);  // the focus given at the end of building
    CheckFonts(f);
    CheckControlOperations(f);
    CheckEvents(f);
    CheckMessageBox(f);
    CheckContextMenu(f);
    CheckHook(f);
    f.platform.CloseMainWindow();
    CheckCounter::Instance().SetContext("close");
    CHECK_NOTE(!::IsWindow(f.main), "the window is gone");
  }
  return CheckCounter::Instance().Summary("e2e_window_layer");
}
