// Find speed against glibc's memmem on the same text, and the cost of loading the catalogue.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "catalogue/catalogue_text.h"
#include "data/catalogue_block.h"

namespace mirravel {
namespace {

const CatalogueText& LoadedCatalogue() {
  static const CatalogueText text = [] {
    const EmbeddedBlock block = CatalogueBlock();
    CatalogueText loaded;
    if (loaded.Unpack(block.data, block.size) != CatalogueLoad::Loaded) std::abort();
    return loaded;
  }();
  return text;
}

// Patterns that occur nowhere, so both scans cover the whole text.
constexpr const char* kMissingName = "#NO_SUCH_CONSTANT_ANYWHERE =";
constexpr const char* kMissingValue = "= $DEADBEE1";

void FindWholeText(benchmark::State& state, const char* pattern, bool wholeWord) {
  const CatalogueText& text = LoadedCatalogue();
  for (auto _ : state) benchmark::DoNotOptimize(text.Find(pattern, 0, wholeWord));
  state.SetBytesProcessed(state.iterations() * text.Length());
}

void MemmemWholeText(benchmark::State& state, const char* pattern) {
  const CatalogueText& text = LoadedCatalogue();
  const std::string_view haystack = text.Text();
  const std::size_t length = std::strlen(pattern);
  for (auto _ : state) benchmark::DoNotOptimize(memmem(haystack.data(), haystack.size(), pattern, length));
  state.SetBytesProcessed(state.iterations() * text.Length());
}

void BM_FindMissingName(benchmark::State& state) { FindWholeText(state, kMissingName, true); }
void BM_MemmemMissingName(benchmark::State& state) { MemmemWholeText(state, kMissingName); }
void BM_FindMissingValue(benchmark::State& state) { FindWholeText(state, kMissingValue, true); }
void BM_MemmemMissingValue(benchmark::State& state) { MemmemWholeText(state, kMissingValue); }
BENCHMARK(BM_FindMissingName);
BENCHMARK(BM_MemmemMissingName);
BENCHMARK(BM_FindMissingValue);
BENCHMARK(BM_MemmemMissingValue);

// Loading as start-up does: decoding into a fresh buffer that the list's model keeps, then its line pass.
// BM_UnpackBlock is the decoding alone, into a buffer already in memory.
void BM_LoadCatalogue(benchmark::State& state) {
  const EmbeddedBlock block = CatalogueBlock();
  std::int32_t lines = 0;
  for (auto _ : state) {
    CatalogueText text;
    if (text.Unpack(block.data, block.size) != CatalogueLoad::Loaded) state.SkipWithError("catalogue did not load");
    lines = text.LineCount();
    benchmark::DoNotOptimize(text.Text().data());
  }
  state.counters["lines"] = lines;
  state.counters["text_bytes"] = static_cast<double>(LoadedCatalogue().Length());
}
BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirravel
