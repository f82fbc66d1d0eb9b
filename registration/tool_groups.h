// The groups of jaPBe's tools file that Mirravel tells apart: "ToolsInfo" with its "ToolCount" line,
// and the tool entries "Tool_" + number. Group names compare ignoring ASCII letter case, as the
// preference reader matches them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mirravel {

inline constexpr std::string_view kToolsInfoGroup = "ToolsInfo";
inline constexpr std::string_view kToolCountKey = "ToolCount";
inline constexpr std::string_view kToolGroupPrefix = "Tool_";

std::string ToolGroupName(std::int32_t number);
// The number a group name carries when it is "Tool_" + digits written as ToolGroupName writes them
// (no leading zero), so that selecting ToolGroupName(number) finds this group.
std::optional<std::int32_t> ToolGroupNumber(std::string_view groupName);
// "Tool_" + one or more digits, whatever their spelling.
bool IsToolGroupName(std::string_view groupName);

// The group name of a header line ("[" in the first column, the name up to "]" or the line end).
std::optional<std::string_view> HeaderNameOf(std::string_view line);
// A key line for key: leading blanks, the key, optional blanks, "=" (the key compared ignoring case).
bool IsKeyLine(std::string_view line, std::string_view key);

}  // namespace mirravel
