// The millisecond clock that every wait for another program polls.
#pragma once

#include <cstdint>

namespace mirravel {

class ClockPort {
 public:
  virtual ~ClockPort() = default;
  // Milliseconds since the system started, wrapping at 32 bits.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// Whether a tick count lies beyond a deadline, compared as a signed distance so that a wrap of the 32-bit
// counter during a wait neither ends it early nor makes it endless.
inline bool IsTickPast(std::uint32_t now, std::uint32_t deadline) { return static_cast<std::int32_t>(now - deadline) > 0; }

}  // namespace mirravel
