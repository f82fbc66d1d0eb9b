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

TEST(FindPureBasicDirectory, CutsTheOpenCommandAtPercentOneAndReadsTheKeysOfTheSystemFamilyInOrder) {
  const std::string full = "C:\\" + std::string(522 - 24, 'p') + "\\";  // a quoted command of 522 bytes
  // The system's version, the values stored, the directory found and the keys read in turn.
  const struct { std::uint32_t version; std::map<RegistryRoot, std::string> values; std::string directory;
                 std::vector<RegistryRoot> reads; } cases[] = {
      {kNtVersion, {{kCR, "\"C:\\Pure Basic\\PureBasic.exe\" \"%1\"\0"s}}, "C:\\Pure Basic\\", {kCR}},
      {kNtVersion, {{kCR, "C:\\PB\\PureBasic.exe /open\0D:\\other\\x.exe %1"s}}, "C:\\PB\\", {kCR}},  // ends at its NUL
      {kNtVersion, {{kCR, "\"" + full + "PureBasic.exe\" \"%1\""}}, full, {kCR}},
      {kNtVersion, {{kCR, "\"" + full + "PureBasic.exe\" \"%1\"" + '\0'}}, "", {kCR, kCU}},  // larger than the buffer
      {kNtVersion, {{kCR, "pb.exe \"%1\" C:\\x\\"}, {kCU, "C:\\B\\pb.exe %1"}}, "C:\\B\\", {kCR, kCU}},
      {kWin10Version, {{kCU, "C:\\B\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, "C:\\B\\", {kCR, kCU}},
      {kWin9xVersion, {{kCR, "C:\\A\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, "C:\\C\\", {kLM}},
      {kNtVersion, {}, "", {kCR, kCU}},
  };
  for (const auto& c : cases) {
    testing::FakeRegistry registry;
    registry.version = c.version;
    for (const auto& [root, value] : c.values) registry.values[{root, KeyOf(root)}] = value;
    EXPECT_EQ(FindPureBasicDirectory(registry), c.directory) << c.values.size() << " values, " << c.directory;
    std::vector<std::pair<RegistryRoot, std::string>> reads;
    for (RegistryRoot root : c.reads) reads.emplace_back(root, KeyOf(root));
    EXPECT_EQ(registry.reads, reads) << c.directory;
  }
}

TEST(LocateHelpFilePath, NeedsAFileOfMoreThanZeroBytesBelowTheDirectoryOrTheCurrentOne) {
  // PureBasic registered, the file written below its help directory (or the current one) with its bytes.
  const struct { bool registered; const char* written; const char* bytes; bool found; } cases[] = {
      {true, "win32.hlp", "LN", true}, {true, "win32.hlp", "", false}, {true, "win32.hlp\\inside", "LN", false},
      {false, "win32.hlp", "LN", true}};
  const std::filesystem::path previous = std::filesystem::current_path();
  for (const auto& c : cases) {
    testing::TempDirectory dir;
    std::filesystem::current_path(dir.Path());
    const std::string installation = c.registered ? (dir.Path() / "Pure Basic\\").string() : "";
    dir.WriteFile(c.registered ? "Pure Basic\\help\\"s + c.written : "help\\win32.hlp", c.bytes);
    testing::FakeRegistry registry;
    if (c.registered) registry.values[{kCR, KeyOf(kCR)}] = "\"" + installation + "PureBasic.exe\" \"%1\"";
    EXPECT_EQ(LocateHelpFilePath(registry), c.found ? installation + "help\\win32.hlp" : "") << c.written << c.bytes;
  }
  std::filesystem::current_path(previous);
}

TEST(HelpKeyword, TakesTheNameBetweenHashAndEqualsWithoutBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"#WM_PAINT = $F ", "WM_PAINT"}, {"#", ""}, {"  MB_OK  ", "MB_OK"}, {"a#b#c=d=e", "b#c"}, {"\t#SW_SHOW\t", "SW_SHOW\t"},
  };
  for (const auto& [copyField, keyword] : cases) EXPECT_EQ(HelpKeyword(copyField), keyword) << copyField;
}

TEST(FindHelpWindow, TakesTheFirstWindowWhoseTitleHoldsTheHelpTitle) {
  // The windows in enumeration order (by handle), the one found.
  const struct { std::map<WindowHandle, std::string> windows; WindowHandle found; } cases[] = {
      {{{1, "Mirravel"}, {2, "Win32 Programmer's Reference"}}, 2},
      {{{3, "Notes - Win32 Programmer's Reference - 2"}, {4, "Win32 Programmer's Reference"}}, 3},
      {{{5, "WIN32 PROGRAMMER'S REFERENCE"}}, 0},
      {{{6, std::string(230, 'x') + "Win32 Programmer's Reference"}}, 0},  // beyond the 249 characters read
  };
  for (const auto& c : cases) {
    testing::FakeDesktop desktop;
    for (const auto& [handle, title] : c.windows) desktop.windows[handle].title = title;
    EXPECT_EQ(FindHelpWindow(desktop), c.found) << c.windows.begin()->second;
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
