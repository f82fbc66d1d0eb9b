// The search model: classification, patterns and the definition part of a line.
#include <gtest/gtest.h>

#include "catalogue/find.h"
#include "catalogue/catalogue_text.h"

namespace mirravel {
namespace {

TEST(ClassifyFindText, NamesValuesAndNeither) {
  struct Case { const char* text; std::int32_t kind; };
  const Case cases[] = {
      {"", kFindName}, {"#WM_PAINT", kFindName}, {"wm_paint", kFindName}, {" 12", kFindName},
      {"-1", kFindName}, {"+5", kFindName}, {"255", kFindValue}, {"$FF", kFindValue}, {"$", kFindValue},
      {"0", kFindValue}, {"$0FF", kFindValue}, {"$ff", kFindNeither}, {"12AB", kFindNeither},
      {"0x10", kFindNeither}, {"$12 ", kFindNeither}, {"$FG", kFindNeither}, {"12$", kFindNeither},
  };
  for (const Case& c : cases) EXPECT_EQ(ClassifyFindText(c.text), c.kind) << '"' << c.text << '"';
}

TEST(BuildSearchPattern, NamesGetTheirHashAndEqualsSign) {
  for (const char* text : {"WM_PAINT", "wm_paint", "#WM_PAINT", "#wm_paint"}) {
    EXPECT_EQ(BuildSearchPattern(text, true).text, "#WM_PAINT =") << text;
    EXPECT_EQ(BuildSearchPattern(text, false).text, "#WM_PAINT") << text;
  }
  EXPECT_EQ(BuildSearchPattern("-1", true).text, "#-1 =");
  EXPECT_EQ(BuildSearchPattern("+5", true).text, "#+5 =");
  EXPECT_EQ(BuildSearchPattern(" WM_PAINT", true).text, "# WM_PAINT =");
  EXPECT_EQ(BuildSearchPattern("", true).text, "# =");
  EXPECT_EQ(BuildSearchPattern("", false).text, "#");
  EXPECT_EQ(BuildSearchPattern("caf\xe9", false).text, "#CAF\xC9");
  EXPECT_EQ(BuildSearchPattern("x", true).kindWord, "Constant");
}

TEST(BuildSearchPattern, ValuesBecomeHexadecimal) {
  EXPECT_EQ(BuildSearchPattern("255", true).text, "= $FF");
  EXPECT_EQ(BuildSearchPattern("255", false).text, "$FF");
  EXPECT_EQ(BuildSearchPattern("$FF", true).text, "= $FF");
  EXPECT_EQ(BuildSearchPattern("$ff", true).text, "= $FF");  // upper-cased before it is classified
  EXPECT_EQ(BuildSearchPattern("$0FF", true).text, "= $0FF");
  EXPECT_EQ(BuildSearchPattern("0", true).text, "= $0");
  EXPECT_EQ(BuildSearchPattern("4294967295", false).text, "$FFFFFFFF");
  EXPECT_EQ(BuildSearchPattern("4294967296", true).text, "= $0");
  EXPECT_EQ(BuildSearchPattern("00012", false).text, "$C");
  EXPECT_EQ(BuildSearchPattern("$", true).text, "= $");
  EXPECT_EQ(BuildSearchPattern("1", true).kindWord, "Value");
  EXPECT_EQ(BuildSearchPattern("12AB", true).kind, kFindNeither);
  EXPECT_EQ(BuildSearchPattern("12AB", true).text, "");
}

TEST(DefinitionLength, StopsAtTheFirstApostrophe) {
  EXPECT_EQ(DefinitionLength("#ABE_BOTTOM = $3 ' Bottom edge."), 17);
  EXPECT_EQ(DefinitionLength("#YELLOW = $FFFF"), 15);
  EXPECT_EQ(DefinitionLength("#IMAGE_SYM_TYPE_BYTE = $C '"), 26);
  EXPECT_EQ(DefinitionLength("#X = $1' a ' b"), 7);
}

}  // namespace
}  // namespace mirravel
