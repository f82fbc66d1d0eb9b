// Command-line tokens and decimal parsing, bounded to the text given: no reads beyond its end.
#include "support/command_line.h"

namespace mirravel {

std::vector<std::string> TokeniseCommandLine(std::string_view commandLine) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  while (true) {
    while (i < n && commandLine[i] == ' ') ++i;
    if (i >= n) break;
    if (commandLine[i] == '"') {
      const std::size_t start = i + 1;
      const std::size_t close = commandLine.find('"', start);
      const std::size_t end = close == std::string_view::npos ? n : close;
      tokens.emplace_back(commandLine.substr(start, end - start));
      i = close == std::string_view::npos ? n : close + 1;
    } else {
      const std::size_t start = i;
      while (i < n && commandLine[i] != ' ') ++i;
      tokens.emplace_back(commandLine.substr(start, i - start));
    }
  }
  return tokens;
}

CommandLine::CommandLine(std::string_view commandLine) : tokens_(TokeniseCommandLine(commandLine)) {
  if (!tokens_.empty()) programPath_ = tokens_.front();
}

std::string CommandLine::NextParameter() {
  if (next_ >= tokens_.size()) {
    ++next_;
    return {};
  }
  return tokens_[next_++];
}

static bool IsSkippedSpace(char c, LeadingSpace space) {
  if (c == ' ') return true;
  return space == LeadingSpace::WhiteSpace && (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r');
}

std::int32_t ParseSignedDecimal(std::string_view text, LeadingSpace space) {
  std::size_t i = 0;
  while (i < text.size() && IsSkippedSpace(text[i], space)) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;  // unsigned arithmetic wraps at 32 bits by definition
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10u + static_cast<std::uint32_t>(text[i++] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

}  // namespace mirravel
