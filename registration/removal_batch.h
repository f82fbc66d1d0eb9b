// The removal batch "~MVUNIN.BAT": run by the command processor after the plug-in copy has ended, it
// deletes the copy's executable (retrying while the ending process still holds it) and then itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/file_operations_port.h"

namespace mirravel {

inline constexpr std::string_view kRemovalBatchName = "~MVUNIN.BAT";

// The batch's path in the temporary directory (a backslash added when the directory lacks one).
std::string RemovalBatchPath(std::string_view temporaryDirectory);

// The nine lines of the batch for the executable (written in its short form where it has one).
std::vector<std::string> RemovalBatchLines(std::string_view executable, std::string_view batchPath);

// Writes the batch afresh, replacing an earlier one; false (and no batch left) when it cannot be written whole.
bool WriteRemovalBatch(FileOperationsPort& files, const std::string& batchPath, std::string_view executable);

}  // namespace mirravel
