// The jaPBe directory lookup over PureBasic's edit command and the ".pbi" open commands.
#include "registration/japbe_directory.h"

#include <optional>

#include "support/file_size.h"
#include "support/text.h"

namespace mirravel {
namespace {

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
  const bool ntFamily = IsNtFamilyVersion(registry.SystemVersion());
  const auto editCommand = ntFamily
                               ? ReadRegistryText(registry, RegistryRoot::ClassesRoot, "Applications\\PureBasic.exe\\shell\\edit\\command")
                               : ReadRegistryText(registry, RegistryRoot::LocalMachine, "Software\\Classes\\PureBasic.exe\\shell\\edit\\command");
  if (editCommand) candidate = DirectoryOfEditCommand(*editCommand);
  if (IsUsable(candidate)) return candidate;

  if (const auto open = ReadRegistryText(registry, RegistryRoot::ClassesRoot, "Purebasic.pbi\\shell\\open\\command")) {
    candidate = DirectoryPart(*open);
  }
  if (IsUsable(candidate)) return candidate;

  if (const auto open = ReadRegistryText(registry, RegistryRoot::LocalMachine, "Software\\CLASSES\\Purebasic.pbi\\shell\\open\\command")) {
    candidate = DirectoryPart(*open);
  }
  return candidate;
}

PluginPaths PluginPathsIn(const std::string& japbeDirectory) {
  return {japbeDirectory + std::string(kPluginDirectoryName), japbeDirectory + std::string(kToolsFileName),
          japbeDirectory + std::string(kPluginCopyName)};
}

}  // namespace mirravel
