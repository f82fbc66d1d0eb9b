// Start-up and shutdown services on Win32.
#include "platform/win32/win32_platform.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

#include "data/catalogue_block.h"
#include "platform/win32/late_bound.h"

namespace mirravel::platform {

bool Win32Platform::CreateContextMenu(const std::vector<MenuItem>& items) {
  contextMenu_ = ::CreatePopupMenu();
  if (contextMenu_ == nullptr) return false;
  for (const MenuItem& item : items) {
    const std::string text(item.text);
    ::AppendMenuA(contextMenu_, MF_STRING, static_cast<UINT_PTR>(item.id), text.c_str());
  }
  windowPort_.SetContextMenu(contextMenu_);
  return true;
}

WindowPort* Win32Platform::BuildMainWindow() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  return mainWindow_.Open(instance_) ? &windowPort_ : nullptr;
}

const std::uint8_t* Win32Platform::CatalogueBlock(std::size_t& size) {
  const EmbeddedBlock block = mirravel::CatalogueBlock();
  size = block.size;
  return block.data;
}

void Win32Platform::PlayFoundSound() {
  static const auto playSound = LateBound<decltype(&::PlaySoundA)>("winmm.dll", "PlaySoundA");
  if (playSound != nullptr) playSound("SystemExclamation", nullptr, SND_ALIAS | SND_NOWAIT | SND_NODEFAULT | SND_ASYNC);
}

void Win32Platform::EndProcess(int exitCode) {
  if (contextMenu_ != nullptr) ::DestroyMenu(contextMenu_);
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace mirravel::platform
