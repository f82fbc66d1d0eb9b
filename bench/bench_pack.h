// The text the packing and unpacking benchmarks share: the real catalogue when it is there, otherwise
// a synthetic one of the same shape, each packed once by catpack and once by zlib at level 9.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include "tools/catpack/packer.h"
#include "tools/catpack/sample_text.h"

namespace mirravel::bench {

struct BenchText {
  std::string source;  // shown as the benchmarks' label
  std::vector<std::uint8_t> text;
  std::vector<std::uint8_t> packed;  // catpack's block
  std::vector<std::uint8_t> zlib9;   // zlib's stream at level 9
};

inline std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& text, int level) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<std::uint8_t> compressed(size);
  if (compress2(compressed.data(), &size, text.data(), static_cast<uLong>(text.size()), level) != Z_OK) return {};
  compressed.resize(size);
  return compressed;
}

inline const BenchText& SharedBenchText() {
  static const BenchText shared = [] {
    BenchText made;
    std::ifstream in(std::string(MIRRAVEL_SOURCE_DIR) + "/data/catalogue.txt", std::ios::binary);
    if (in) {
      std::stringstream bytes;
      bytes << in.rdbuf();
      const std::string text = bytes.str();
      made.source = "data/catalogue.txt";
      made.text.assign(text.begin(), text.end());
    } else {
      const std::string text = catpack::MakeCatalogueLikeText(1000000, 1);
      made.source = "synthetic catalogue-like text";
      made.text.assign(text.begin(), text.end());
    }
    catpack::PackBlock(made.text.data(), made.text.size(), made.packed);
    made.zlib9 = ZlibCompress(made.text, 9);
    return made;
  }();
  return shared;
}

// Throughput over the text, and both packed sizes side by side, on every benchmark of the pair.
inline void ReportPackedSizes(benchmark::State& state, const BenchText& shared) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(shared.text.size()));
  state.SetLabel(shared.source + ", " + std::to_string(shared.text.size()) + " bytes");
  state.counters["catpack_bytes"] = static_cast<double>(shared.packed.size());
  state.counters["zlib9_bytes"] = static_cast<double>(shared.zlib9.size());
  state.counters["catpack_vs_zlib9"] = static_cast<double>(shared.packed.size()) / static_cast<double>(shared.zlib9.size());
}

}  // namespace mirravel::bench
