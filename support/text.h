// Byte-text helpers shared by every part of the program: case folding, trimming, path parts.
#pragma once

#include <string>
#include <string_view>

namespace mirravel {

// Upper-cases a-z and 0xE0-0xFF (the Windows-1252 small letters) by subtracting 0x20.
char UpperCaseByte(char c);
std::string UpperCase(std::string_view text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Folds only ASCII letters, as the C library's _strnicmp does.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// Removes blanks (0x20 only) at both ends.
std::string Trim(std::string_view text);

// The directory of a path or command line, with its trailing backslash; empty when none.
std::string DirectoryPart(std::string_view pathOrCommandLine);

}  // namespace mirravel
