// Loading the packed catalogue into the list at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/app_state.h"

namespace mirravel {

class WindowPort;

inline constexpr std::string_view kAllocateFailedMessage = "Could not allocate memory !";
inline constexpr std::string_view kUnpackFailedMessage = "Could not unpack data !";

// Unpacks the block into the list, which keeps the text, and stores the list's line count. Returns false
// after telling the user why it failed; the caller then ends the program.
bool LoadCatalogue(const std::uint8_t* block, std::size_t blockSize, AppState& state, WindowPort& window);

}  // namespace mirravel
