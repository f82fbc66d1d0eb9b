// The help lookup against the help-engine stand-in: the "?" button follows the PureBasic registration
// (keys made read-only, as a standard user meets them); pressing it hands the stand-in HELP_KEY with the
// constant and stands the two windows side by side as computed from the work area; a second press changes
// the topic only; the end of the help brings Mirravel back; a help window that comes late is placed all the
// same; closing Mirravel sends HELP_QUIT; and a help window that never comes (or no help engine at all)
// gives the "Time Out !" box with the top-most state dropped meanwhile.
#include <windows.h>
// after windows.h, which it builds on
#include <sddl.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

struct Lookup {
  HKEY root;
  const char* tree;  // removed as a whole between the cases
  const char* key;
};
const Lookup kLookup1{HKEY_CLASSES_ROOT, "Applications\\PureBasic.exe",
                      "Applications\\PureBasic.exe\\shell\\open\\command"};
const Lookup kLookup2{HKEY_CURRENT_USER, "Software\\Classes\\PureBasic.exe",
                      "Software\\Classes\\PureBasic.exe\\shell\\open\\command"};

bool SetKeyAccess(const Lookup& lookup, const char* sddl) {
  HKEY key = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const bool done =
      ::RegOpenKeyExA(lookup.root, lookup.key, 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
      ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr) &&
      ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
  ::LocalFree(descriptor);
  ::RegCloseKey(key);
  return done;
}

void RemoveRegistration() {
  for (const Lookup& lookup : {kLookup1, kLookup2}) {
    SetKeyAccess(lookup, "D:P(A;;KA;;;WD)");  // all access again, also for a key an earlier run left
    ::RegDeleteTreeA(lookup.root, lookup.tree);
  }
}

// The open command as the key's default value; then everyone may read the key (and change its access list)
// and nobody gets all access rights, so the program finds it only by opening it read-only.
bool Register(const Lookup& lookup, const std::string& openCommand) {
  if (openCommand.empty()) return true;
  const bool written = ::RegSetKeyValueA(lookup.root, lookup.key, nullptr, REG_SZ, openCommand.c_str(),
                                         static_cast<DWORD>(openCommand.size() + 1)) == ERROR_SUCCESS;
  HKEY refused = nullptr;
  const bool readOnly = SetKeyAccess(lookup, "D:P(A;;KRWD;;;WD)") &&
                        ::RegOpenKeyExA(lookup.root, lookup.key, 0, KEY_ALL_ACCESS, &refused) == ERROR_ACCESS_DENIED;
  return CHECK_NOTE(written && readOnly, std::string("a read-only key ") + lookup.key);
}

// Waits for the help-engine stand-in's log ("command<TAB>keyword<TAB>file" a request) to hold `count`
// requests and checks the last one.
void ExpectRequest(const Peer& help, std::size_t count, const std::string& request) {
  WaitUntil([&] { return help.Log().size() >= count; });
  const std::vector<std::string> lines = help.Log();
  if (CHECK_EQ(count, lines.size())) CHECK_EQ(request, lines.back());
}

bool StartHelpEngine(Peer& help, const std::string& program, const std::string& showAfter) {
  return help.Start(program, "--help-engine --show-after " + showAfter, "MS_WINHELP");
}

bool StandsAt(HWND window, POINT place) {
  return WaitUntil([&] { return WindowRect(window).left == place.x && WindowRect(window).top == place.y; });
}

void PressHelp(Session& session, const std::string& copyField) {
  session.MarkCopyField(copyField);
  Click(session.Control(kHelpButton));
}

// The button follows the registration (whose rules the unit tests pin, this the real registry); the last
// row's session stays open for the help checks.
bool CheckRegistrations(Session& session, const std::string& program, const std::string& installation) {
  const std::string openCommand = "\"" + installation + "PureBasic.exe\" \"%1\"";
  const struct {
    const char* name;
    std::string lookup1;
    std::string lookup2;
    bool enabled;
  } cases[] = {
      {"nothing registered", "", "", false},
      {"lookup 1 without a directory; lookup 2", "PureBasic.exe \"%1\"", openCommand, true},
      {"lookup 1", openCommand, "", true},
  };
  for (const auto& c : cases) {
    SetContext(c.name);
    RemoveRegistration();
    if (!Register(kLookup1, c.lookup1) || !Register(kLookup2, c.lookup2)) return false;
    Session attempt;
    const bool last = &c == std::end(cases) - 1;
    Session& current = last ? session : attempt;
    if (!current.Start(program)) return false;
    CHECK_EQ(c.enabled, ::IsWindowEnabled(current.Control(kHelpButton)) != 0);
    if (!last) attempt.CloseAndExpectExitCode0();
  }
  return true;
}

// Mirravel moves to (0, 0), then the help window goes right of Mirravel's client width and two fixed
// frames, as wide and high as the rest of the work area, and the focus comes back to the find field. A
// second press changes the topic only; the end of the help brings Mirravel back.
void CheckHelpShowsAndGoes(Session& session, const std::string& standIn, const std::string& file) {
  SetContext("help at WM_PAINT");
  const RECT home = WindowRect(session.Main());
  Peer help;
  if (!StartHelpEngine(help, standIn, "0")) return;
  PressHelp(session, "#WM_PAINT = $F ");
  ExpectRequest(help, 1, "257\tWM_PAINT\t" + file);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG left = ClientRect(session.Main()).right + 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME);
  const std::string beside = Describe(RECT{left, 0, work.right - work.left, work.bottom - work.top});
  CHECK_NOTE(StandsAt(session.Main(), {0, 0}), "Mirravel moved to (0, 0)");
  WaitUntil([&] { return Describe(WindowRect(help.Window())) == beside; });
  CHECK_EQ(beside, Describe(WindowRect(help.Window())));
  CHECK(session.WaitForFocusIn(kFindField));

  SetContext("second press");
  ::SetWindowPos(session.Main(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(help.Window(), nullptr, 100, 110, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  PressHelp(session, "#WM_SIZE = $5 ");
  ExpectRequest(help, 2, "257\tWM_SIZE\t" + file);
  session.Settle();
  CHECK_NOTE(StandsAt(session.Main(), {20, 30}), "Mirravel stays where it is");
  CHECK_EQ(std::string("100,110 300x200"), Describe(WindowRect(help.Window())));

  SetContext("help ended");
  SetFocusTo(session.Control(kListView));
  Post(help.Window(), WM_CLOSE);
  CHECK_EQ(0LL, help.Program().WaitForExit());
  CHECK_NOTE(StandsAt(session.Main(), {home.left, home.top}), "Mirravel back at " + Describe(home));
  CHECK(session.WaitForFocusIn(kFindField));
}

// A help window that shows only after a while is still waited for and placed; closing Mirravel ends it.
void CheckLateHelpAndQuit(Session& session, const std::string& standIn, const std::string& file) {
  SetContext("help window late, contents");
  Peer late;
  if (!StartHelpEngine(late, standIn, "1500")) return;
  PressHelp(session, "");
  ExpectRequest(late, 1, "3\t\t" + file);
  CHECK_NOTE(StandsAt(session.Main(), {0, 0}), "placed once the window came");
  CHECK(session.NoBoxWithin(500));

  SetContext("closing Mirravel");
  session.CloseAndExpectExitCode0();
  ExpectRequest(late, 2, "2\t\t" + file);
  CHECK_EQ(0LL, late.Program().WaitForExit());
}

// The box shows after the whole wait with Mirravel not top-most; afterwards the box's setting holds.
void CheckTimeOut(Session& session, bool alwaysOnTop) {
  const DWORD pressed = ::GetTickCount();
  PressHelp(session, "#WM_PAINT = $F ");
  const MessageBoxInfo box = WaitForMessageBox(session.Program().Id(), 20000);
  if (!CHECK_NOTE(box.window != nullptr, "the Time Out ! box")) return;
  CHECK_NOTE(::GetTickCount() - pressed >= 5000, "the box comes after the 5000 ms wait");
  CHECK_EQ(std::string("Time Out !"), box.title);
  CHECK_EQ(std::string("Could not find help window in 5000 ms !\n< Win32 Programmer's Reference >"), box.text);
  CHECK_NOTE(!IsTopMost(session.Main()), "not top-most while the box shows");
  AnswerMessageBox(box.window, IDOK);
  CHECK(WaitUntil([&] { return !::IsWindowVisible(box.window); }));
  session.Settle();
  CHECK_EQ(alwaysOnTop, IsTopMost(session.Main()));
}

void CheckTimeOuts(const std::string& program, const std::string& standIn, const std::string& file) {
  Session session;
  if (!session.Start(program)) return;
  const RECT home = WindowRect(session.Main());
  SetContext("no help engine at all");
  CheckTimeOut(session, true);
  ::WinHelpA(nullptr, file.c_str(), HELP_QUIT, 0);  // Wine's own engine started in the stand-in's place

  SetContext("help window never comes, not top-most");
  Peer help;
  if (!StartHelpEngine(help, standIn, "never")) return;
  Click(session.Control(kAlwaysOnTopBox));
  CHECK(WaitUntil([&] { return !IsTopMost(session.Main()); }));
  CheckTimeOut(session, false);
  ExpectRequest(help, 1, "257\tWM_PAINT\t" + file);
  CHECK_NOTE(StandsAt(session.Main(), {home.left, home.top}), "nothing moved");
  session.CloseAndExpectExitCode0();
  CHECK_EQ(static_cast<std::size_t>(1), help.Log().size());  // no HELP_QUIT: no help window was found
}

}  // namespace

void RunHelpSuite(const SuitePaths& paths) {
  // A PureBasic installation with a help file below the temporary directory.
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string suite = std::string(temp) + "Mirravel help suite\\";
  const std::string dir = suite + "Pure Basic\\";
  for (const std::string& sub : {suite, dir, dir + "help"}) ::CreateDirectoryA(sub.c_str(), nullptr);
  const std::string file = dir + "help\\win32.hlp";
  std::ofstream(file, std::ios::binary) << "LN help file stand-in";
  Session session;
  if (CheckRegistrations(session, paths.program, dir)) {
    CheckHelpShowsAndGoes(session, paths.peer, file);
    CheckLateHelpAndQuit(session, paths.peer, file);
    CheckTimeOuts(paths.program, paths.peer, file);
  }
  SetContext("");
  RemoveRegistration();
}

}  // namespace mirravel::e2e
