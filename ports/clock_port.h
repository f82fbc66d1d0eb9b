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

}  // namespace mirravel
