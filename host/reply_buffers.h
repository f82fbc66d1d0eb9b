// The latest reply jaPBe sent for each of the three text queries, each an owned copy of the bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirravel {

class ReplyBuffers {
 public:
  // Copies the bytes into the buffer of their code, releasing what it held before. False for a code
  // that is none of the three queries, and when no memory is to be had (the buffer is then empty).
  bool Store(std::uintptr_t code, std::string_view bytes);
  void Release(std::uintptr_t code);
  bool Holds(std::uintptr_t code) const;
  // The bytes up to the first NUL, or all of them when they hold none; empty for an empty buffer.
  std::string Text(std::uintptr_t code) const;

 private:
  // Index of the code's buffer, or blocks_.size() for any other code.
  std::size_t Slot(std::uintptr_t code) const;

  std::array<std::optional<std::string>, 3> blocks_;
};

}  // namespace mirravel
