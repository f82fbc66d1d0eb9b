// mirravel-find: looks constants up in the embedded catalogue from a terminal, with the program's own
// catalogue model and search: the same pattern rules; each hit's whole line, comment (its header) included.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "catalogue/catalogue_text.h"
#include "catalogue/find.h"
#include "data/catalogue_block.h"

namespace mirravel {
namespace {

enum ExitCode : int { kFound = 0, kNothingFound = 1, kNeither = 2, kLoadFailed = 3, kUsage = 4 };

void PrintLine(FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
}

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

  const SearchPattern pattern = BuildSearchPattern(text, !any);
  if (pattern.kind == kFindNeither) {
    PrintLine(stderr, "Text is not a constant nor a value");
    return kNeither;
  }
  const EmbeddedBlock block = CatalogueBlock();
  CatalogueText catalogue;
  if (catalogue.Unpack(block.data, block.size) != CatalogueLoad::Loaded) return kLoadFailed;

  int hits = 0;
  for (FoundEntry entry = FindEntry(catalogue.Text(), pattern, 0); entry.matchPosition >= 0;
       entry = FindEntry(catalogue.Text(), pattern, entry.matchPosition + 1)) {
    PrintLine(stdout, catalogue.LineText(catalogue.LineFromPosition(entry.matchPosition)));
    ++hits;
    if (!all) return kFound;
  }
  if (hits == 0) PrintLine(stderr, std::string(pattern.kindWord) + " not found!");
  return hits > 0 ? kFound : kNothingFound;
}

}  // namespace
}  // namespace mirravel

int main(int argc, char** argv) { return mirravel::Run(argc, argv); }
