// The unpacked buffer is zero-filled, so the text ends at the first zero byte whatever the block holds.
#include "catalogue/unpack_catalogue.h"

#include <cstring>
#include <new>

#include "catalogue/unpack_block.h"

namespace mirravel {

static std::int32_t HeaderUnpackedSize(const std::uint8_t* block, std::size_t blockSize) {
  if (block == nullptr || blockSize < kPackedHeaderSize) return 0;
  const std::uint32_t size = static_cast<std::uint32_t>(block[2]) | static_cast<std::uint32_t>(block[3]) << 8 |
                             static_cast<std::uint32_t>(block[4]) << 16 | static_cast<std::uint32_t>(block[5]) << 24;
  return static_cast<std::int32_t>(size);
}

UnpackedCatalogue UnpackCatalogue(const std::uint8_t* block, std::size_t blockSize) {
  UnpackedCatalogue result;
  const std::int32_t size = HeaderUnpackedSize(block, blockSize);
  const std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) : 0;
  if (capacity > 0) result.buffer.reset(new (std::nothrow) std::uint8_t[capacity]());
  if (!result.buffer) {
    result.status = UnpackedCatalogue::Status::OutOfMemory;
    return result;
  }
  if (UnpackBlock(block, blockSize, result.buffer.get(), capacity) == 0) {
    result.buffer.reset();
    result.status = UnpackedCatalogue::Status::Corrupt;
    return result;
  }
  const void* zero = std::memchr(result.buffer.get(), 0, capacity);
  result.textLength = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - result.buffer.get()) : capacity;
  result.status = UnpackedCatalogue::Status::Ok;
  return result;
}

}  // namespace mirravel
