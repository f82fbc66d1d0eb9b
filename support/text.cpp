// Byte-text helpers: the program's own case rule covers Windows-1252 letters, not only ASCII.
#include "support/text.h"

namespace mirravel {

char UpperCaseByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'a' && byte <= 'z') || byte >= 0xE0) return static_cast<char>(byte - 0x20);
  return c;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperCaseByte(c);
  return result;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCaseByte(a[i]) != UpperCaseByte(b[i])) return false;
  }
  return true;
}

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string DirectoryPart(std::string_view pathOrCommandLine) {
  std::string_view text = pathOrCommandLine;
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  const auto lastBackslash = text.rfind('\\');
  if (lastBackslash == std::string_view::npos) return {};
  std::string_view directory = text.substr(0, lastBackslash + 1);
  // A quoted executable followed by quoted arguments leaves a quote inside: cut there, and back to
  // the executable's own last backslash in case an argument held backslashes too.
  const auto quote = directory.find('"');
  if (quote != std::string_view::npos) {
    directory = directory.substr(0, quote);
    const auto executableBackslash = directory.rfind('\\');
    directory = executableBackslash == std::string_view::npos ? std::string_view{} : directory.substr(0, executableBackslash + 1);
  }
  return std::string(directory);
}

}  // namespace mirravel
