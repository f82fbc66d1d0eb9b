// Cyclic walk over the Tab order.
#include "ui/tab_order.h"

namespace mirravel {

int NextTabStop(const std::vector<bool>& canTakeFocus, int current, bool backward) {
  const int count = static_cast<int>(canTakeFocus.size());
  if (count == 0) return -1;
  const int step = backward ? count - 1 : 1;  // one step back is count - 1 steps forward
  int index = current;
  if (current < 0 || current >= count) index = backward ? 0 : count - 1;  // so the first step lands on an end
  for (int tried = 0; tried < count; ++tried) {
    index = (index + step) % count;
    if (canTakeFocus[static_cast<unsigned>(index)]) return index;
  }
  return -1;
}

}  // namespace mirravel
