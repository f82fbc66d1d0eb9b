// The removal batch's text. Both paths stand in double quotes: unquoted, a path with blanks that has no
// short form would split into several words, and DEL would delete each word as a file name of its own.
// A "%" in a path is doubled, because the command processor expands "%...%" in a batch even inside quotes.
#include "registration/removal_batch.h"

#include "registration/tools_file_rewrite.h"

namespace mirravel {
namespace {

std::string QuotedForBatch(std::string_view path) {
  std::string quoted = "\"";
  for (const char c : path) {
    quoted += c;
    if (c == '%') quoted += '%';
  }
  return quoted + "\"";
}

}  // namespace

std::string RemovalBatchPath(std::string_view temporaryDirectory) {
  std::string path(temporaryDirectory);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + std::string(kRemovalBatchName);
}

std::vector<std::string> RemovalBatchLines(std::string_view executable, std::string_view batchPath) {
  const std::string program = QuotedForBatch(executable);
  return {"@ECHO OFF",
          "REM jaPBe Plugin Uninstallation",
          ":DELETE ",
          "DEL " + program + " > NUL",
          "IF EXIST " + program + " GOTO EXISTS",
          "DEL " + QuotedForBatch(batchPath) + " > NUL",
          "EXIT",
          ":EXISTS",
          "GOTO DELETE"};
}

bool WriteRemovalBatch(FileOperationsPort& files, const std::string& batchPath, std::string_view executable) {
  // A batch cut short could loop for ever or delete too little: WriteNewFile leaves none behind then.
  return WriteNewFile(files, batchPath, RemovalBatchLines(executable, batchPath));
}

}  // namespace mirravel
