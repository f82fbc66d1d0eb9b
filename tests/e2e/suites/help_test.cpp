// Help suite: the "?" button follows the PureBasic registration (written into the prefix with reg.exe,
// keys made read-only as a standard user meets them), pressing it hands the help-engine stand-in
// HELP_KEY with the constant, the two windows stand side by side as computed from the work area, a second
// press changes the topic only, the end of the help brings Mirravel back, closing Mirravel sends HELP_QUIT,
// and a help window that never comes gives the "Time Out !" box with the top-most state dropped meanwhile.
//
//   e2e_help.exe MIRRAVEL.exe WINHELP_STANDIN.exe
#include <windows.h>
// after windows.h, which it builds on
#include <sddl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

constexpr char kLookup1Key[] = "Applications\\PureBasic.exe\\shell\\open\\command";
constexpr char kLookup2Key[] = "Software\\Classes\\PureBasic.exe\\shell\\open\\command";
constexpr char kTimeOutText[] = "Could not find help window in 5000 ms !\n< Win32 Programmer's Reference >";

void SetContext(const std::string& context) { CheckCounter::Instance().SetContext(context); }

std::string RegPath(HKEY root, const char* key) {
  return std::string(root == HKEY_CLASSES_ROOT ? "HKCR\\" : "HKCU\\") + key;
}

// reg.exe of the suite's own bitness, so that the values land in the registry view Mirravel reads.
bool RunReg(const std::string& arguments) {
  Process reg;
  return reg.Start("reg.exe " + arguments) && reg.WaitForExit(30000) == 0;
}

// Quoted for reg.exe's command line: inner quotes escaped with a backslash.
std::string RegQuoted(const std::string& value) {
  std::string quoted = "\"";
  for (char c : value) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  return quoted + "\"";
}

bool SetKeyAccess(HKEY root, const char* key, const char* sddl) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExA(root, key, 0, WRITE_DAC, &opened) != ERROR_SUCCESS) return false;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  bool done = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr) &&
              ::RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
  ::LocalFree(descriptor);
  ::RegCloseKey(opened);
  return done;
}

// Everyone may read the key (and change its access list back); nobody gets all access rights.
bool MakeReadOnly(HKEY root, const char* key) { return SetKeyAccess(root, key, "D:P(A;;KRWD;;;WD)"); }

bool RefusesAllAccess(HKEY root, const char* key) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &opened);
  if (status == ERROR_SUCCESS) ::RegCloseKey(opened);
  return status == ERROR_ACCESS_DENIED;
}

void RemoveRegistration() {
  struct Registration {
    HKEY root;
    const char* key;
    const char* tree;
  };
  for (const Registration& r : {Registration{HKEY_CLASSES_ROOT, kLookup1Key, "Applications\\PureBasic.exe"},
                                Registration{HKEY_CURRENT_USER, kLookup2Key, "Software\\Classes\\PureBasic.exe"}}) {
    SetKeyAccess(r.root, r.key, "D:P(A;;KA;;;WD)");  // a read-only key, also one left by an earlier run
    ::RegDeleteTreeA(r.root, r.tree);
  }
}

bool Register(HKEY root, const char* key, const std::string& openCommand) {
  if (openCommand.empty()) return true;
  if (!CHECK_NOTE(RunReg("add " + RegQuoted(RegPath(root, key)) + " /ve /d " + RegQuoted(openCommand) + " /f"),
                  "reg.exe add " + RegPath(root, key))) {
    return false;
  }
  return CHECK_NOTE(MakeReadOnly(root, key), "read-only access list") &&
         CHECK_NOTE(RefusesAllAccess(root, key), "all access rights refused on " + RegPath(root, key));
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

// A fake PureBasic installation under the temporary directory.
struct Installations {
  std::string root;
  std::string full;   // help\win32.hlp of some bytes
  std::string empty;  // help\win32.hlp of zero bytes

  bool Make() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "Mirravel help suite\\";
    full = root + "Pure Basic\\";
    empty = root + "Empty Basic\\";
    for (const std::string& dir : {root, full, full + "help\\", empty, empty + "help\\"})
      ::CreateDirectoryA(dir.c_str(), nullptr);
    return CHECK(WriteFileBytes(full + "help\\win32.hlp", "LN help file stand-in")) &&
           CHECK(WriteFileBytes(empty + "help\\win32.hlp", ""));
  }
  static std::string OpenCommand(const std::string& dir) { return "\"" + dir + "PureBasic.exe\" \"%1\""; }
};

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// Waits for the stand-in's log to hold `count` requests and checks the last one.
bool ExpectRequest(const std::string& log, std::size_t count, const std::string& request) {
  WaitUntil([&] { return LogLines(log).size() >= count; });
  const std::vector<std::string> lines = LogLines(log);
  if (!CHECK_EQ(count, lines.size())) return false;
  return CHECK_EQ(request, lines.back());
}

struct StandIn {
  Process process;
  std::string log;
  HWND window = nullptr;

  bool Start(const std::string& program, const std::string& logPath, const std::string& mode) {
    log = logPath;
    ::DeleteFileA(log.c_str());
    if (!CHECK_NOTE(process.Start(Quoted(program) + " " + Quoted(log) + " " + mode), "start the stand-in"))
      return false;
    WaitUntil([&] {
      const auto windows = TopLevelWindows(process.Id(), "MS_WINHELP", nullptr, false);
      window = windows.empty() ? nullptr : windows.front();
      return window != nullptr;
    });
    return CHECK_NOTE(window != nullptr, "the stand-in's MS_WINHELP window");
  }
};

bool IsTopMost(HWND window) { return (ExStyle(window) & WS_EX_TOPMOST) != 0; }

bool StandsAt(HWND window, LONG left, LONG top) {
  const RECT rect = WindowRect(window);
  return rect.left == left && rect.top == top;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

// Mirravel at (0, 0); the help window right of Mirravel's client width and two fixed frames, as wide and
// high as the rest of the work area.
void CheckSideBySide(MirravelSession& session, HWND help) {
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG outer = ClientRect(session.Main()).right + 2 * ::GetSystemMetrics(SM_CXFIXEDFRAME);
  const std::string expected = Describe(RECT{outer, 0, work.right - work.left, work.bottom - work.top});
  // Mirravel moves first, then places the help window and takes the focus back.
  CHECK_NOTE(WaitUntil([&] { return StandsAt(session.Main(), 0, 0); }), "Mirravel moved to (0, 0)");
  WaitUntil([&] { return Describe(WindowRect(help)) == expected; });
  CHECK_EQ(expected, Describe(WindowRect(help)));
  CHECK_NOTE(WaitUntil([&] { return FocusOf(session.Main()) == session.Control(kFindFieldId); }),
             "the find field has the focus");
}

void PressHelp(MirravelSession& session, const std::string& copyField) {
  session.MarkCopyField(copyField);
  Click(session.Control(kHelpButtonId));
}

// The "?" button follows the registration; every key is read-only. The last row's session stays open
// for the help checks.
bool CheckRegistrations(MirravelSession& session, const std::string& mirravel, const Installations& at) {
  struct Case {
    const char* name;
    std::string lookup1;
    std::string lookup2;
    bool enabled;
  };
  const Case cases[] = {
      {"nothing registered", "", "", false},
      {"lookup 1 names an empty win32.hlp; lookup 2 is not read", Installations::OpenCommand(at.empty),
       Installations::OpenCommand(at.full), false},
      {"lookup 1 without a directory; lookup 2", "PureBasic.exe \"%1\"", Installations::OpenCommand(at.full), true},
      {"lookup 1", Installations::OpenCommand(at.full), "", true},
  };
  const std::size_t last = std::size(cases) - 1;
  for (std::size_t i = 0; i <= last; ++i) {
    const Case& c = cases[i];
    SetContext(c.name);
    RemoveRegistration();
    if (!Register(HKEY_CLASSES_ROOT, kLookup1Key, c.lookup1) || !Register(HKEY_CURRENT_USER, kLookup2Key, c.lookup2)) {
      return false;
    }
    MirravelSession attempt;
    MirravelSession& current = i == last ? session : attempt;
    if (!current.Start(mirravel)) return false;
    CHECK_EQ(c.enabled, IsEnabled(current.Control(kHelpButtonId)));
    if (i != last) attempt.CloseAndExpectExitCode0();
  }
  return true;
}

void CheckHelpShowsAndGoes(MirravelSession& session, const std::string& standInPath, const std::string& helpFile,
                           const std::string& logDir) {
  SetContext("help at WM_PAINT");
  const RECT home = WindowRect(session.Main());
  StandIn help;
  if (!help.Start(standInPath, logDir + "winhelp-1.log", "")) return;
  PressHelp(session, "#WM_PAINT = $F ");
  ExpectRequest(help.log, 1, "257\tWM_PAINT\t" + helpFile);
  CheckSideBySide(session, help.window);

  SetContext("second press");
  ::SetWindowPos(session.Main(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(help.window, nullptr, 100, 110, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  PressHelp(session, "#WM_SIZE = $5 ");
  ExpectRequest(help.log, 2, "257\tWM_SIZE\t" + helpFile);
  session.Settle();
  CHECK_NOTE(StandsAt(session.Main(), 20, 30), "Mirravel stays where it is");
  CHECK_EQ(std::string("100,110 300x200"), Describe(WindowRect(help.window)));

  SetContext("help ended");
  SetFocusTo(session.Control(kListId));
  PostClose(help.window);
  CHECK_EQ(0LL, help.process.WaitForExit());
  CHECK_NOTE(WaitUntil([&] { return StandsAt(session.Main(), home.left, home.top); }),
             "Mirravel back at " + Describe(home));
  CHECK_NOTE(WaitUntil([&] { return FocusOf(session.Main()) == session.Control(kFindFieldId); }),
             "the find field has the focus");
}

void CheckLateHelpAndQuit(MirravelSession& session, const std::string& standInPath, const std::string& helpFile,
                          const std::string& logDir) {
  SetContext("help window late, contents");
  StandIn help;
  if (!help.Start(standInPath, logDir + "winhelp-2.log", "late 1500")) return;
  PressHelp(session, "");
  ExpectRequest(help.log, 1, "3\t\t" + helpFile);
  CHECK_NOTE(WaitUntil([&] { return StandsAt(session.Main(), 0, 0); }, 8000), "placed once the window came");
  CHECK(session.NoMessageBoxWithin(500));
  CheckSideBySide(session, help.window);

  SetContext("closing Mirravel");
  session.CloseAndExpectExitCode0();
  ExpectRequest(help.log, 2, "2\t\t" + helpFile);
  CHECK_EQ(0LL, help.process.WaitForExit());
}

// The box shows after the whole wait, with Mirravel not top-most; afterwards the box's setting holds.
void CheckTimeOut(MirravelSession& session, bool alwaysOnTop) {
  const DWORD pressed = ::GetTickCount();
  PressHelp(session, "#WM_PAINT = $F ");
  const MessageBoxInfo box = WaitForMessageBox(session.Program().Id(), 20000);
  if (!CHECK_NOTE(box.window != nullptr, "the Time Out ! box")) return;
  const DWORD waited = ::GetTickCount() - pressed;
  std::printf("time-out box after %lu ms\n", static_cast<unsigned long>(waited));
  CHECK_NOTE(waited >= 5000, "the box comes after the 5000 ms wait");
  CHECK_EQ(std::string("Time Out !"), box.title);
  CHECK_EQ(std::string(kTimeOutText), box.text);
  CHECK_NOTE(!IsTopMost(session.Main()), "not top-most while the box shows");
  AnswerMessageBox(box.window, IDOK);
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(box.window); }), "the box closes");
  session.Settle();
  CHECK_EQ(alwaysOnTop, IsTopMost(session.Main()));
}

void CheckTimeOuts(const std::string& mirravel, const std::string& standInPath, const std::string& helpFile,
                   const std::string& logDir) {
  MirravelSession session;
  if (!session.Start(mirravel)) return;
  const RECT home = WindowRect(session.Main());

  SetContext("no help engine at all");
  CheckTimeOut(session, true);
  // Wine's own engine was started in the stand-in's place; it ends on HELP_QUIT.
  ::WinHelpA(nullptr, helpFile.c_str(), HELP_QUIT, 0);

  SetContext("help window never comes, not top-most");
  StandIn help;
  if (!help.Start(standInPath, logDir + "winhelp-3.log", "never")) return;
  Click(session.Control(kAlwaysOnTopId));
  CHECK_NOTE(WaitUntil([&] { return !IsTopMost(session.Main()); }), "Always on top switched off");
  CheckTimeOut(session, false);
  ExpectRequest(help.log, 1, "257\tWM_PAINT\t" + helpFile);
  CHECK_NOTE(StandsAt(session.Main(), home.left, home.top), "nothing moved");
  session.CloseAndExpectExitCode0();
  CHECK_EQ(static_cast<std::size_t>(1), LogLines(help.log).size());  // no HELP_QUIT: no help window was found
  PostClose(help.window);
  help.process.WaitForExit();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: e2e_help MIRRAVEL.exe WINHELP_STANDIN.exe\n");
    return 2;
  }
  const std::string mirravel = argv[1];
  const std::string standIn = argv[2];
  Installations at;
  if (at.Make()) {
    const std::string helpFile = at.full + "help\\win32.hlp";
    MirravelSession session;
    if (CheckRegistrations(session, mirravel, at)) {
      CheckHelpShowsAndGoes(session, standIn, helpFile, at.root);
      CheckLateHelpAndQuit(session, standIn, helpFile, at.root);
      CheckTimeOuts(mirravel, standIn, helpFile, at.root);
    }
  }
  SetContext("");
  RemoveRegistration();
  return CheckCounter::Instance().Summary("help");
}
