// libFuzzer target: UnpackBlock on arbitrary blocks, into destinations of exactly the size it is
// given, so that any read or write outside them is caught by the address sanitizer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "catalogue/unpack_block.h"

namespace {

constexpr std::size_t kMaxCapacity = std::size_t{1} << 20;

void DecodeInto(const std::uint8_t* block, std::size_t blockSize, std::size_t capacity) {
  // A heap block of exactly `capacity` bytes (at least one, so the pointer is never null).
  std::unique_ptr<std::uint8_t[]> destination(new std::uint8_t[capacity == 0 ? 1 : capacity]());
  const std::int32_t written = mirravel::UnpackBlock(block, blockSize, destination.get(), capacity);
  const std::int64_t size = mirravel::PackedUnpackedSize(block, blockSize);
  const bool bounded = size < 0 ? written == 0 : written >= 0 && written <= size;
  if (!bounded || static_cast<std::size_t>(written) > capacity) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int64_t unpackedSize = mirravel::PackedUnpackedSize(data, size);
  if (unpackedSize < 0) {
    DecodeInto(data, size, 16);
    return 0;
  }
  const std::size_t capacity = static_cast<std::size_t>(unpackedSize) < kMaxCapacity
                                   ? static_cast<std::size_t>(unpackedSize)
                                   : kMaxCapacity;
  DecodeInto(data, size, capacity);
  DecodeInto(data, size, capacity / 2);
  return 0;
}
