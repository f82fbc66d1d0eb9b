// What became of the packed catalogue handed to the list.
#pragma once

namespace mirravel {

// OutOfMemory: the header states no size (0 or less, or the block is shorter than its header) or the
// text's buffer cannot be had; Corrupt: the block does not unpack.
enum class CatalogueLoad { Loaded, OutOfMemory, Corrupt };

}  // namespace mirravel
