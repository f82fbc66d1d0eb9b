// Group and key recognition for the tools file, by the preference reader's rules.
#include "registration/tool_groups.h"

#include "support/text.h"

namespace mirravel {
namespace {

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool HasToolPrefix(std::string_view groupName) {
  return groupName.size() > kToolGroupPrefix.size() &&
         EqualIgnoringAsciiCase(groupName.substr(0, kToolGroupPrefix.size()), kToolGroupPrefix);
}

}  // namespace

std::string ToolGroupName(std::int32_t number) { return std::string(kToolGroupPrefix) + std::to_string(number); }

bool IsToolGroupName(std::string_view groupName) {
  return HasToolPrefix(groupName) && AllDigits(groupName.substr(kToolGroupPrefix.size()));
}

std::optional<std::int32_t> ToolGroupNumber(std::string_view groupName) {
  if (!IsToolGroupName(groupName)) return std::nullopt;
  const std::string_view digits = groupName.substr(kToolGroupPrefix.size());
  if (digits.front() == '0' || digits.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::string_view> HeaderNameOf(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::string_view name = line.substr(1);
  return name.substr(0, name.find(']'));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  const auto keyStart = line.find_first_not_of(' ');
  if (keyStart == std::string_view::npos) return false;
  const std::string_view rest = line.substr(keyStart);
  const auto equals = rest.find('=');
  if (equals == std::string_view::npos) return false;
  std::string_view lineKey = rest.substr(0, equals);
  while (!lineKey.empty() && lineKey.back() == ' ') lineKey.remove_suffix(1);
  return EqualIgnoringAsciiCase(lineKey, key);
}

}  // namespace mirravel
