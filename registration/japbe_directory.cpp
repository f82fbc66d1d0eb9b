// The jaPBe directory lookup. Registry values are read into a bounded buffer; the text ends at its first
// NUL or at the end of what was read.
#include "registration/japbe_directory.h"

#include <algorithm>
#include <optional>

#include "support/file_size.h"
#include "support/text.h"

namespace mirravel {
namespace {

constexpr std::uint32_t kNtFamilyBits = 0x00FF0000u;

std::optional<std::string> ReadCommand(RegistryPort& registry, RegistryRoot root, std::string_view key) {
  std::optional<std::string> value = registry.ReadDefaultValue(root, key, kRegistryValueCapacity);
  if (value) value->resize(std::min(value->size(), value->find('\0')));
  return value;
}

// The edit command reads '"<editor path>" "%1"': its first character and last six are cut before the
// directory part is taken.
std::string DirectoryOfEditCommand(const std::string& command) {
  if (command.size() <= 7) return {};
  return DirectoryPart(std::string_view(command).substr(1, command.size() - 7));
}

bool IsUsable(const std::string& candidate) { return !candidate.empty() && QueryFileSize(candidate) == kPathIsDirectory; }

}  // namespace

std::string FindJaPBeDirectory(RegistryPort& registry) {
  std::string candidate;
  const bool ntFamily = (registry.SystemVersion() & kNtFamilyBits) != 0;
  const auto editCommand = ntFamily
                               ? ReadCommand(registry, RegistryRoot::ClassesRoot, "Applications\\PureBasic.exe\\shell\\edit\\command")
                               : ReadCommand(registry, RegistryRoot::LocalMachine, "Software\\Classes\\PureBasic.exe\\shell\\edit\\command");
  if (editCommand) candidate = DirectoryOfEditCommand(*editCommand);
  if (IsUsable(candidate)) return candidate;

  if (const auto open = ReadCommand(registry, RegistryRoot::ClassesRoot, "Purebasic.pbi\\shell\\open\\command")) {
    candidate = DirectoryPart(*open);
  }
  if (IsUsable(candidate)) return candidate;

  if (const auto open = ReadCommand(registry, RegistryRoot::LocalMachine, "Software\\CLASSES\\Purebasic.pbi\\shell\\open\\command")) {
    candidate = DirectoryPart(*open);
  }
  return candidate;
}

PluginPaths PluginPathsIn(const std::string& japbeDirectory) {
  return {japbeDirectory + std::string(kPluginDirectoryName), japbeDirectory + std::string(kToolsFileName),
          japbeDirectory + std::string(kPluginCopyName)};
}

}  // namespace mirravel
