// The window messages and codes agreed with the jaPBe editor, and the bounds of every exchange with it.
#pragma once

#include <cstdint>

namespace mirravel {

// Sent to jaPBe (lParam: our main window); a non-zero result promises a copy-data reply carrying the
// query's own number as its code.
inline constexpr std::uint32_t MSG_QUERY_TEXT_A = 0x040D;  // WM_USER+13
inline constexpr std::uint32_t MSG_QUERY_TEXT_B = 0x040E;  // WM_USER+14
inline constexpr std::uint32_t MSG_QUERY_TEXT_C = 0x0410;  // WM_USER+16
// Posted to jaPBe with our main window in lParam; nothing comes back.
inline constexpr std::uint32_t MSG_PLUGIN_CLOSING = 0x0412;  // WM_USER+18
inline constexpr std::uint32_t MSG_PLUGIN_STARTED = 0x0414;  // WM_USER+20
// The code of a copy-data record that hands jaPBe a text.
inline constexpr std::uint32_t COPYDATA_TEXT_TO_HOST = 2;

// How long a reply may take after jaPBe accepted a query.
inline constexpr std::uint32_t kHostReplyWaitMs = 5000;
// How long one send may wait for jaPBe's window procedure. A prompt host answers well within it; a hung
// one must not freeze the program, and the system gives up at once on a window it already sees as hung.
inline constexpr std::uint32_t kHostSendTimeoutMs = 5000;

}  // namespace mirravel
