// Installation records as text: the default value of a registry key read into the bounded buffer that
// every lookup uses, and the version test that decides which keys a lookup reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ports/registry_port.h"

namespace mirravel {

inline constexpr std::size_t kRegistryValueCapacity = 522;

// Whether GetVersion's value comes from an NT-family system (bit 31 clear) rather than Windows 9x.
bool IsNtFamilyVersion(std::uint32_t version);

// The key's default value up to its first NUL, or up to the end of the buffer when it fills the buffer
// without one; nothing when the key does not open or the value does not fit.
std::optional<std::string> ReadRegistryText(RegistryPort& registry, RegistryRoot root, std::string_view keyPath);

}  // namespace mirravel
