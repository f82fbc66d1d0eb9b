// The search model: classification, patterns and the definition part of a line.
#include <gtest/gtest.h>

#include "catalogue/find.h"

namespace mirravel {
namespace {

TEST(ClassifyFindText, NamesValuesAndNeither) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"", kFindName}, {"#WM_PAINT", kFindName}, {"wm_paint", kFindName}, {" 12", kFindName},
      {"-1", kFindName}, {"+5", kFindName}, {"255", kFindValue}, {"$FF", kFindValue}, {"$", kFindValue},
      {"0", kFindValue}, {"$0FF", kFindValue}, {"$ff", kFindNeither}, {"12AB", kFindNeither},
      {"0x10", kFindNeither}, {"$12 ", kFindNeither}, {"$FG", kFindNeither}, {"12$", kFindNeither},
  };
  for (const auto& [text, kind] : cases) EXPECT_EQ(ClassifyFindText(text), kind) << '"' << text << '"';
}

TEST(BuildSearchPattern, NamesGetTheirHashAndEqualsSignValuesBecomeHexadecimal) {
  const struct {
    const char* text;
    bool onlyValue;
    const char* pattern;
  } cases[] = {
      {"WM_PAINT", true, "#WM_PAINT ="}, {"wm_paint", false, "#WM_PAINT"}, {"#wm_paint", true, "#WM_PAINT ="},
      {"#WM_PAINT", false, "#WM_PAINT"}, {"-1", true, "#-1 ="}, {"+5", true, "#+5 ="},
      {" WM_PAINT", true, "# WM_PAINT ="}, {"", true, "# ="}, {"", false, "#"}, {"caf\xe9", false, "#CAF\xC9"},
      {"255", true, "= $FF"}, {"255", false, "$FF"}, {"$FF", true, "= $FF"},
      {"$ff", true, "= $FF"},  // upper-cased before it is classified
      {"$0FF", true, "= $0FF"}, {"0", true, "= $0"}, {"4294967295", false, "$FFFFFFFF"},
      {"4294967296", true, "= $0"}, {"00012", false, "$C"}, {"$", true, "= $"}, {"12AB", true, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildSearchPattern(c.text, c.onlyValue).text, c.pattern) << c.text;
  EXPECT_EQ(BuildSearchPattern("x", true).kindWord, "Constant");
  EXPECT_EQ(BuildSearchPattern("1", true).kindWord, "Value");
  EXPECT_EQ(BuildSearchPattern("12AB", true).kind, kFindNeither);
}

TEST(DefinitionLength, StopsAtTheFirstApostrophe) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"#ABE_BOTTOM = $3 ' Bottom edge.", 17}, {"#YELLOW = $FFFF", 15}, {"#IMAGE_SYM_TYPE_BYTE = $C '", 26}, {"#X = $1' a ' b", 7}};
  for (const auto& [line, length] : cases) EXPECT_EQ(DefinitionLength(line), length) << line;
}

}  // namespace
}  // namespace mirravel
