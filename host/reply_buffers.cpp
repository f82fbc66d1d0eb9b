// Reply buffers: exactly the bytes received are kept and read, so a reply without a NUL is never read
// past its end.
#include "host/reply_buffers.h"

#include <new>

#include "host/host_protocol.h"

namespace mirravel {

std::size_t ReplyBuffers::Slot(std::uintptr_t code) const {
  switch (code) {
    case MSG_QUERY_TEXT_A: return 0;
    case MSG_QUERY_TEXT_B: return 1;
    case MSG_QUERY_TEXT_C: return 2;
    default: return blocks_.size();
  }
}

bool ReplyBuffers::Store(std::uintptr_t code, std::string_view bytes) {
  const std::size_t slot = Slot(code);
  if (slot == blocks_.size()) return false;
  blocks_[slot].reset();
  try {
    blocks_[slot].emplace(bytes);
  } catch (const std::bad_alloc&) {  // a huge record: the buffer stays empty and the query times out
    blocks_[slot].reset();
    return false;
  }
  return true;
}

void ReplyBuffers::Release(std::uintptr_t code) {
  const std::size_t slot = Slot(code);
  if (slot != blocks_.size()) blocks_[slot].reset();
}

bool ReplyBuffers::Holds(std::uintptr_t code) const {
  const std::size_t slot = Slot(code);
  return slot != blocks_.size() && blocks_[slot].has_value();
}

std::string ReplyBuffers::Text(std::uintptr_t code) const {
  if (!Holds(code)) return {};
  const std::string& bytes = *blocks_[Slot(code)];
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace mirravel
