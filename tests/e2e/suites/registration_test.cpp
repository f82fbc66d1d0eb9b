// Registration suite: with jaPBe recorded in the registry (by reg.exe) in a directory whose path holds
// blanks, the "Register jaPBe plugin" button refuses while a window titled "jaPBe" exists, registers
// (entry appended, plug-in copy made, About "Yes"), unregisters from the original program (entry and copy
// gone, foreign tools intact), and, pressed in the running plug-in copy, ends the program and leaves the
// removal batch to delete the copy and then itself.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

constexpr char kEditKey[] = "HKCR\\Applications\\PureBasic.exe\\shell\\edit\\command";
constexpr char kRegistered[] = "Plugin Mirravel is registered !";
constexpr char kUninstalled[] = "Plugin Mirravel is uninstalled !";
constexpr char kAskUninstall[] = "The plugin 'Mirravel' is already registered !\nUninstall the plugin ?";

// Two foreign tools as jaPBe writes them, with "Tool_" and "ToolCount" inside values; LF line ends and
// no line end after the last line, so the rewrite's CR LF shows.
const std::vector<std::string> kForeignTools = {
    "[ToolsInfo]", "ToolCount = 2", "[Tool_1]", "Command = C:\\Tool_box\\fmt.exe",
    "Arguments = \"%FILE\" /ToolCount=1", "WorkingDir = C:\\Tool_box\\", "MenuItemName = Formatter",
    "Shortcut = Ctrl+Shift+F", "Flags = 0", "ReloadSource = 1", "HideEditor = 0", "IsPlugin = 0", "Menu = 0",
    "Language = 0", "Hide = 0", "Trigger = 0", "UniqueToolID = 17", "[Tool_2]", "Command = notepad.exe",
    "Arguments = %FILE", "WorkingDir =", "MenuItemName = Notepad", "Shortcut =", "Flags = 0", "ReloadSource = 0",
    "HideEditor = 0", "IsPlugin = 0", "Menu = 0", "Language = 0", "Hide = 0"};

const std::vector<std::string> kMirravelEntry = {
    "[Tool_3]", "Command = Mirravel", "Arguments =", "WorkingDir = ", "MenuItemName = Mirravel", "Shortcut =",
    "Flags = 0", "ReloadSource = 0", "HideEditor = 0", "IsPlugin = 1", "Menu = 0", "Language = 0", "Hide = 0"};

std::string Joined(const std::vector<std::string>& lines, const char* lineEnd, bool lastEnded) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnded ? lineEnd : "");
  return text;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

long long RunToEnd(const std::string& commandLine) {
  Process process;
  return process.Start(commandLine) ? process.WaitForExit(30000) : -1;
}

// jaPBe's directory below %TEMP% and its registry record, in both registry views so that either
// bitness of the program reads it; removed again at the end.
struct JaPBeInstallation {
  std::string temp;
  std::string directory;
  std::string tools;
  std::string copy;

  bool Install() {
    char buffer[MAX_PATH + 1] = {};
    temp = std::string(buffer, ::GetTempPathA(MAX_PATH, buffer));
    directory = temp + "jaPBe test " + std::to_string(::GetCurrentProcessId()) + "\\";
    tools = directory + "jaPBe-Tools";
    copy = directory + "Plugin\\Mirravel.exe";
    if (!CHECK(::CreateDirectoryA(directory.c_str(), nullptr))) return false;
    std::ofstream(tools, std::ios::binary) << Joined(kForeignTools, "\n", false);
    const std::string value = "\"\\\"" + directory + "jaPBe.exe\\\" \\\"%1\\\"\"";
    bool ok = true;
    for (const char* view : {"/reg:32", "/reg:64"}) {
      const std::string command = std::string("reg.exe add \"") + kEditKey + "\" /ve /d " + value + " /f " + view;
      ok = CHECK_NOTE(RunToEnd(command) == 0, command) && ok;
    }
    return ok;
  }
  void Remove() {
    // Where both views share the key, the second delete finds nothing; that is fine.
    for (const char* view : {"/reg:32", "/reg:64"}) RunToEnd(std::string("reg.exe delete \"") + kEditKey + "\" /f " + view);
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA((directory + "Plugin").c_str());
    ::DeleteFileA(tools.c_str());
    ::RemoveDirectoryA(directory.c_str());
  }
};

void PressRegister(MirravelSession& session) { Click(session.Control(kRegisterButtonId)); }

std::string RegistrationStateInAbout(MirravelSession& session) {
  Click(session.Control(kAboutButtonId));
  const std::string text = session.ReadMessageBox();
  const std::string label = "Plugin registered : \t";
  const auto at = text.rfind(label);
  return at == std::string::npos ? "(no state in \"" + text + "\")" : text.substr(at + label.size());
}

void CheckRefusalWhileJaPBeRuns(MirravelSession& session, const JaPBeInstallation& install) {
  CheckCounter::Instance().SetContext("jaPBe running");
  HWND jaPBe = ::CreateWindowExA(0, "STATIC", "jaPBe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  CHECK(jaPBe != nullptr);
  PressRegister(session);
  session.ExpectMessageBox("WARNING", "Please close jaPBe before (un)registering plugin !");
  CHECK_NOTE(!Exists(install.directory + "Plugin"), "nothing is touched, not even the plug-in directory");
  ::DestroyWindow(jaPBe);
}

void CheckRegisterAndUnregister(MirravelSession& session, const JaPBeInstallation& install, const std::string& program) {
  CheckCounter::Instance().SetContext("register");
  CHECK_EQ(std::string("No"), RegistrationStateInAbout(session));
  PressRegister(session);
  session.ExpectMessageBox("INFO", kRegistered);
  std::vector<std::string> registered = kForeignTools;
  registered[1] = "ToolCount = 3";
  registered.insert(registered.end(), kMirravelEntry.begin(), kMirravelEntry.end());
  CHECK_EQ(Joined(registered, "\r\n", true), ReadFileBytes(install.tools));
  CHECK_NOTE(ReadFileBytes(install.copy) == ReadFileBytes(program), "the plug-in copy is the program itself");
  CHECK_EQ(std::string("Yes"), RegistrationStateInAbout(session));

  CheckCounter::Instance().SetContext("unregister from the original");
  PressRegister(session);
  session.ExpectMessageBoxAnswering("WARNING", kAskUninstall, IDYES);
  session.ExpectMessageBox("INFO", kUninstalled);
  CHECK_EQ(Joined(kForeignTools, "\r\n", true), ReadFileBytes(install.tools));
  CHECK_NOTE(!Exists(install.copy), "the plug-in copy is deleted");
  CHECK_NOTE(session.Program().IsRunning(), "the original keeps running");
  CHECK_EQ(std::string("No"), RegistrationStateInAbout(session));
}

void CheckSelfRemoval(const JaPBeInstallation& install) {
  CheckCounter::Instance().SetContext("self-removal");
  MirravelSession copy;
  if (!copy.Start(install.copy)) return;
  copy.ClickTab(1);
  // Held open without delete sharing, the executable outlives its process for a while: the batch has to
  // keep retrying until it is let go.
  HANDLE holder = ::CreateFileA(install.copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(holder != INVALID_HANDLE_VALUE);
  PressRegister(copy);
  copy.ExpectMessageBoxAnswering("WARNING", kAskUninstall, IDYES);
  copy.ExpectMessageBoxAnswering("INFO", kUninstalled, IDOK);
  CHECK_EQ(0LL, copy.Program().WaitForExit());
  CHECK_EQ(Joined(kForeignTools, "\r\n", true), ReadFileBytes(install.tools));
  ::Sleep(1500);
  CHECK_NOTE(Exists(install.copy) && Exists(install.temp + "~MVUNIN.BAT"), "the batch waits while the file is held");
  ::CloseHandle(holder);
  CHECK_NOTE(WaitUntil([&] { return !Exists(install.copy); }, 30000), "the batch deletes the plug-in copy");
  CHECK_NOTE(WaitUntil([&] { return !Exists(install.temp + "~MVUNIN.BAT"); }, 30000), "and then itself");
  CHECK_NOTE(Exists(install.directory + "Plugin"), "the plug-in directory itself stays");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: e2e_registration <path of mirravel.exe>\n");
    return 2;
  }
  JaPBeInstallation install;
  if (install.Install()) {
    {
      MirravelSession session;
      if (session.Start(argv[1]) && session.ClickTab(1)) {
        CheckRefusalWhileJaPBeRuns(session, install);
        CheckRegisterAndUnregister(session, install, argv[1]);
        CheckCounter::Instance().SetContext("register again, for the copy");
        PressRegister(session);
        session.ExpectMessageBox("INFO", kRegistered);
        session.CloseAndExpectExitCode0();
      }
    }
    if (Exists(install.copy)) CheckSelfRemoval(install);
  }
  install.Remove();
  return CheckCounter::Instance().Summary("e2e_registration");
}
