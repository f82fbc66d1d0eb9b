// A synthetic text shaped like the constant catalogue, for tests and benchmarks that need volume.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mirravel::catpack {

// Lines "#NAME = VALUE" with an optional " ' comment", each ending in CR LF, sorted by name ignoring
// case with "_" first; at least targetBytes long (it stops after the line that reaches it).
// The same seed gives the same text on every platform.
std::string MakeCatalogueLikeText(std::size_t targetBytes, std::uint32_t seed);

}  // namespace mirravel::catpack
