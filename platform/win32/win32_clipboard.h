// The clipboard through USER32: plain text as CF_TEXT.
#pragma once

#include "ports/clipboard_port.h"

namespace mirravel::platform {

class Win32Clipboard : public ClipboardPort {
 public:
  bool PutText(std::string_view text) override;
};

}  // namespace mirravel::platform
