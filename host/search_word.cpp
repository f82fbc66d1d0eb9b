// The word pick of the start-up search.
#include "host/search_word.h"

namespace mirravel {

namespace {

bool ContinuesWord(char c) {
  const unsigned folded = static_cast<unsigned char>(c) | 0x20u;
  return folded == 0x7F || (folded >= 'a' && folded <= 'z') || (folded >= '0' && folded <= '9');
}

}  // namespace

std::string PickSearchWord(std::string_view hostText) {
  const std::size_t start = hostText.find('#');
  if (start == std::string_view::npos) return {};
  std::size_t end = start + 1;
  while (end < hostText.size() && ContinuesWord(hostText[end])) ++end;
  return std::string(hostText.substr(start, end - start));
}

}  // namespace mirravel
