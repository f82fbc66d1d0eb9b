// The one process-wide state record; every field has one owner that writes it.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/find.h"
#include "host/reply_buffers.h"

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
  // The jaPBe link: the latest reply to each text query (filled by the message hook).
  ReplyBuffers hostReplies;
};

}  // namespace mirravel
