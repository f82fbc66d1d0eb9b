// Registering the plug-in with jaPBe, recorded in the registry in a directory whose path holds blanks: the
// "Register jaPBe plugin" button refuses while a window titled "jaPBe" exists, registers (entry appended,
// plug-in copy made, About says "Yes"), unregisters from the original program (entry and copy gone, foreign
// tools intact) and, pressed in the running plug-in copy, ends the program and leaves the removal batch to
// delete the copy and then itself.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kEditKey[] = "Applications\\PureBasic.exe\\shell\\edit\\command";
constexpr REGSAM kRegistryViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
constexpr char kRegistered[] = "Plugin Mirravel is registered !";
constexpr char kUninstalled[] = "Plugin Mirravel is uninstalled !";
constexpr char kAskUninstall[] = "The plugin 'Mirravel' is already registered !\nUninstall the plugin ?";

// A foreign tool as jaPBe writes it (how other tools' lines are kept the unit tests pin); LF line ends and none
// after the last line, so the rewrite's CR LF shows.
const std::vector<std::string> kForeignTools = {
    "[ToolsInfo]", "ToolCount = 1", "[Tool_1]", "Command = C:\\Tool_box\\fmt.exe", "Arguments = \"%FILE\"",
    "WorkingDir = C:\\Tool_box\\", "MenuItemName = Formatter", "Shortcut = Ctrl+Shift+F", "Flags = 0",
    "ReloadSource = 1", "HideEditor = 0", "IsPlugin = 0", "Menu = 0", "Language = 0", "Hide = 0"};

const std::vector<std::string> kMirravelEntry = {
    "[Tool_2]", "Command = Mirravel", "Arguments =", "WorkingDir = ", "MenuItemName = Mirravel", "Shortcut =",
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

// jaPBe's directory below %TEMP% and its registry record in both registry views, so that either bitness of
// the program reads it; removed again at the end.
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
    bool written = true;
    for (const REGSAM view : kRegistryViews) {
      HKEY key = nullptr;
      written = CHECK(::RegCreateKeyExA(HKEY_CLASSES_ROOT, kEditKey, 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key,
                                        nullptr) == ERROR_SUCCESS &&
                      ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                       static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS) &&
                written;
      ::RegCloseKey(key);
    }
    return written;
  }
  void Remove() {
    for (const REGSAM view : kRegistryViews) ::RegDeleteKeyExA(HKEY_CLASSES_ROOT, kEditKey, view, 0);
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA((directory + "Plugin").c_str());
    ::DeleteFileA(tools.c_str());
    ::RemoveDirectoryA(directory.c_str());
  }
};

void CheckRegisterAndUnregister(Session& session, const JaPBeInstallation& install, const std::string& program) {
  SetContext("jaPBe running");
  HWND jaPBe = ::CreateWindowExA(0, "STATIC", "jaPBe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING", "Please close jaPBe before (un)registering plugin !");
  CHECK_NOTE(!Exists(install.directory + "Plugin"), "nothing is touched, not even the plug-in directory");
  ::DestroyWindow(jaPBe);

  SetContext("register");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO", kRegistered);
  std::vector<std::string> registered = kForeignTools;
  registered[1] = "ToolCount = 2";
  registered.insert(registered.end(), kMirravelEntry.begin(), kMirravelEntry.end());
  CHECK_EQ(Joined(registered, "\r\n", true), ReadFileBytes(install.tools));
  CHECK_NOTE(ReadFileBytes(install.copy) == ReadFileBytes(program), "the plug-in copy is the program itself");
  Click(session.Control(kAboutButton));
  const std::string about = session.AnswerBox("About Mirravel");
  CHECK_NOTE(about.find("\nPlugin registered : \tYes") != std::string::npos, "About says Yes: " + Describe(about));

  SetContext("unregister from the original");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("WARNING", kAskUninstall, IDYES);
  session.AnswerBox("INFO", kUninstalled);
  CHECK_EQ(Joined(kForeignTools, "\r\n", true), ReadFileBytes(install.tools));
  CHECK_NOTE(!Exists(install.copy), "the plug-in copy is deleted");
  CHECK_NOTE(session.Program().IsRunning(), "the original keeps running");

  SetContext("register again, for the copy");
  Click(session.Control(kRegisterButton));
  session.AnswerBox("INFO", kRegistered);
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
  copy.AnswerBox("WARNING", kAskUninstall, IDYES);
  copy.AnswerBox("INFO", kUninstalled);
  CHECK_EQ(0LL, copy.Program().WaitForExit());
  CHECK_EQ(Joined(kForeignTools, "\r\n", true), ReadFileBytes(install.tools));
  const std::string batch = install.temp + "~MVUNIN.BAT";
  ::Sleep(1500);
  CHECK_NOTE(Exists(install.copy) && Exists(batch), "the batch waits while the file is held");
  ::CloseHandle(holder);
  CHECK_NOTE(WaitUntil([&] { return !Exists(install.copy); }, 30000), "the batch deletes the plug-in copy");
  CHECK_NOTE(WaitUntil([&] { return !Exists(batch); }, 30000), "and then itself");
  CHECK_NOTE(Exists(install.directory + "Plugin"), "the plug-in directory stays");
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
