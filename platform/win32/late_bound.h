// System functions that only a rare action needs (the found sound, the removal batch's start), bound on
// first use: importing their DLLs would load them, and everything they import, at every start-up.
#pragma once

#include <windows.h>

#include <string>

namespace mirravel::platform {

// The function `name` of the system DLL `dll`, loaded from the system directory; nullptr when missing.
// The DLL stays loaded for the rest of the process, so the pointer stays valid.
template <typename Function>
Function LateBound(const char* dll, const char* name) {
  char directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  HMODULE module = ::LoadLibraryA((std::string(directory, length) + "\\" + dll).c_str());
  if (module == nullptr) return nullptr;
  // Through the generic function pointer type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

}  // namespace mirravel::platform
