// Packing time and packed size: catpack against zlib at level 9 on the same catalogue text.
#include <benchmark/benchmark.h>

#include "bench/bench_pack.h"

namespace mirravel::bench {
namespace {

void BM_PackBlock(benchmark::State& state) {
  const BenchText& shared = SharedBenchText();
  std::vector<std::uint8_t> block;
  for (auto _ : state) {
    catpack::PackBlock(shared.text.data(), shared.text.size(), block);
    benchmark::DoNotOptimize(block.data());
  }
  if (block != shared.packed) state.SkipWithError("packing is not deterministic");
  ReportPackedSizes(state, shared);
}
BENCHMARK(BM_PackBlock)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZlibCompressLevel9(benchmark::State& state) {
  const BenchText& shared = SharedBenchText();
  for (auto _ : state) benchmark::DoNotOptimize(ZlibCompress(shared.text, 9).data());
  ReportPackedSizes(state, shared);
}
BENCHMARK(BM_ZlibCompressLevel9)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirravel::bench
