// A clipboard in memory: what the program put there, or a clipboard that another program holds.
#pragma once

#include <optional>
#include <string>

#include "ports/clipboard_port.h"

namespace mirravel::testing {

class FakeClipboard : public ClipboardPort {
 public:
  bool PutText(std::string_view text) override {
    if (busy) return false;
    content = std::string(text);
    return true;
  }

  std::optional<std::string> content;
  bool busy = false;
};

}  // namespace mirravel::testing
