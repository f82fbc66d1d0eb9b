// The removal batch's text. Both paths stand in double quotes: unquoted, a path with blanks that has no
// short form would split into several words, and DEL would delete each word as a file name of its own.
// A "%" in a path is doubled, because the command processor expands "%...%" in a batch even inside quotes.
#include "registration/removal_batch.h"

#include <optional>
#include <utility>

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

// The loop counts its tries and pauses between them: a file that can never be deleted (held open by another
// program, no right to delete it) must not keep a hidden command processor spinning for ever. PING's echoes
// to the local host are a second apart; it needs no console, unlike TIMEOUT, and Wine's command processor
// runs it too.
std::vector<std::string> RemovalBatchLines(std::string_view executable, std::string_view batchPath) {
  const std::string program = QuotedForBatch(executable);
  return {"@ECHO OFF",
          "REM jaPBe Plugin Uninstallation",
          "SET MVTRIES=0",
          ":DELETE ",
          "DEL " + program + " > NUL",
          "IF EXIST " + program + " IF %MVTRIES% LSS " + std::to_string(kRemovalBatchTries) + " GOTO EXISTS",
          "DEL " + QuotedForBatch(batchPath) + " > NUL",
          "EXIT",
          ":EXISTS",
          "SET /A MVTRIES+=1",
          "PING -n 2 127.0.0.1 > NUL",
          "GOTO DELETE"};
}

bool WriteRemovalBatch(FileOperationsPort& files, const std::string& batchPath, std::string_view executable) {
  std::vector<std::string> lines = RemovalBatchLines(executable, batchPath);
  for (std::string& line : lines) {
    std::optional<std::string> converted = files.BatchText(line);
    if (!converted) return false;  // the batch would name other files than these
    line = std::move(*converted);
  }
  // A batch cut short could delete too little: WriteNewFile leaves none behind then.
  return WriteNewFile(files, batchPath, lines);
}

}  // namespace mirravel
