// mirravel-find: looks constants up in the embedded catalogue from a terminal, with the window's own
// loading and find code behind a console stand-in for the window.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "catalogue/find.h"
#include "catalogue/load_catalogue.h"
#include "data/catalogue_block.h"
#include "ui/control_ids.h"
#include "ui/inert_window.h"

namespace mirravel {
namespace {

enum ExitCode : int { kFound = 0, kNothingFound = 1, kNeither = 2, kLoadFailed = 3, kUsage = 4 };

// Messages go to standard error; every selection the search makes is printed as one line.
class ConsoleWindow : public InertWindow {
 public:
  ConsoleWindow(bool onlyValue, bool quietWhenExhausted) : onlyValue_(onlyValue), quietWhenExhausted_(quietWhenExhausted) {}

  int GetControlState(int id) override { return id == kOnlyValueBox && onlyValue_ ? 1 : 0; }
  int ShowMessageBox(std::string_view, std::string_view text, unsigned) override {
    if (text == kNeitherMessage) sawNeither = true;
    if (!(quietWhenExhausted_ && text == kNoMoreMessage)) std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    return 1;
  }
  void SelectInList(std::int32_t start, std::int32_t end) override {
    InertWindow::SelectInList(start, end);
    const std::string_view selected = ListText().SelectedText();
    std::fwrite(selected.data(), 1, selected.size(), stdout);
    std::fputc('\n', stdout);
  }

  bool sawNeither = false;

 private:
  bool onlyValue_;
  bool quietWhenExhausted_;
};

int PrintUsage() {
  std::fputs(
      "usage: mirravel-find [--any] [--all] TEXT\n"
      "  TEXT    a constant name (with or without \"#\") or a value (decimal, or \"$\" and upper-case hex)\n"
      "  --any   also match inside longer names, expressions and comments (not only whole definitions)\n"
      "  --all   print every hit in order, not only the first\n"
      "exit status: 0 found, 1 not found, 2 TEXT is neither a name nor a value, 3 catalogue damaged, 4 usage\n",
      stderr);
  return kUsage;
}

int Run(int argc, char** argv) {
  bool any = false;
  bool all = false;
  const char* text = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--any") {
      any = true;
    } else if (argument == "--all") {
      all = true;
    } else if (argument == "--help" || argument == "-h" || text != nullptr) {
      return PrintUsage();
    } else {
      text = argv[i];
    }
  }
  if (text == nullptr) return PrintUsage();

  ConsoleWindow window(!any, all);
  AppState state;
  const EmbeddedBlock block = CatalogueBlock();
  if (!LoadCatalogue(block.data, block.size, state, window)) return kLoadFailed;

  int hits = 0;
  while (FindConstant(text, state, window) == 1) {
    if (window.sawNeither) return kNeither;
    ++hits;
    if (!all) break;
  }
  return hits > 0 ? kFound : kNothingFound;
}

}  // namespace
}  // namespace mirravel

int main(int argc, char** argv) { return mirravel::Run(argc, argv); }
