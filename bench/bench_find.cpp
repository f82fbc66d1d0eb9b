// Find speed against glibc's memmem on the same text, and the cost of loading the catalogue.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/app_state.h"
#include "catalogue/catalogue_text.h"
#include "catalogue/load_catalogue.h"
#include "data/catalogue_block.h"
#include "ui/inert_window.h"

namespace mirravel {
namespace {

const CatalogueText& LoadedCatalogue() {
  static InertWindow window;
  static bool loaded = [] {
    AppState state;
    const EmbeddedBlock block = CatalogueBlock();
    return LoadCatalogue(block.data, block.size, state, window);
  }();
  if (!loaded) std::abort();
  return window.ListText();
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

// Unpacking into a fresh buffer plus building the list's model, as start-up does.
void BM_LoadCatalogue(benchmark::State& state) {
  const EmbeddedBlock block = CatalogueBlock();
  std::int32_t lines = 0;
  for (auto _ : state) {
    InertWindow window;
    AppState appState;
    if (!LoadCatalogue(block.data, block.size, appState, window)) state.SkipWithError("catalogue did not load");
    lines = appState.lineCount;
    benchmark::DoNotOptimize(window.ListText().Text().data());
  }
  state.counters["lines"] = lines;
  state.counters["text_bytes"] = static_cast<double>(LoadedCatalogue().Length());
}
BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirravel
