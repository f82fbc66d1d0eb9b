// The system clipboard as the copy commands use it: plain single-byte text.
#pragma once

#include <string_view>

namespace mirravel {

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // Replaces the clipboard's content with the text and its terminating NUL (CF_TEXT on Win32). False
  // when the clipboard is busy or no memory is to be had; the clipboard then keeps what it held.
  virtual bool PutText(std::string_view text) = 0;
};

}  // namespace mirravel
