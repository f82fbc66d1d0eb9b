// Registry values are read into a bounded buffer and end at their first NUL or at the buffer's end.
#include "support/registry_text.h"

#include <algorithm>

namespace mirravel {

// Bit 31 is set on Windows 95, 98 and Me only. The byte above the low word is no family mark: on NT it is
// the low byte of the build number, zero for builds such as 10240 (0x2800).
bool IsNtFamilyVersion(std::uint32_t version) { return (version & 0x80000000u) == 0; }

std::optional<std::string> ReadRegistryText(RegistryPort& registry, RegistryRoot root, std::string_view keyPath) {
  std::optional<std::string> value = registry.ReadDefaultValue(root, keyPath, kRegistryValueCapacity);
  if (value) value->resize(std::min(value->size(), value->find('\0')));
  return value;
}

}  // namespace mirravel
