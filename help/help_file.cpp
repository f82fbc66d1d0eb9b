// The registry lookups of the PureBasic open command and the help file test.
#include "help/help_file.h"

#include <optional>

#include "support/file_size.h"
#include "support/text.h"

namespace mirravel {
namespace {

// The directory named by one open command value; the candidate stays as it was when the key does not
// open or its value cannot be read.
void ReadOpenCommandDirectory(RegistryPort& registry, RegistryRoot root, std::string_view keyPath,
                              std::string& candidate) {
  const std::optional<std::string> value = ReadRegistryText(registry, root, keyPath);
  if (!value) return;
  const std::string_view command = std::string_view(*value).substr(0, value->find("%1"));
  candidate = DirectoryPart(command);
}

}  // namespace

std::string FindPureBasicDirectory(RegistryPort& registry) {
  std::string candidate;
  // Only NT-family systems have the per-application and per-user class keys.
  if (IsNtFamilyVersion(registry.SystemVersion())) {
    ReadOpenCommandDirectory(registry, RegistryRoot::ClassesRoot, kPureBasicOpenCommandKey, candidate);
    if (candidate.empty()) {
      ReadOpenCommandDirectory(registry, RegistryRoot::CurrentUser, kPureBasicClassOpenCommandKey, candidate);
    }
  } else {
    ReadOpenCommandDirectory(registry, RegistryRoot::LocalMachine, kPureBasicClassOpenCommandKey, candidate);
  }
  return candidate;
}

std::string LocateHelpFilePath(RegistryPort& registry) {
  std::string path = FindPureBasicDirectory(registry);
  path += kHelpFileName;
  return QueryFileSize(path) > 0 ? path : std::string();
}

}  // namespace mirravel
