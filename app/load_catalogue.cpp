// Catalogue loading: the block is decoded straight into the list's own buffer, the only copy of the text.
#include "app/load_catalogue.h"

#include "ports/message_box.h"
#include "ports/window_port.h"

namespace mirravel {

bool LoadCatalogue(const std::uint8_t* block, std::size_t blockSize, AppState& state, WindowPort& window) {
  const CatalogueLoad result = window.UnpackIntoList(block, blockSize);
  if (result != CatalogueLoad::Loaded) {
    const bool outOfMemory = result == CatalogueLoad::OutOfMemory;
    window.ShowMessageBox("ERROR", outOfMemory ? kAllocateFailedMessage : kUnpackFailedMessage, kBoxStop);
    return false;
  }
  state.lineCount = window.ListLineCount();
  return true;
}

}  // namespace mirravel
