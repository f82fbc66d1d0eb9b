// Unpacking the packed catalogue into its text, in a buffer that lives only as long as the result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace mirravel {

struct UnpackedCatalogue {
  enum class Status { Ok, OutOfMemory, Corrupt };
  Status status = Status::Corrupt;
  std::unique_ptr<std::uint8_t[]> buffer;
  std::size_t textLength = 0;

  // The text before the buffer's first zero byte.
  std::string_view Text() const { return {reinterpret_cast<const char*>(buffer.get()), textLength}; }
};

// Unpacks the block into a zero-filled buffer of the size its header states. OutOfMemory when that
// buffer cannot be had (a header size of 0 included), Corrupt when the block does not unpack.
UnpackedCatalogue UnpackCatalogue(const std::uint8_t* block, std::size_t blockSize);

}  // namespace mirravel
