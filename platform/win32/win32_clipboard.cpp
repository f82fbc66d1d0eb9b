// Opened without an owner window, emptied only once the text's memory is in hand, so a failed allocation
// leaves the clipboard as it was; closed again in every case.
#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>

namespace mirravel::platform {

namespace {

// A shareable block holding the text and its NUL; nullptr when no memory is to be had.
HGLOBAL CopyIntoGlobalBlock(std::string_view text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<char*>(::GlobalLock(block));
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  ::GlobalUnlock(block);
  return block;
}

}  // namespace

bool Win32Clipboard::PutText(std::string_view text) {
  if (!::OpenClipboard(nullptr)) return false;
  bool placed = false;
  if (HGLOBAL block = CopyIntoGlobalBlock(text)) {
    ::EmptyClipboard();
    placed = ::SetClipboardData(CF_TEXT, block) != nullptr;
    if (!placed) ::GlobalFree(block);  // the clipboard took no ownership
  }
  ::CloseClipboard();
  return placed;
}

}  // namespace mirravel::platform
