// Read-only access (KEY_READ): a standard user is refused all access rights on the machine-wide roots.
#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace mirravel::platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CLASSES_ROOT;
}

class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path) { opened_ = ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS; }
  ~OpenKey() {
    if (opened_) ::RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  bool IsOpen() const { return opened_; }
  HKEY Key() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool opened_ = false;
};

}  // namespace

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
std::uint32_t Win32Registry::SystemVersion() { return static_cast<std::uint32_t>(::GetVersion()); }
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

std::optional<std::string> Win32Registry::ReadDefaultValue(RegistryRoot root, std::string_view keyPath, std::size_t capacity) {
  const OpenKey key(RootKey(root), std::string(keyPath));
  if (!key.IsOpen()) return std::nullopt;
  std::string value(capacity, '\0');
  DWORD size = static_cast<DWORD>(capacity);
  if (::RegQueryValueExA(key.Key(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(size < capacity ? size : capacity);
  return value;
}

}  // namespace mirravel::platform
