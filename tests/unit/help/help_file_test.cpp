// Finding the PureBasic directory in the registry and win32.hlp below it.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_system.h"
#include "help/help_file.h"
#include "helpers/files.h"

namespace mirravel {
namespace {

constexpr std::uint32_t kNtVersion = 0x23F00206;     // build 0x23F0: bits 16 to 23 not all zero
constexpr std::uint32_t kWin9xVersion = 0xC0000A04;  // bits 16 to 23 all zero
constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot, kCU = RegistryRoot::CurrentUser,
                       kLM = RegistryRoot::LocalMachine;

std::string KeyOf(RegistryRoot root) {
  return std::string(root == kCR ? kPureBasicOpenCommandKey : kPureBasicClassOpenCommandKey);
}

// A quoted open command padded so that the value, its NUL included when asked, is exactly `size` bytes.
std::string OpenCommandOfSize(std::size_t size, bool withNul) {
  const std::string head = "\"C:\\";
  const std::string tail = "\\PureBasic.exe\" \"%1\"";
  std::string value = head + std::string(size - head.size() - tail.size() - (withNul ? 1 : 0), 'p') + tail;
  if (withNul) value += '\0';
  return value;
}

// A literal with the NULs inside it.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string ExecutableDirectory(const std::string& quotedCommand) {
  return quotedCommand.substr(1, quotedCommand.find("PureBasic.exe") - 1);
}

TEST(FindPureBasicDirectory, CutsTheOpenCommandAtPercentOneAndTakesItsDirectory) {
  struct Case {
    std::string value;
    std::string directory;
  };
  const std::string full522 = OpenCommandOfSize(522, true);
  const std::string full522WithoutNul = OpenCommandOfSize(522, false);
  const Case cases[] = {
      {Bytes("\"C:\\Pure Basic\\PureBasic.exe\" \"%1\"\0"), "C:\\Pure Basic\\"},
      {"C:\\PureBasic\\PureBasic.exe %1", "C:\\PureBasic\\"},
      {"C:\\PureBasic\\PureBasic.exe /open", "C:\\PureBasic\\"},                // no "%1": the whole value
      {Bytes("C:\\PB\\PureBasic.exe /open\0D:\\other\\x.exe %1"), "C:\\PB\\"},  // the text ends at its NUL
      {"C:\\PB\\PureBasic.exe \"%1\" \"D:\\x\\%1\"", "C:\\PB\\"},               // the first "%1" counts
      {full522, ExecutableDirectory(full522)},
      {full522WithoutNul, ExecutableDirectory(full522WithoutNul)},  // fills the buffer without a NUL
      {OpenCommandOfSize(523, true), ""},                           // larger than the buffer
      {"", ""},
  };
  for (const Case& c : cases) {
    testing::FakeRegistry registry;
    registry.values[{kCR, KeyOf(kCR)}] = c.value;
    EXPECT_EQ(FindPureBasicDirectory(registry), c.directory) << c.value.size() << " bytes: " << c.value;
  }
}

TEST(FindPureBasicDirectory, ReadsTheKeysOfTheSystemFamilyInOrder) {
  struct Case {
    const char* name;
    std::uint32_t version;
    std::vector<std::pair<RegistryRoot, std::string>> values;
    std::vector<RegistryRoot> expectedReads;
    std::string directory;
  };
  const Case cases[] = {
      {"NT, application key found",
       kNtVersion,
       {{kCR, "C:\\A\\pb.exe %1"}, {kCU, "C:\\B\\pb.exe %1"}},
       {kCR},
       "C:\\A\\"},
      {"NT, application key without a directory",
       kNtVersion,
       {{kCR, "pb.exe \"%1\" C:\\x\\"}, {kCU, "C:\\B\\pb.exe %1"}},
       {kCR, kCU},
       "C:\\B\\"},
      {"NT, user key only", kNtVersion, {{kCU, "C:\\B\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, {kCR, kCU}, "C:\\B\\"},
      {"9x, machine key only", kWin9xVersion, {{kCR, "C:\\A\\pb.exe %1"}, {kLM, "C:\\C\\pb.exe %1"}}, {kLM}, "C:\\C\\"},
      {"nothing registered", kNtVersion, {}, {kCR, kCU}, ""},
  };
  for (const Case& c : cases) {
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
  struct Case {
    const char* name;
    bool makeDirectory;
    const char* content;  // nullptr: nothing there
    bool found;
  };
  const Case cases[] = {
      {"a help file", false, "LN", true},
      {"an empty file", false, "", false},
      {"a directory of that name", true, nullptr, false},
      {"nothing", false, nullptr, false},
  };
  for (const Case& c : cases) {
    testing::TempDirectory dir;
    const std::string installation = (dir.Path() / "Pure Basic\\").string();
    const std::string helpFile = installation + "help\\win32.hlp";
    if (c.makeDirectory) std::filesystem::create_directories(dir.Path() / "Pure Basic/help/win32.hlp");
    if (c.content != nullptr) dir.WriteFile("Pure Basic\\help\\win32.hlp", c.content);
    testing::FakeRegistry registry;
    registry.values[{kCR, KeyOf(kCR)}] = "\"" + installation + "PureBasic.exe\" \"%1\"";
    EXPECT_EQ(LocateHelpFilePath(registry), c.found ? helpFile : "") << c.name;
  }
}

TEST(LocateHelpFilePath, WithoutARegistrationLooksInTheCurrentDirectory) {
  testing::TempDirectory dir;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  testing::FakeRegistry registry;
  EXPECT_EQ(LocateHelpFilePath(registry), "");
  dir.WriteFile("help\\win32.hlp", "LN");
  EXPECT_EQ(LocateHelpFilePath(registry), "help\\win32.hlp");
  std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace mirravel
