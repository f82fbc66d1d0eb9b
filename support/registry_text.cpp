// Registry values are read into a bounded buffer and end at their first NUL or at the buffer's end.
#include "support/registry_text.h"

#include <algorithm>

namespace mirravel {

bool IsNtFamilyVersion(std::uint32_t version) { return ((version >> 16) & 0xFFu) != 0; }

std::optional<std::string> ReadRegistryText(RegistryPort& registry, RegistryRoot root, std::string_view keyPath) {
  std::optional<std::string> value = registry.ReadDefaultValue(root, keyPath, kRegistryValueCapacity);
  if (value) value->resize(std::min(value->size(), value->find('\0')));
  return value;
}

}  // namespace mirravel
