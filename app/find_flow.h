// Find and find-next as the user sees them: the search over the list, the selection and the messages.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/app_state.h"

namespace mirravel {

class WindowPort;

inline constexpr std::string_view kNeitherMessage = "Text is not a constant nor a value";
inline constexpr std::string_view kNoMoreMessage = "No more entry found";
inline constexpr std::string_view kFindTitle = "Find text";

// Searches the list for text from state.findNextPosition, selects the hit's definition and tells the
// user when nothing (more) is found. Returns 1 after a hit or the "neither" message, 0 when nothing was found.
std::int32_t FindConstant(std::string_view text, AppState& state, WindowPort& window);

}  // namespace mirravel
