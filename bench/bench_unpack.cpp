// Decoding speed of UnpackBlock against zlib's inflate on the same catalogue text.
#include <benchmark/benchmark.h>

#include "bench/bench_pack.h"
#include "catalogue/unpack_block.h"

namespace mirravel::bench {
namespace {

void BM_UnpackBlock(benchmark::State& state) {
  const BenchText& shared = SharedBenchText();
  std::vector<std::uint8_t> output(shared.text.size());
  for (auto _ : state) {
    const std::int32_t written = UnpackBlock(shared.packed.data(), shared.packed.size(), output.data(), output.size());
    if (static_cast<std::size_t>(written) != shared.text.size()) state.SkipWithError("UnpackBlock failed");
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  ReportPackedSizes(state, shared);
}
BENCHMARK(BM_UnpackBlock)->Unit(benchmark::kMicrosecond);

void BM_ZlibInflate(benchmark::State& state) {
  const BenchText& shared = SharedBenchText();
  std::vector<std::uint8_t> output(shared.text.size());
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(output.size());
    if (uncompress(output.data(), &size, shared.zlib9.data(), static_cast<uLong>(shared.zlib9.size())) != Z_OK ||
        size != shared.text.size()) {
      state.SkipWithError("inflate failed");
    }
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  ReportPackedSizes(state, shared);
}
BENCHMARK(BM_ZlibInflate)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mirravel::bench
