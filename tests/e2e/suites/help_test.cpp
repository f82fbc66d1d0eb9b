// The help lookup against the help-engine stand-in, registered under read-only keys: the requests as WinHelpA
// carries them, the windows side by side, Mirravel back at the help's end. The flow's waits, its time-out
// and HELP_QUIT at the end are the unit tests'.
#include <windows.h>
// after windows.h, which it builds on
#include <sddl.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

const struct Lookup { HKEY root; const char* key; } kLookups[] = {{HKEY_CLASSES_ROOT, "Applications\\PureBasic.exe\\shell\\open\\command"},
                           {HKEY_CURRENT_USER, "Software\\Classes\\PureBasic.exe\\shell\\open\\command"}};

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

// Removes both registrations; then writes a non-empty `openCommand` to lookup 1's key, made read-only.
bool Register(const std::string& openCommand) {
  for (const Lookup& lookup : kLookups) {
    SetKeyAccess(lookup, "D:P(A;;KA;;;WD)");  // all access again, also for a key an earlier run left
    const std::string key = lookup.key;
    ::RegDeleteTreeA(lookup.root, key.substr(0, key.find("\\shell")).c_str());
  }
  const Lookup& lookup = kLookups[0];
  HKEY refused = nullptr;
  return openCommand.empty() ||
         CHECK_NOTE(::RegSetKeyValueA(lookup.root, lookup.key, nullptr, REG_SZ, openCommand.c_str(),
                                      static_cast<DWORD>(openCommand.size() + 1)) == ERROR_SUCCESS &&
                        SetKeyAccess(lookup, "D:P(A;;KRWD;;;WD)") &&
                        ::RegOpenKeyExA(lookup.root, lookup.key, 0, KEY_ALL_ACCESS, &refused) == ERROR_ACCESS_DENIED,
                    "a read-only key");
}

// Waits for `count` requests ("command<TAB>keyword<TAB>file") in the stand-in's log and checks the last.
void ExpectRequest(const Peer& help, std::size_t count, const std::string& request) {
  WaitUntil([&] { return help.Log().size() >= count; });
  const std::vector<std::string> lines = help.Log();
  if (CHECK_EQ(count, lines.size())) CHECK_EQ(request, lines.back());
}

bool StandsAt(HWND window, LONG x, LONG y) {
  return WaitUntil([&] { return WindowRect(window).left == x && WindowRect(window).top == y; });
}

// The help's keyword comes from the copy field.
void PressHelp(Session& session, const std::string& copyField) {
  SetText(session.Control(kCopyField), copyField);
  session.Settle();
  Click(session.Control(kHelpButton));
}

// Mirravel moves to (0, 0), the help fills the work area right of it; when the help ends, Mirravel goes back.
void CheckHelpShowsAndGoes(Session& session, const std::string& standIn, const std::string& file) {
  SetContext("help contents, then WM_PAINT");
  const RECT home = WindowRect(session.Main());
  Peer help;
  if (!help.Start(standIn, "--help-engine", "MS_WINHELP")) return;
  PressHelp(session, "");
  ExpectRequest(help, 1, "3\t\t" + file);
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG left = ClientRect(session.Main()).right + 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME);
  const std::string beside = Describe(RECT{left, 0, work.right - work.left, work.bottom - work.top});
  CHECK_NOTE(StandsAt(session.Main(), 0, 0), "Mirravel moved to (0, 0)");
  CHECK_NOTE(WaitUntil([&] { return Describe(WindowRect(help.Window())) == beside; }), "the help at " + beside);
  PressHelp(session, "#WM_PAINT = $F ");
  ExpectRequest(help, 2, "257\tWM_PAINT\t" + file);
  SetContext("help ended");
  Post(help.Window(), WM_CLOSE);
  CHECK_NOTE(StandsAt(session.Main(), home.left, home.top), "Mirravel back at " + Describe(home));
  session.CloseAndExpectExitCode0();
}

}  // namespace

void RunHelpSuite(const SuitePaths& paths) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string dir = std::string(temp) + "Pure Basic (Mirravel help suite)\\";
  for (const std::string& sub : {dir, dir + "help"}) ::CreateDirectoryA(sub.c_str(), nullptr);
  const std::string file = dir + "help\\win32.hlp";
  std::ofstream(file, std::ios::binary) << "LN help file stand-in";
  Session session;
  SetContext("read-only registration");  // the lookup's rules are the unit tests', this the real registry
  if (Register("\"" + dir + "PureBasic.exe\" \"%1\"") && session.Start(paths.program) &&
      CHECK(::IsWindowEnabled(session.Control(kHelpButton)))) {
    CheckHelpShowsAndGoes(session, paths.peer, file);
  }
  Register("");
}

}  // namespace mirravel::e2e
