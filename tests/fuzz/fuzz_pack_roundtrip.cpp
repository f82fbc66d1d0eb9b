// libFuzzer target: whatever the packer is given must unpack to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "catalogue/unpack_block.h"
#include "tools/catpack/packer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> block;
  if (!mirravel::catpack::PackBlock(data, size, block)) std::abort();
  std::vector<std::uint8_t> output(size + 1, 0);
  const std::int32_t written = mirravel::UnpackBlock(block.data(), block.size(), output.data(), size);
  if (static_cast<std::size_t>(written) != size) std::abort();
  if (size > 0 && std::memcmp(output.data(), data, size) != 0) std::abort();
  return 0;
}
