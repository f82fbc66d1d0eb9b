// Registering the plug-in with jaPBe (installed in a directory with blanks) on the real file system, registry and
// command processor: refusal beside a "jaPBe" window, register, unregister, and the copy's self-removal batch.
// Boxes' texts and the tools file's lines are the unit tests'; here the boxes' titles tell the outcomes apart.
#include <windows.h>

#include <fstream>
#include <string>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kEditKey[] = "Applications\\PureBasic.exe\\shell\\edit\\command";
// A foreign tool, its last line unended, so the rewrite's CR LF ends show once Mirravel's entry is gone again.
constexpr char kForeignTool[] = "[ToolsInfo]\nToolCount = 1\n[Tool_1]\nCommand = C:\\Tool_box\\fmt.exe";
constexpr char kRewritten[] = "[ToolsInfo]\r\nToolCount = 1\r\n[Tool_1]\r\nCommand = C:\\Tool_box\\fmt.exe\r\n";

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// jaPBe's directory below %TEMP% and its registry record; removed again at the end.
struct JaPBeInstallation {
  std::string temp, directory, tools, copy;

  bool Install() {
    char buffer[MAX_PATH + 1] = {};
    temp = std::string(buffer, ::GetTempPathA(MAX_PATH, buffer));
    directory = temp + "jaPBe test " + std::to_string(::GetCurrentProcessId()) + "\\";
    tools = directory + "jaPBe-Tools";
    copy = directory + "Plugin\\Mirravel.exe";
    if (!CHECK(::CreateDirectoryA(directory.c_str(), nullptr))) return false;
    std::ofstream(tools, std::ios::binary) << kForeignTool;
    const std::string command = "\"" + directory + "jaPBe.exe\" \"%1\"";
    return CHECK(::RegSetKeyValueA(HKEY_CLASSES_ROOT, kEditKey, nullptr, REG_SZ, command.c_str(),
                                   static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS);
  }
  void Remove() {
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kEditKey);
    for (const std::string& file : {copy, tools}) ::DeleteFileA(file.c_str());
    for (const std::string& dir : {directory + "Plugin", directory}) ::RemoveDirectoryA(dir.c_str());
  }
};

void CheckRegisterAndUnregister(Session& session, const JaPBeInstallation& install, const std::string& program) {
  SetContext("jaPBe running");
  HWND jaPBe = ::CreateWindowExA(0, "STATIC", "jaPBe", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING");
  ::DestroyWindow(jaPBe);
  SetContext("register");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO");
  CHECK_NOTE(FileBytes(install.copy) == FileBytes(program), "the plug-in copy is the program itself");
  SetContext("unregister from the original");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING", IDYES);
  session.AnswerBox("INFO");
  CHECK_EQ(std::string(kRewritten), FileBytes(install.tools));
  CHECK_NOTE(!Exists(install.copy), "the plug-in copy is deleted");
  SetContext("register again, for the copy");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO");
  session.CloseAndExpectExitCode0();
}

// The copy's temporary directory holds "\xEB" (ANSI 1252), 0x89 in the OEM code page the command processor reads
// batches in: the batch must still name itself. While the suite holds the executable open, the batch waits,
// pausing between its tries (their bound is the unit tests'); let go, it deletes the executable and itself.
void CheckSelfRemoval(const JaPBeInstallation& install) {
  SetContext("self-removal");
  const std::string temp = install.directory + "T\xEBmp\\";
  CHECK(::CreateDirectoryA(temp.c_str(), nullptr));
  for (const char* name : {"TMP", "TEMP"}) ::SetEnvironmentVariableA(name, temp.c_str());
  Session copy;
  const bool started = copy.Start(install.copy);
  for (const char* name : {"TMP", "TEMP"}) ::SetEnvironmentVariableA(name, install.temp.c_str());
  if (!started || !CHECK(copy.ClickTab(1))) return;
  HANDLE holder =
      ::CreateFileA(install.copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(holder != INVALID_HANDLE_VALUE);
  Click(copy.Control(kRegisterButton));
  copy.AnswerBox("WARNING", IDYES);
  copy.AnswerBox("INFO");
  CHECK_EQ(0LL, copy.Program().WaitForExit());
  const std::string batch = temp + "~MVUNIN.BAT";
  ::Sleep(3000);  // without its pauses the batch would have run through its tries by now
  CHECK_NOTE(Exists(install.copy) && Exists(batch), "the batch still waits while the file is held");
  ::CloseHandle(holder);
  CHECK_NOTE(WaitUntil([&] { return !Exists(install.copy); }, 30000), "the batch deletes the plug-in copy");
  CHECK_NOTE(WaitUntil([&] { return !Exists(batch); }, 30000), "and then itself");
  ::RemoveDirectoryA(temp.c_str());
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
