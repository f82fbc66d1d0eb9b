// One item of a popup menu: the id its choice reports and its text.
#pragma once

#include <string_view>

namespace mirravel {

struct MenuItem {
  int id;
  std::string_view text;
};

}  // namespace mirravel
