// The search model: the list's text model (line breaks as one character, the line index, the selection
// and the scan), the classification of find texts and their patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "catalogue/catalogue_text.h"
#include "catalogue/find.h"

namespace mirravel {
namespace {

CatalogueText Assigned(std::string_view source) {
  CatalogueText text;
  text.Assign(source);
  return text;
}

std::string RandomText(std::mt19937& random, std::size_t maxLength, const std::string& alphabet) {
  std::string text(random() % maxLength, ' ');
  for (char& c : text) c = alphabet[random() % alphabet.size()];
  return text;
}

TEST(CatalogueText, LinePassMakesEachBreakOneCharacterEndsAtAZeroByteIndexesTheLinesAndSelects) {
  std::vector<std::string> sources = {"#A = $1\r\n#BB = $2 ' two\r\n", "a\nb\rc\r\r\n\r\nd", "", "\n"};
  // Long runs and dense breaks reach every offset of the vector pass and every gap between its reads and writes.
  std::mt19937 random(7);
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int round = 0; round < 300; ++round) {
    sources.push_back(RandomText(random, 400, letters.substr(0, 1 + random() % 60) + "\r\n" + std::string(round % 8 == 0, '\0')));
  }
  for (const std::string& source : sources) {
    const std::string cut = source.substr(0, source.find('\0'));
    std::string stored;
    for (std::size_t i = 0; i < cut.size(); ++i) {
      if (cut.compare(i, 2, "\r\n") != 0) stored += cut[i] == '\r' ? '\n' : cut[i];
    }
    const CatalogueText text = Assigned(source);
    ASSERT_EQ(text.Text(), stored);
    std::string lines;  // a final line break opens no line
    std::size_t longest = 0;
    for (std::int32_t line = 0; line < text.LineCount(); ++line) {
      lines += std::string(line > 0 ? "\n" : "") + std::string(text.LineText(line));
      longest = std::max(longest, text.LineText(line).size());
    }
    ASSERT_EQ(lines + (stored.empty() || stored.back() != '\n' ? "" : "\n"), stored);
    ASSERT_EQ(text.LongestLineLength(), static_cast<std::int32_t>(longest)) << stored;
  }
  CatalogueText selected = Assigned("hello\r\nworld\r\n");  // the selection is clamped and ordered
  selected.Select(8, 2);
  EXPECT_EQ(std::make_pair(selected.Anchor(), selected.Caret()), std::make_pair(8, 2));
  EXPECT_EQ(selected.SelectedText(), "llo\nwo");
  selected.Select(-5, 500);
  EXPECT_EQ(selected.SelectedText(), selected.Text());
  selected.Assign("x");
  EXPECT_EQ(selected.SelectionEnd(), 0);  // new text, no selection
}

TEST(CatalogueTextFind, IgnoresCaseHonoursWordBoundariesAtBothEndsAndAgreesWithANaiveScan) {
  // The scan itself, case folding of ASCII letters included, is pinned by the naive scan below.
  const CatalogueText text = Assigned("#wm_Paint = $f\r\n#CAF\xC9 = $1\r\n#A = $FF\r\n#B = $F ' x\r\n");
  const std::int32_t a = text.LineStart(2), b = text.LineStart(3);
  const struct { const char* pattern; std::int32_t from; bool wholeWord; std::int32_t found; } cases[] = {
      {"#CAF\xE9", 0, false, 15},  // Western letters too
      {"= $F", a, true, b + 3},    // not inside "= $FF"; before a blank
      {"A = $", a, true, a + 1},   // pattern edges that are not word characters never join
      {"F", a, true, b + 6},       // the Fs of "$FF" join each other; "$F " stands alone
      {"AINT", 0, true, -1},       // "P" before it joins
  };
  for (const auto& k : cases) EXPECT_EQ(text.Find(k.pattern, k.from, k.wholeWord), k.found) << k.pattern << ' ' << k.from;

  // Random texts over a tiny alphabet make many near-misses at every offset of the vector loop.
  std::mt19937 random(12345);
  const auto same = [](char x, char y) { return (x | 0x20) == (y | 0x20); };
  for (int round = 0; round < 200; ++round) {
    const CatalogueText sample = Assigned(RandomText(random, 300, "aAbB_= $\r\n"));
    const std::string stored(sample.Text());
    const std::string pattern = RandomText(random, 3, "abAB_= $") + "abAB_= $"[random() % 8];
    for (int from = 0; from <= sample.Length(); from += 7) {
      const auto at = std::search(stored.begin() + from, stored.end(), pattern.begin(), pattern.end(), same);
      const std::int32_t expected = at == stored.end() ? -1 : static_cast<std::int32_t>(at - stored.begin());
      ASSERT_EQ(sample.Find(pattern, from, false), expected) << "pattern '" << pattern << "' from " << from;
    }
  }
}

TEST(FindText, IsClassifiedAsNameValueOrNeitherAndBecomesItsSearchPattern) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"", kFindName}, {"wm_paint", kFindName}, {" 12", kFindName}, {"-1", kFindName}, {"255", kFindValue},
      {"$FF", kFindValue}, {"$", kFindValue}, {"$0FF", kFindValue}, {"$ff", kFindNeither}, {"12AB", kFindNeither},
      {"0x10", kFindNeither}, {"$12 ", kFindNeither}, {"$FG", kFindNeither},
  };
  for (const auto& [text, kind] : cases) EXPECT_EQ(ClassifyFindText(text), kind) << '"' << text << '"';
  // Names get their hash, and "=" when only the value follows; values become hexadecimal.
  const struct { const char* text; bool onlyValue; const char* pattern; } patterns[] = {
      {"WM_PAINT", true, "#WM_PAINT ="}, {"wm_paint", false, "#WM_PAINT"}, {"#wm_paint", true, "#WM_PAINT ="},
      {" WM_PAINT", true, "# WM_PAINT ="}, {"caf\xe9", false, "#CAF\xC9"}, {"255", false, "$FF"},
      {"$ff", true, "= $FF"},  // upper-cased before it is classified
      {"$0FF", true, "= $FF"}, {"$000", false, "$0"}, {"$", false, "$"}, {"4294967296", true, "= $100000000"},
      {"18446744073709551615", false, "$FFFFFFFFFFFFFFFF"}, {"18446744073709551616", true, ""}, {"12AB", true, ""},
  };
  for (const auto& c : patterns) EXPECT_EQ(BuildSearchPattern(c.text, c.onlyValue).text, c.pattern) << c.text;
}

}  // namespace
}  // namespace mirravel
