// The installation records the program reads: default values of registry keys, and the system's version
// number that decides which keys to read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirravel {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;

  // The value the system's version query returns (bits 16 to 23 non-zero on the NT family).
  virtual std::uint32_t SystemVersion() = 0;
  // The unnamed default value of a key opened for reading only, as the bytes read into a buffer of
  // capacity bytes (possibly without a terminating NUL). Nothing when the key does not open or the read
  // fails, a value larger than the buffer included. The value's type is not examined.
  virtual std::optional<std::string> ReadDefaultValue(RegistryRoot root, std::string_view keyPath, std::size_t capacity) = 0;
};

}  // namespace mirravel
