// Finding the PureBasic directory in the registry and win32.hlp below it; the help keyword, the
// recognition of the help window and the side-by-side arithmetic.
#include <gtest/gtest.h>

#include "fakes/fake_system.h"
#include "help/help_file.h"
#include "help/help_window.h"
#include "helpers/files.h"

namespace mirravel {
namespace {

using namespace std::string_literals;

// GetVersion's values: Windows 8 (6.2, build 9200 = 0x23F0), Windows 10 build 10240 (10.0, build 0x2800: its
// third byte is zero as on 9x) and Windows 98 (4.10, bit 31 set).
constexpr std::uint32_t kNtVersion = 0x23F00206, kWin10Version = 0x2800000A, kWin9xVersion = 0xC0000A04;
constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot, kCU = RegistryRoot::CurrentUser, kLM = RegistryRoot::LocalMachine;

std::string KeyOf(RegistryRoot root) {
  return std::string(root == kCR ? kPureBasicOpenCommandKey : kPureBasicClassOpenCommandKey);
}

TEST(FindPureBasicDirectory, CutsTheOpenCommandAtPercentOneAndTakesItsDirectory) {
  // The registry reader's bounds, for both installation lookups: a quoted command of 522 bytes fills the buffer.
  const std::string full = "C:\\" + std::string(522 - 24, 'p') + "\\";
  const std::pair<std::string, std::string> cases[] = {
      {"\"C:\\Pure Basic\\PureBasic.exe\" \"%1\"\0"s, "C:\\Pure Basic\\"},
      {"C:\\PureBasic\\PureBasic.exe /open", "C:\\PureBasic\\"},                                // no "%1": the whole value
      {"C:\\PB\\PureBasic.exe /open\0D:\\other\\x.exe %1"s, "C:\\PB\\"},  // the text ends at its NUL
      {"C:\\PB\\PureBasic.exe \"%1\" \"D:\\x\\%1\"", "C:\\PB\\"},                               // the first "%1" counts
      {"\"" + full + "PureBasic.exe\" \"%1\"", full},
      {"\"" + full + "PureBasic.exe\" \"%1\"" + '\0', ""},  // larger than the buffer
      {"", ""},
  };
  for (const auto& [value, directory] : cases) {
    testing::FakeRegistry registry;
    registry.values[{kCR, KeyOf(kCR)}] = value;
    EXPECT_EQ(FindPureBasicDirectory(registry), directory) << value.size() << " bytes: " << value;
  }
}

TEST(FindPureBasicDirectory, ReadsTheKeysOfTheSystemFamilyInOrder) {
  const struct {
    const char* name;
    std::uint32_t version;
    std::vector<std::pair<RegistryRoot, std::string>> values;
    std::vector<RegistryRoot> expectedReads;
    std::string directory;
  } cases[] = {
      {"NT, application key found", kNtVersion, {{kCR, "C:\\A\\pb.exe %1"}, {kCU, "C:\\B\\pb.exe %1"}}, {kCR}, "C:\\A\\"},
      {"NT, application key without a directory", kNtVersion, {{kCR, "pb.exe \"%1\" C:\\x\\"}, {kCU, "C:\\B\\pb.exe %1"}},
       {kCR, kCU}, "C:\\B\\"},
      {"Windows 10 build 10240, user key only", kWin10Version, {{kCU, "C:\\B\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, {kCR, kCU}, "C:\\B\\"},
      {"9x, machine key only", kWin9xVersion, {{kCR, "C:\\A\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, {kLM}, "C:\\C\\"},
      {"nothing registered", kNtVersion, {}, {kCR, kCU}, ""},
  };
  for (const auto& c : cases) {
    testing::FakeRegistry registry;
    registry.version = c.version;
    for (const auto& [root, value] : c.values) registry.values[{root, KeyOf(root)}] = value;
    EXPECT_EQ(FindPureBasicDirectory(registry), c.directory) << c.name;
    std::vector<std::pair<RegistryRoot, std::string>> expectedReads;
    for (RegistryRoot root : c.expectedReads) expectedReads.emplace_back(root, KeyOf(root));
    EXPECT_EQ(registry.reads, expectedReads) << c.name;
  }
}

TEST(LocateHelpFilePath, NeedsAFileOfMoreThanZeroBytes) {
  const struct {
    const char* written;  // below the help directory; nullptr: nothing
    const char* bytes;
    bool found;
  } cases[] = {{"win32.hlp", "LN", true}, {"win32.hlp", "", false}, {"win32.hlp\\inside", "LN", false}, {nullptr, "", false}};
  for (const auto& c : cases) {
    testing::TempDirectory dir;
    const std::string installation = (dir.Path() / "Pure Basic\\").string();
    if (c.written != nullptr) dir.WriteFile("Pure Basic\\help\\"s + c.written, c.bytes);
    testing::FakeRegistry registry;
    registry.values[{kCR, KeyOf(kCR)}] = "\"" + installation + "PureBasic.exe\" \"%1\"";
    EXPECT_EQ(LocateHelpFilePath(registry), c.found ? installation + "help\\win32.hlp" : "") << (c.written ? c.written : "-");
  }
}

TEST(LocateHelpFilePath, WithoutARegistrationLooksInTheCurrentDirectory) {
  testing::TempDirectory dir;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  testing::FakeRegistry registry;
  dir.WriteFile("help\\win32.hlp", "LN");
  EXPECT_EQ(LocateHelpFilePath(registry), "help\\win32.hlp");
  std::filesystem::current_path(previous);
}

TEST(HelpKeyword, TakesTheNameBetweenHashAndEqualsWithoutBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"#WM_PAINT = $F ", "WM_PAINT"}, {"", ""}, {"#", ""}, {"  MB_OK  ", "MB_OK"}, {"WS_CHILD = $4", "WS_CHILD"},
      {"a#b#c=d=e", "b#c"}, {"#= $1", ""}, {"\t#SW_SHOW\t", "SW_SHOW\t"},
  };
  for (const auto& [copyField, keyword] : cases) EXPECT_EQ(HelpKeyword(copyField), keyword) << copyField;
}

TEST(FindHelpWindow, TakesTheFirstWindowWhoseTitleHoldsTheHelpTitle) {
  const struct {
    const char* name;
    std::vector<std::pair<WindowHandle, std::string>> windows;  // in enumeration order (by handle)
    WindowHandle found;
  } cases[] = {
      {"exact title", {{1, "Mirravel"}, {2, "Win32 Programmer's Reference"}}, 2},
      {"inside another program's title",
       {{3, "Notes - Win32 Programmer's Reference - 2"}, {4, "Win32 Programmer's Reference"}}, 3},
      {"case differs", {{5, "WIN32 PROGRAMMER'S REFERENCE"}}, 0},
      {"beyond the 249 characters read", {{6, std::string(230, 'x') + "Win32 Programmer's Reference"}}, 0},
  };
  for (const auto& c : cases) {
    testing::FakeDesktop desktop;
    for (const auto& [handle, title] : c.windows) desktop.windows[handle].title = title;
    EXPECT_EQ(FindHelpWindow(desktop), c.found) << c.name;
  }
}

TEST(HelpWindowPlacement, FillsTheWorkAreaRightOfMirravel) {
  const struct { ScreenRect workArea; std::int32_t clientWidth, frame, x, width, height; } cases[] = {
      {{0, 0, 1024, 740}, 425, 3, 431, 593, 740},
      {{100, 30, 1124, 770}, 425, 3, 431, 593, 740},  // the work area's corner is not added
      {{0, 0, 1024, 768}, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF - 1, 768},  // clamped, not wrapped
  };
  for (const auto& c : cases) {
    const WindowPlacement placed = HelpWindowPlacement(c.workArea, c.clientWidth, c.frame);
    EXPECT_EQ(std::tuple(placed.x, placed.y, placed.width, placed.height), std::tuple(c.x, 0, c.width, c.height));
  }
}

}  // namespace
}  // namespace mirravel
