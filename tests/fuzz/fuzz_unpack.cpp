// libFuzzer target: UnpackBlock on arbitrary blocks, into heap destinations of exactly the header's size
// (capped at 1 MB) and of half that, so that any access outside them is caught by the address sanitizer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "catalogue/unpack_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int64_t unpackedSize = mirravel::PackedUnpackedSize(data, size);
  const auto full = static_cast<std::size_t>(unpackedSize < 0 ? 16 : std::min<std::int64_t>(unpackedSize, 1 << 20));
  for (const std::size_t capacity : {full, full / 2}) {
    std::unique_ptr<std::uint8_t[]> destination(new std::uint8_t[capacity == 0 ? 1 : capacity]());  // never null
    const std::int32_t written = mirravel::UnpackBlock(data, size, destination.get(), capacity);
    if (written < 0 || (written > 0 && (written > unpackedSize || static_cast<std::size_t>(written) > capacity))) {
      std::abort();
    }
  }
  return 0;
}
