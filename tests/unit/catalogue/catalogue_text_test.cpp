// The list's text model: line breaks as one character, the line index, the selection and the scan.
#include <gtest/gtest.h>

#include <random>

#include "catalogue/catalogue_text.h"

namespace mirravel {
namespace {

TEST(CatalogueText, StoresEachLineBreakAsOneCharacter) {
  CatalogueText text;
  text.Assign("#A = $1\r\n#BB = $2 ' two\r\n");
  EXPECT_EQ(text.Text(), "#A = $1\n#BB = $2 ' two\n");
  EXPECT_EQ(text.Length(), 23);
  EXPECT_EQ(text.LineCount(), 2);  // the empty line after the final break is not counted
  EXPECT_EQ(text.LineStart(1), 8);
  EXPECT_EQ(text.LineText(0), "#A = $1");
  EXPECT_EQ(text.LineText(1), "#BB = $2 ' two");
  EXPECT_EQ(text.LongestLineLength(), 14);
}

TEST(CatalogueText, AcceptsLfCrAndMixedLineEnds) {
  CatalogueText text;
  text.Assign("a\nb\rc\r\n\r\nd");
  EXPECT_EQ(text.Text(), "a\nb\nc\n\nd");
  ASSERT_EQ(text.LineCount(), 5);
  EXPECT_EQ(text.LineText(3), "");
  EXPECT_EQ(text.LineText(4), "d");
  EXPECT_EQ(text.LongestLineLength(), 1);
}

TEST(CatalogueText, EmptyTextHasOneEmptyLine) {
  CatalogueText text;
  text.Assign("");
  EXPECT_EQ(text.LineCount(), 1);
  EXPECT_EQ(text.LineText(0), "");
  EXPECT_EQ(text.LineFromPosition(5), 0);
  EXPECT_EQ(text.Find("a", 0, false), -1);
}

TEST(CatalogueText, LineFromPositionClampsAndCountsTheBreakToItsLine) {
  CatalogueText text;
  text.Assign("ab\r\ncd\r\nef");
  EXPECT_EQ(text.LineFromPosition(-3), 0);
  EXPECT_EQ(text.LineFromPosition(2), 0);  // the break itself belongs to the line it ends
  EXPECT_EQ(text.LineFromPosition(3), 1);
  EXPECT_EQ(text.LineFromPosition(7), 2);
  EXPECT_EQ(text.LineFromPosition(1000), 2);
  EXPECT_EQ(text.LineStart(99), 6);
  EXPECT_EQ(text.LineText(-1), "");
  EXPECT_EQ(text.LineText(3), "");
}

TEST(CatalogueText, SelectionIsClampedAndOrdered) {
  CatalogueText text;
  text.Assign("hello\r\nworld\r\n");
  text.Select(8, 2);
  EXPECT_EQ(text.Anchor(), 8);
  EXPECT_EQ(text.Caret(), 2);
  EXPECT_EQ(text.SelectionStart(), 2);
  EXPECT_EQ(text.SelectedText(), "llo\nwo");
  text.Select(-5, 500);
  EXPECT_EQ(text.SelectedText(), text.Text());
  text.Assign("x");
  EXPECT_EQ(text.SelectionEnd(), 0);  // new text, no selection
}

TEST(CatalogueTextFind, IgnoresCaseIncludingWesternLetters) {
  CatalogueText text;
  text.Assign("#wm_Paint = $f\r\n#CAF\xC9 = $1\r\n");
  EXPECT_EQ(text.Find("#WM_PAINT =", 0, false), 0);
  EXPECT_EQ(text.Find("= $F", 0, false), 10);
  EXPECT_EQ(text.Find("#CAF\xE9", 0, false), 15);
  EXPECT_EQ(text.Find("#WM_PAINT", 1, false), -1);
  EXPECT_EQ(text.Find("", 0, false), -1);
  EXPECT_EQ(text.Find("x", -1, false), -1);
  EXPECT_EQ(text.Find("x", 10000, false), -1);
}

TEST(CatalogueTextFind, WholeWordRespectsBoundariesAtBothEnds) {
  CatalogueText text;
  text.Assign("#A = $FF\r\n#B = $F ' x\r\n#C = ($F)\r\n#D = $F\r\n");
  const auto lineOf = [&](std::int32_t position) { return text.LineFromPosition(position); };
  EXPECT_EQ(lineOf(text.Find("= $F", 0, true)), 1);  // not inside "= $FF"; before a blank
  EXPECT_EQ(text.Find("= $F", 0, false), 3);        // without the rule it matches inside $FF
  EXPECT_EQ(lineOf(text.Find("$F", text.LineStart(2), true)), 2);  // before ")"
  EXPECT_EQ(lineOf(text.Find("= $F", text.LineStart(3), true)), 3);  // at the line break / text end
  EXPECT_EQ(text.Find("A = $", 0, true), 1);        // pattern edges that are not word characters never join
  EXPECT_EQ(text.Find("#A", 0, true), 0);
  EXPECT_EQ(text.Find("A", 0, true), 1);
  EXPECT_EQ(lineOf(text.Find("F", 0, true)), 1);    // the Fs of "$FF" join each other; "$F " stands alone
}

TEST(CatalogueTextFind, AgreesWithANaiveScanOnRandomText) {
  // Random texts over a tiny alphabet make many near-misses at every offset of the vector loop.
  std::mt19937 random(12345);
  const std::string alphabet = "aAbB_= $\r\n";
  for (int round = 0; round < 200; ++round) {
    std::string source(static_cast<std::size_t>(random() % 300), ' ');
    for (char& c : source) c = alphabet[random() % alphabet.size()];
    CatalogueText text;
    text.Assign(source);
    const std::string& stored = std::string(text.Text());
    std::string pattern(1 + random() % 3, ' ');
    for (char& c : pattern) c = "abAB_= $"[random() % 8];
    for (int from = 0; from <= text.Length(); from += 7) {
      std::int32_t expected = -1;
      for (std::size_t at = static_cast<std::size_t>(from); at + pattern.size() <= stored.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < pattern.size() && same; ++i) {
          same = (stored[at + i] | 0x20) == (pattern[i] | 0x20) && (stored[at + i] == pattern[i] ||
                 (std::isalpha(static_cast<unsigned char>(pattern[i])) != 0));
        }
        if (same) { expected = static_cast<std::int32_t>(at); break; }
      }
      ASSERT_EQ(text.Find(pattern, from, false), expected) << "pattern '" << pattern << "' from " << from;
    }
  }
}

}  // namespace
}  // namespace mirravel
