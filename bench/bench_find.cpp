// Find speed against glibc's memmem on the same text, and the cost of loading the catalogue.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/app_state.h"
#include "catalogue/catalogue_text.h"
#include "catalogue/load_catalogue.h"
#include "data/catalogue_block.h"
#include "ui/window_port.h"

namespace mirravel {
namespace {

// Only the list matters while loading; everything else is inert.
class ListOnlyWindow : public WindowPort {
 public:
  std::string GetControlText(int) override { return {}; }
  void SetControlText(int, std::string_view) override {}
  int GetControlState(int) override { return 0; }
  void SetControlState(int, int) override {}
  void DisableControl(int, bool) override {}
  void FocusControl(int) override {}
  int FocusedControl() override { return -1; }
  void SetTitle(std::string_view) override {}
  void SetTopMost(bool) override {}
  int ShowMessageBox(std::string_view, std::string_view, unsigned) override { return 1; }
  CatalogueText& ListText() override { return list; }
  void SelectInList(std::int32_t, std::int32_t) override {}
  void ListTextChanged() override {}
  void ShowContextMenu(const std::array<bool, 3>&) override {}
  void PumpOneMessage() override {}
  WindowEvent FetchEvent() override { return {}; }
  CatalogueText list;
};

const CatalogueText& LoadedCatalogue() {
  static ListOnlyWindow window;
  static bool loaded = [] {
    AppState state;
    const EmbeddedBlock block = CatalogueBlock();
    return LoadCatalogue(block.data, block.size, state, window);
  }();
  if (!loaded) std::abort();
  return window.list;
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
    ListOnlyWindow window;
    AppState appState;
    if (!LoadCatalogue(block.data, block.size, appState, window)) state.SkipWithError("catalogue did not load");
    lines = appState.lineCount;
    benchmark::DoNotOptimize(window.list.Text().data());
  }
  state.counters["lines"] = lines;
  state.counters["text_bytes"] = static_cast<double>(LoadedCatalogue().Length());
}
BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirravel
