// The one process-wide state record; every field has one owner that writes it.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/find.h"

namespace mirravel {

struct AppState {
  std::uintptr_t hostWindow = 0;
  std::int32_t pluginMode = 0;
  std::string hostText;
  std::string findText;
  std::int32_t findKind = kFindName;
  std::int32_t findNextPosition = 0;
  std::int32_t alwaysOnTop = 0;
  std::int32_t lineCount = 0;
  std::string aboutText;
  std::string helpFilePath;
};

}  // namespace mirravel
