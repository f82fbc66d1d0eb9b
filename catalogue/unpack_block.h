// Decoder of the packed "JC" block that holds the constant catalogue.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirravel {

inline constexpr std::size_t kPackedHeaderSize = 10;

// Unpacked size from a block's header; -1 when the block is shorter than the header or lacks "JC".
std::int64_t PackedUnpackedSize(const std::uint8_t* block, std::size_t blockSize);

// Decodes into destination (capacity bytes); returns bytes written, or 0 for any failure.
// Never reads outside the block nor writes past min(header size, capacity), whatever the input. After a
// decoded stream, the bytes up to that limit that it did not write are zero.
std::int32_t UnpackBlock(const std::uint8_t* block, std::size_t blockSize, std::uint8_t* destination,
                         std::size_t capacity);

// The block checksum of the given bytes (exposed for the packer and tests).
std::uint32_t BlockChecksum(const std::uint8_t* bytes, std::size_t size);

}  // namespace mirravel
