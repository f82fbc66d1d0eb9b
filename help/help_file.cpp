// The registry lookups of the PureBasic open command and the help file test.
#include "help/help_file.h"

#include <optional>

#include "support/file_size.h"
#include "support/text.h"

namespace mirravel {
namespace {

// NT-family systems report their build number in bits 16 to 23 of the version value; only there are the
// per-application and per-user class keys consulted.
bool IsNtFamily(std::uint32_t version) { return ((version >> 16) & 0xFFu) != 0; }

// The directory named by one open command value; the candidate stays as it was when the key does not
// open or its value cannot be read.
void ReadOpenCommandDirectory(RegistryPort& registry, RegistryRoot root, std::string_view keyPath,
                              std::string& candidate) {
  const std::optional<std::string> value = registry.ReadDefaultValue(root, keyPath, kRegistryValueCapacity);
  if (!value) return;
  // The value is bounded by the buffer: a value that fills it without a NUL ends at its last byte.
  std::string_view command(*value);
  command = command.substr(0, command.find('\0'));
  command = command.substr(0, command.find("%1"));
  candidate = DirectoryPart(command);
}

}  // namespace

std::string FindPureBasicDirectory(RegistryPort& registry) {
  std::string candidate;
  if (IsNtFamily(registry.SystemVersion())) {
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
