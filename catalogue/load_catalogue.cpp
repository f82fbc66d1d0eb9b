// Catalogue loading: the unpacked buffer lives only here; afterwards the list holds the only copy.
#include "catalogue/load_catalogue.h"

#include <cstring>
#include <memory>
#include <new>

#include "catalogue/unpack_block.h"
#include "ui/message_box.h"
#include "ui/window_port.h"

namespace mirravel {

static std::int32_t HeaderUnpackedSize(const std::uint8_t* block, std::size_t blockSize) {
  if (block == nullptr || blockSize < kPackedHeaderSize) return 0;
  const std::uint32_t size = static_cast<std::uint32_t>(block[2]) | static_cast<std::uint32_t>(block[3]) << 8 |
                             static_cast<std::uint32_t>(block[4]) << 16 | static_cast<std::uint32_t>(block[5]) << 24;
  return static_cast<std::int32_t>(size);
}

bool LoadCatalogue(const std::uint8_t* block, std::size_t blockSize, AppState& state, WindowPort& window) {
  const std::int32_t size = HeaderUnpackedSize(block, blockSize);
  const std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) : 0;
  std::unique_ptr<std::uint8_t[]> buffer;
  if (capacity > 0) buffer.reset(new (std::nothrow) std::uint8_t[capacity]());
  if (!buffer) {
    window.ShowMessageBox("ERROR", kAllocateFailedMessage, kBoxStop);
    return false;
  }
  if (UnpackBlock(block, blockSize, buffer.get(), capacity) == 0) {
    buffer.reset();
    window.ShowMessageBox("ERROR", kUnpackFailedMessage, kBoxStop);
    return false;
  }
  const void* zero = std::memchr(buffer.get(), 0, capacity);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - buffer.get()) : capacity;
  window.ListText().Assign(std::string_view(reinterpret_cast<const char*>(buffer.get()), length));
  buffer.reset();
  window.ListTextChanged();
  state.lineCount = window.ListText().LineCount();
  return true;
}

}  // namespace mirravel
