// The removal batch "~MVUNIN.BAT": run by the command processor after the plug-in copy has ended, it
// deletes the copy's executable (retrying about once a second while the ending process, or another
// program, still holds it, for about a minute at most) and then itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/file_operations_port.h"

namespace mirravel {

inline constexpr std::string_view kRemovalBatchName = "~MVUNIN.BAT";

// The batch's path in the temporary directory (a backslash added when the directory lacks one).
std::string RemovalBatchPath(std::string_view temporaryDirectory);

// Tries of the batch before it gives up on a file that stays; each failed one is followed by a pause of
// about a second.
inline constexpr int kRemovalBatchTries = 60;

// The batch's lines for the executable (written in its short form where it has one).
std::vector<std::string> RemovalBatchLines(std::string_view executable, std::string_view batchPath);

// Writes the batch afresh in the command processor's code page, replacing an earlier one; false (and no
// batch left) when it cannot be written whole or a path has no exact form in that code page.
bool WriteRemovalBatch(FileOperationsPort& files, const std::string& batchPath, std::string_view executable);

}  // namespace mirravel
