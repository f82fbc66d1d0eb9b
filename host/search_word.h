// The constant name that the start-up search takes out of a text from jaPBe.
#pragma once

#include <string>
#include <string_view>

namespace mirravel {

// From the first "#" on, as long as each further byte OR 0x20 is a small letter, a digit or 0x7F
// (letters, digits and "_" in ordinary text); "" when the text holds no "#".
std::string PickSearchWord(std::string_view hostText);

}  // namespace mirravel
