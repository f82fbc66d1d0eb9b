// The system's millisecond tick count and sleep.
#pragma once

#include <windows.h>

#include "ports/clock_port.h"

namespace mirravel::platform {

class Win32Clock : public ClockPort {
 public:
  std::uint32_t TickCount() override { return ::GetTickCount(); }
  void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace mirravel::platform
