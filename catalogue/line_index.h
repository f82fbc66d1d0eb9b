// One pass over the list's text in its own buffer: line breaks made single characters in place, and the
// line index built on the way, so loading never holds a second copy of the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirravel {

struct IndexedLines {
  std::size_t length = 0;           // of the text after the pass
  std::int32_t longestLine = 0;     // characters, without the line break
};

// Turns every CR LF, lone CR and lone LF of text[0, length) into one '\n', in place, and ends the text
// at its first zero byte. Appends to lineStarts the start of each line that follows a line break and
// holds at least one character (the caller puts the first line's 0 there).
IndexedLines IndexLinesInPlace(char* text, std::size_t length, std::vector<std::int32_t>& lineStarts);

}  // namespace mirravel
