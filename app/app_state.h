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
  // Help window: the one found last, whether Mirravel stands aside for it, and where Mirravel stood before.
  std::uintptr_t helpWindow = 0;
  std::int32_t helpWindowMoved = 0;
  std::int32_t savedWindowX = 0;
  std::int32_t savedWindowY = 0;
  // The jaPBe link: the latest reply to each text query (filled by the message hook).
  ReplyBuffers hostReplies;
};

}  // namespace mirravel
