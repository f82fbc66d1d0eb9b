// Packing time and packed size: catpack against zlib at level 9 on the same catalogue text.
#include <benchmark/benchmark.h>

#include "bench/bench_pack.h"

namespace mirravel::bench {
namespace {

void ReportPackedSizes(benchmark::State& state, const BenchText& shared) {
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(shared.text.size()));
  state.SetLabel(shared.source + ", " + std::to_string(shared.text.size()) + " bytes");
  state.counters["catpack_bytes"] = static_cast<double>(shared.packed.size());
  state.counters["zlib9_bytes"] = static_cast<double>(shared.zlib9.size());
  state.counters["catpack_vs_zlib9"] = static_cast<double>(shared.packed.size()) / static_cast<double>(shared.zlib9.size());
}

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
