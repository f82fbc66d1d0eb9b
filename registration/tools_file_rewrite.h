// Rewriting jaPBe's tools file to add or remove Mirravel's entry. Every line that is not Mirravel's is
// written back as it was read; only line ends become CR LF. The new text goes to a temporary file that
// replaces the tools file in one move, so a failure anywhere leaves the tools file as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_operations_port.h"

namespace mirravel {

inline constexpr std::string_view kTemporaryToolsSuffix = ".~NEW~";

// Lines end at CR, LF, CR LF or a NUL byte; a final line end opens no further line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Mirravel's own entry, numbered `number`: the thirteen lines jaPBe needs for a Tools-menu plug-in.
std::vector<std::string> MirravelToolEntry(std::int32_t number);

// The lines without the entry "Tool_" + found (its header and the rest of its group), the later tool
// headers renumbered in file order and the "ToolCount" line of "ToolsInfo" set to newCount. Nothing when
// the file holds no such entry.
std::optional<std::vector<std::string>> WithoutToolEntry(const std::vector<std::string>& lines, std::int32_t found,
                                                          std::int32_t newCount);
// The lines with "ToolCount" of "ToolsInfo" set to newCount (the key line, and its group, added where the
// file lacks them) and Mirravel's entry numbered newCount appended.
std::vector<std::string> WithToolEntryAppended(const std::vector<std::string>& lines, std::int32_t newCount);

// Writes every line followed by CR LF to a new file, replacing any file of that name, and flushes it; on
// any failure the file is removed again.
bool WriteNewFile(FileOperationsPort& files, const std::string& path, const std::vector<std::string>& lines);

// Writes lines to path + kTemporaryToolsSuffix, flushed, and moves that file over path. On any failure
// the temporary file is removed and path is untouched.
bool ReplaceFileLines(FileOperationsPort& files, const std::string& path, const std::vector<std::string>& lines);

enum class EntryRemoval { Removed, NotFound, Failed };
// Removes the entry whose "Command" names Mirravel and lowers "ToolCount" by one. The entry is looked up
// in the text that is rewritten, so a file changed since an earlier scan loses Mirravel's entry, never
// another; a text without one is left as it is (NotFound).
EntryRemoval RemoveMirravelEntry(FileOperationsPort& files, const std::string& toolsFile);
bool AppendToolEntry(FileOperationsPort& files, const std::string& toolsFile, std::int32_t newCount);

}  // namespace mirravel
