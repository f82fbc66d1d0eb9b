// Registering the plug-in with jaPBe, recorded in the registry in a directory whose path holds blanks: the
// "Register jaPBe plugin" button refuses while a window titled "jaPBe" exists, registers (entry appended,
// plug-in copy made, About says "Yes"), unregisters from the original program (entry and copy gone, foreign
// tools intact) and, pressed in the running plug-in copy, ends the program and leaves the removal batch to
// delete the copy and then itself.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kEditKey[] = "Applications\\PureBasic.exe\\shell\\edit\\command";

// A foreign tool as jaPBe writes it (how other tools' lines are kept, and Mirravel's entry line by line, the
// unit tests pin); LF line ends and none after the last line, so the rewrite's CR LF shows.
const std::vector<std::string> kForeignTools = {
    "[ToolsInfo]", "ToolCount = 1", "[Tool_1]", "Command = C:\\Tool_box\\fmt.exe", "Arguments = \"%FILE\"",
    "WorkingDir = C:\\Tool_box\\", "MenuItemName = Formatter", "Shortcut = Ctrl+Shift+F", "Flags = 0",
    "ReloadSource = 1", "HideEditor = 0", "IsPlugin = 0", "Menu = 0", "Language = 0", "Hide = 0"};

std::string Joined(const std::vector<std::string>& lines, const char* lineEnd, bool lastEnded) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnded ? lineEnd : "");
  return text;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// jaPBe's directory below %TEMP% and its registry record; removed again at the end.
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
    const std::string command = "\"" + directory + "jaPBe.exe\" \"%1\"";
    return CHECK(::RegSetKeyValueA(HKEY_CLASSES_ROOT, kEditKey, nullptr, REG_SZ, command.c_str(),
                                   static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS);
  }
  void Remove() {
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kEditKey);
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA((directory + "Plugin").c_str());
    ::DeleteFileA(tools.c_str());
    ::RemoveDirectoryA(directory.c_str());
  }
};

// The boxes' texts are the unit tests' to pin; here their titles tell success from failure and refusal.
void CheckRegisterAndUnregister(Session& session, const JaPBeInstallation& install, const std::string& program) {
  SetContext("jaPBe running");
  HWND jaPBe = ::CreateWindowExA(0, "STATIC", "jaPBe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING");
  ::DestroyWindow(jaPBe);

  SetContext("register");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO");
  std::vector<std::string> counted = kForeignTools;
  counted[1] = "ToolCount = 2";
  const std::string foreign = Joined(counted, "\r\n", true);  // then the entry, read back by the About box
  CHECK_EQ(foreign, FileBytes(install.tools).substr(0, foreign.size()));
  CHECK_NOTE(FileBytes(install.copy) == FileBytes(program), "the plug-in copy is the program itself");
  Click(session.Control(kAboutButton));
  const std::string about = session.AnswerBox("About Mirravel");
  CHECK_NOTE(about.find("\nPlugin registered : \tYes") != std::string::npos, "About says Yes: " + Describe(about));

  SetContext("unregister from the original");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING", nullptr, IDYES);
  session.AnswerBox("INFO");
  CHECK_EQ(Joined(kForeignTools, "\r\n", true), FileBytes(install.tools));
  CHECK_NOTE(!Exists(install.copy), "the plug-in copy is deleted");

  SetContext("register again, for the copy");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO");
  session.CloseAndExpectExitCode0();
}

void CheckSelfRemoval(const JaPBeInstallation& install) {
  SetContext("self-removal");
  Session copy;
  if (!copy.Start(install.copy) || !CHECK(copy.ClickTab(1))) return;
  // Held open without delete sharing, the executable outlives its process for a while: the batch has to
  // keep retrying until it is let go.
  HANDLE holder =
      ::CreateFileA(install.copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(holder != INVALID_HANDLE_VALUE);
  Click(copy.Control(kRegisterButton));
  copy.AnswerBox("WARNING", nullptr, IDYES);
  copy.AnswerBox("INFO");
  CHECK_EQ(0LL, copy.Program().WaitForExit());
  const std::string batch = install.temp + "~MVUNIN.BAT";
  ::Sleep(1500);
  CHECK_NOTE(Exists(install.copy) && Exists(batch), "the batch waits while the file is held");
  ::CloseHandle(holder);
  CHECK_NOTE(WaitUntil([&] { return !Exists(install.copy); }, 30000), "the batch deletes the plug-in copy");
  CHECK_NOTE(WaitUntil([&] { return !Exists(batch); }, 30000), "and then itself");
}

}  // namespace

void RunRegistrationSuite(const SuitePaths& paths) {
  JaPBeInstallation install;
  if (install.Install()) {
    Session session;
    if (session.Start(paths.program) && CHECK(session.ClickTab(1))) {
      CheckRegisterAndUnregister(session, install, paths.program);
      if (Exists(install.copy)) CheckSelfRemoval(install);
    }
  }
  install.Remove();
}

}  // namespace mirravel::e2e
