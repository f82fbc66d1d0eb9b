// The text the view host shows and its test checks against: a few hundred catalogue-like lines with
// CR LF breaks, every third with a comment, and one much longer line.
#pragma once

#include <cstdio>
#include <string>

namespace mirravel::e2e {

inline constexpr int kSampleLines = 300;
inline constexpr int kSampleLongLine = 150;

inline std::string SampleLine(int index) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "#VIEW_CONST_%03d = $%X", index, index * 17);
  std::string line = buffer;
  if (index == kSampleLongLine) line += " ' " + std::string(240, 'w') + " end";
  else if (index % 3 == 0) line += " ' comment " + std::to_string(index);
  return line;
}

inline std::string SampleText() {
  std::string text;
  for (int i = 0; i < kSampleLines; ++i) text += SampleLine(i) + "\r\n";
  return text;
}

// View position (one character per line break) of a column of a line.
inline int SamplePosition(int line, int column) {
  int position = 0;
  for (int i = 0; i < line; ++i) position += static_cast<int>(SampleLine(i).size()) + 1;
  return position + column;
}

}  // namespace mirravel::e2e
