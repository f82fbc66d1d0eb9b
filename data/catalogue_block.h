// The packed constant catalogue ("JC" block), built into the executable as constant data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mirravel {

struct EmbeddedBlock {
  const std::uint8_t* data;
  std::size_t size;
};

// The block made from data/catalogue.txt; the same bytes as data/catalogue.jc.
EmbeddedBlock CatalogueBlock();

}  // namespace mirravel
