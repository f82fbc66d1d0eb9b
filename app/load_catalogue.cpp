// Catalogue loading: the unpacked buffer lives only here; afterwards the list holds the only copy.
#include "app/load_catalogue.h"

#include "catalogue/unpack_catalogue.h"
#include "ports/message_box.h"
#include "ports/window_port.h"

namespace mirravel {

bool LoadCatalogue(const std::uint8_t* block, std::size_t blockSize, AppState& state, WindowPort& window) {
  UnpackedCatalogue unpacked = UnpackCatalogue(block, blockSize);
  if (unpacked.status != UnpackedCatalogue::Status::Ok) {
    const bool outOfMemory = unpacked.status == UnpackedCatalogue::Status::OutOfMemory;
    window.ShowMessageBox("ERROR", outOfMemory ? kAllocateFailedMessage : kUnpackFailedMessage, kBoxStop);
    return false;
  }
  window.AssignListText(unpacked.Text());
  unpacked.buffer.reset();
  state.lineCount = window.ListLineCount();
  return true;
}

}  // namespace mirravel
