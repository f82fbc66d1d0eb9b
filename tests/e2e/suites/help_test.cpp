// The help lookup against the help-engine stand-in: the "?" button follows the PureBasic registration
// (keys made read-only, as a standard user meets them); pressing it hands the stand-in HELP_KEY with the
// constant and stands the two windows side by side as computed from the work area; a second press changes
// the topic only; the end of the help brings Mirravel back; closing Mirravel sends HELP_QUIT; and a help
// window that never comes gives the "Time Out !" box with the top-most state dropped meanwhile.
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
  HKEY key = nullptr;
  const bool written = ::RegCreateKeyExA(lookup.root, lookup.key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                         nullptr) == ERROR_SUCCESS &&
                       ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(openCommand.c_str()),
                                        static_cast<DWORD>(openCommand.size() + 1)) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  HKEY refused = nullptr;
  const bool readOnly = SetKeyAccess(lookup, "D:P(A;;KRWD;;;WD)") &&
                        ::RegOpenKeyExA(lookup.root, lookup.key, 0, KEY_ALL_ACCESS, &refused) == ERROR_ACCESS_DENIED;
  return CHECK_NOTE(written && readOnly, std::string("a read-only key ") + lookup.key);
}

// The help-engine stand-in, logging each request as "command<TAB>keyword<TAB>file".
struct StandIn {
  Process process;
  std::string log;
  HWND window = nullptr;

  bool Start(const std::string& program, const std::string& logPath, const std::string& mode) {
    log = logPath;
    ::DeleteFileA(log.c_str());
    if (!CHECK(process.Start(Quoted(program) + " " + Quoted(log) + " " + mode))) return false;
    window = WaitForTopLevelWindow(process.Id(), "MS_WINHELP", nullptr, false);
    return CHECK_NOTE(window != nullptr, "the stand-in's MS_WINHELP window");
  }
  // Waits for the log to hold `count` requests and checks the last one.
  void ExpectRequest(std::size_t count, const std::string& request) const {
    WaitUntil([&] { return FileLines(log).size() >= count; });
    const std::vector<std::string> lines = FileLines(log);
    if (CHECK_EQ(count, lines.size())) CHECK_EQ(request, lines.back());
  }
};

bool StandsAt(HWND window, POINT place) {
  return WaitUntil([&] { return WindowRect(window).left == place.x && WindowRect(window).top == place.y; });
}

void PressHelp(Session& session, const std::string& copyField) {
  session.MarkCopyField(copyField);
  Click(session.Control(kHelpButton));
}

// Mirravel moves to (0, 0), then the help window goes right of Mirravel's client width and two fixed
// frames, as wide and high as the rest of the work area, and the focus comes back to the find field.
void CheckSideBySide(Session& session, HWND help) {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG left = ClientRect(session.Main()).right + 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME);
  const std::string expected = Describe(RECT{left, 0, work.right - work.left, work.bottom - work.top});
  CHECK_NOTE(StandsAt(session.Main(), {0, 0}), "Mirravel moved to (0, 0)");
  WaitUntil([&] { return Describe(WindowRect(help)) == expected; });
  CHECK_EQ(expected, Describe(WindowRect(help)));
  CHECK(session.WaitForFocusIn(kFindField));
}

// The button follows the registration; the last row's session stays open for the help checks.
bool CheckRegistrations(Session& session, const std::string& program, const std::string& installations) {
  const auto openCommand = [&](const char* dir) { return "\"" + installations + dir + "\\PureBasic.exe\" \"%1\""; };
  const struct {
    const char* name;
    std::string lookup1;
    std::string lookup2;
    bool enabled;
  } cases[] = {
      {"nothing registered", "", "", false},
      {"lookup 1 names an empty win32.hlp; lookup 2 is not read", openCommand("Empty Basic"), openCommand("Pure Basic"),
       false},
      {"lookup 1 without a directory; lookup 2", "PureBasic.exe \"%1\"", openCommand("Pure Basic"), true},
      {"lookup 1", openCommand("Pure Basic"), "", true},
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

void CheckHelpShowsAndGoes(Session& session, const std::string& standIn, const std::string& dir,
                           const std::string& file) {
  SetContext("help at WM_PAINT");
  const RECT home = WindowRect(session.Main());
  StandIn help;
  if (!help.Start(standIn, dir + "winhelp-1.log", "")) return;
  PressHelp(session, "#WM_PAINT = $F ");
  help.ExpectRequest(1, "257\tWM_PAINT\t" + file);
  CheckSideBySide(session, help.window);

  SetContext("second press");
  ::SetWindowPos(session.Main(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(help.window, nullptr, 100, 110, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  PressHelp(session, "#WM_SIZE = $5 ");
  help.ExpectRequest(2, "257\tWM_SIZE\t" + file);
  session.Settle();
  CHECK_NOTE(StandsAt(session.Main(), {20, 30}), "Mirravel stays where it is");
  CHECK_EQ(std::string("100,110 300x200"), Describe(WindowRect(help.window)));

  SetContext("help ended");
  SetFocusTo(session.Control(kListView));
  Post(help.window, WM_CLOSE);
  CHECK_EQ(0LL, help.process.WaitForExit());
  CHECK_NOTE(StandsAt(session.Main(), {home.left, home.top}), "Mirravel back at " + Describe(home));
  CHECK(session.WaitForFocusIn(kFindField));
}

void CheckLateHelpAndQuit(Session& session, const std::string& standIn, const std::string& dir,
                          const std::string& file) {
  SetContext("help window late, contents");
  StandIn late;
  if (!late.Start(standIn, dir + "winhelp-2.log", "late 1500")) return;
  PressHelp(session, "");
  late.ExpectRequest(1, "3\t\t" + file);
  CHECK_NOTE(StandsAt(session.Main(), {0, 0}), "placed once the window came");
  CHECK(session.NoBoxWithin(500));
  CheckSideBySide(session, late.window);

  SetContext("closing Mirravel");
  session.CloseAndExpectExitCode0();
  late.ExpectRequest(2, "2\t\t" + file);
  CHECK_EQ(0LL, late.process.WaitForExit());
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

void CheckTimeOuts(const std::string& program, const std::string& standIn, const std::string& dir,
                   const std::string& file) {
  Session session;
  if (!session.Start(program)) return;
  const RECT home = WindowRect(session.Main());
  SetContext("no help engine at all");
  CheckTimeOut(session, true);
  ::WinHelpA(nullptr, file.c_str(), HELP_QUIT, 0);  // Wine's own engine started in the stand-in's place

  SetContext("help window never comes, not top-most");
  StandIn help;
  if (!help.Start(standIn, dir + "winhelp-3.log", "never")) return;
  Click(session.Control(kAlwaysOnTopBox));
  CHECK(WaitUntil([&] { return !IsTopMost(session.Main()); }));
  CheckTimeOut(session, false);
  help.ExpectRequest(1, "257\tWM_PAINT\t" + file);
  CHECK_NOTE(StandsAt(session.Main(), {home.left, home.top}), "nothing moved");
  session.CloseAndExpectExitCode0();
  CHECK_EQ(static_cast<std::size_t>(1), FileLines(help.log).size());  // no HELP_QUIT: no help window was found
  Post(help.window, WM_CLOSE);
}

}  // namespace

void RunHelpSuite(const SuitePaths& paths) {
  // Two PureBasic installations below the temporary directory: one with a help file, one with an empty one.
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "Mirravel help suite\\";
  for (const char* sub : {"", "Pure Basic", "Pure Basic\\help", "Empty Basic", "Empty Basic\\help"}) {
    ::CreateDirectoryA((dir + sub).c_str(), nullptr);
  }
  const std::string file = dir + "Pure Basic\\help\\win32.hlp";
  std::ofstream(file, std::ios::binary) << "LN help file stand-in";
  std::ofstream(dir + "Empty Basic\\help\\win32.hlp", std::ios::binary).flush();
  Session session;
  if (CheckRegistrations(session, paths.program, dir)) {
    CheckHelpShowsAndGoes(session, paths.peer, dir, file);
    CheckLateHelpAndQuit(session, paths.peer, dir, file);
    CheckTimeOuts(paths.program, paths.peer, dir, file);
  }
  SetContext("");
  RemoveRegistration();
}

}  // namespace mirravel::e2e
