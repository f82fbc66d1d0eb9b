// The command line as the program reads it: blank-separated tokens, quoted tokens, decimal numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirravel {

// Splits on blanks (0x20); a token that begins with a double quote runs to the next quote.
std::vector<std::string> TokeniseCommandLine(std::string_view commandLine);

// Reads parameters one after another; token 0 is the program's path, missing tokens read as "".
class CommandLine {
 public:
  explicit CommandLine(std::string_view commandLine);
  const std::string& ProgramPath() const { return programPath_; }
  std::string NextParameter();

 private:
  std::vector<std::string> tokens_;
  std::string programPath_;
  std::size_t next_ = 1;
};

enum class LeadingSpace { Blanks, WhiteSpace };

// Signed decimal with 32-bit wrap-around: leading space, one sign, digits up to the first non-digit.
// No digits give 0. Blanks skips 0x20 only; WhiteSpace also skips tab, LF, VT, FF and CR (atoi).
std::int32_t ParseSignedDecimal(std::string_view text, LeadingSpace space = LeadingSpace::Blanks);

}  // namespace mirravel
