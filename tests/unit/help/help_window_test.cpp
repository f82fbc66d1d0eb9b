// The help keyword, the recognition of the help window and the side-by-side arithmetic.
#include <gtest/gtest.h>

#include "fakes/fake_system.h"
#include "help/help_window.h"

namespace mirravel {
namespace {

TEST(HelpKeyword, TakesTheNameBetweenHashAndEqualsWithoutBlanks) {
  struct Case {
    const char* copyField;
    const char* keyword;
  };
  const Case cases[] = {
      {"#WM_PAINT = $F ", "WM_PAINT"},
      {"", ""},
      {"#", ""},
      {"  MB_OK  ", "MB_OK"},
      {"WS_CHILD = $4", "WS_CHILD"},
      {"a#b#c=d=e", "b#c"},
      {"#= $1", ""},
      {"\t#SW_SHOW\t", "SW_SHOW\t"},
  };
  for (const Case& c : cases) EXPECT_EQ(HelpKeyword(c.copyField), c.keyword) << c.copyField;
}

TEST(FindHelpWindow, TakesTheFirstWindowWhoseTitleHoldsTheHelpTitle) {
  struct Case {
    const char* name;
    std::vector<std::pair<WindowHandle, std::string>> windows;  // in enumeration order (by handle)
    WindowHandle found;
  };
  const Case cases[] = {
      {"none", {{1, "Mirravel"}}, 0},
      {"exact title", {{1, "Mirravel"}, {2, "Win32 Programmer's Reference"}}, 2},
      {"inside another program's title",
       {{3, "Notes - Win32 Programmer's Reference - 2"}, {4, "Win32 Programmer's Reference"}},
       3},
      {"case differs", {{5, "WIN32 PROGRAMMER'S REFERENCE"}}, 0},
      {"beyond the 249 characters read", {{6, std::string(230, 'x') + "Win32 Programmer's Reference"}}, 0},
  };
  for (const Case& c : cases) {
    testing::FakeDesktop desktop;
    for (const auto& [handle, title] : c.windows) desktop.windows[handle].title = title;
    EXPECT_EQ(FindHelpWindow(desktop), c.found) << c.name;
  }
}

TEST(HelpWindowPlacement, FillsTheWorkAreaRightOfMirravel) {
  struct Case {
    ScreenRect workArea;
    std::int32_t clientWidth;
    std::int32_t frame;
    std::int32_t x, width, height;
  };
  const Case cases[] = {
      {{0, 0, 1024, 740}, 425, 3, 431, 593, 740},
      {{100, 30, 1124, 770}, 425, 3, 431, 593, 740},  // the work area's corner is not added
      {{0, 0, 1024, 768}, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF - 1, 768},  // clamped, not wrapped
  };
  for (const Case& c : cases) {
    const WindowPlacement placed = HelpWindowPlacement(c.workArea, c.clientWidth, c.frame);
    EXPECT_EQ(placed.x, c.x);
    EXPECT_EQ(placed.y, 0);
    EXPECT_EQ(placed.width, c.width);
    EXPECT_EQ(placed.height, c.height);
  }
}

}  // namespace
}  // namespace mirravel
