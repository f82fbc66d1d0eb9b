// The main window's layout as a whole: every id once, every control inside its parent, no two controls
// of one parent on top of each other, and the page rule.
#include "ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <set>

namespace mirravel {
namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const LayoutRect& inner, int width, int height) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= width && inner.y + inner.height <= height;
}

TEST(MainWindowLayout, EveryControlIdOnceAndFoundById) {
  std::set<int> ids;
  for (const ControlLayout& control : kMainWindowControls) {
    EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " twice";
    ASSERT_NE(FindControlLayout(control.id), nullptr);
    EXPECT_EQ(FindControlLayout(control.id)->caption, control.caption);
  }
  EXPECT_EQ(ids, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(FindControlLayout(12), nullptr);
  EXPECT_EQ(FindControlLayout(-1), nullptr);
}

TEST(MainWindowLayout, ControlsStayInsideTheirParentAndApart) {
  const LayoutRect& panel = FindControlLayout(kTabPanel)->place;
  // The strip of one row of tabs in the default GUI font is about 20 pixels high; allow some spread.
  for (int strip = 18; strip <= 23; ++strip) {
    const LayoutRect page = TabPageRect(panel.width, panel.height, strip);
    for (const ControlLayout& control : kMainWindowControls) {
      const bool inWindow = control.parent == ControlParent::Window;
      const int width = inWindow ? kMainClientWidth : page.width;
      const int height = inWindow ? kMainClientHeight : page.height;
      EXPECT_TRUE(Inside(control.place, width, height)) << "control " << control.id << ", strip " << strip;
    }
  }
  for (const ControlLayout& a : kMainWindowControls) {
    for (const ControlLayout& b : kMainWindowControls) {
      if (&a == &b || a.parent != b.parent) continue;
      EXPECT_FALSE(Overlap(a.place, b.place)) << "controls " << a.id << " and " << b.id;
    }
  }
}

TEST(MainWindowLayout, CreationOrderPutsTheFindFieldAfterTheTabPanel) {
  // The focus starts in the find field and Tab walks in creation order; the field must come after the
  // panel that holds it, and the list after the find controls.
  int position[12] = {};
  for (int i = 0; i < static_cast<int>(kMainWindowControls.size()); ++i) {
    position[kMainWindowControls[static_cast<unsigned>(i)].id] = i;
  }
  EXPECT_LT(position[kTabPanel], position[kFindLabel]);
  EXPECT_LT(position[kFindField], position[kFindButton]);
  EXPECT_LT(position[kFindButton], position[kOnlyValueBox]);
  EXPECT_LT(position[kOnlyValueBox], position[kListView]);
  EXPECT_LT(position[kListView], position[kRegisterButton]);
}

TEST(MainWindowLayout, InitialStates) {
  for (const ControlLayout& control : kMainWindowControls) {
    const bool checkBox = control.kind == ControlKind::CheckBox;
    EXPECT_EQ(control.checked, checkBox) << "both check boxes start checked; control " << control.id;
    EXPECT_EQ(control.disabled, control.id == kHelpButton) << "control " << control.id;
  }
}

TEST(MainWindowLayout, TabPageRule) {
  const LayoutRect page = TabPageRect(425, 275, 20);
  EXPECT_EQ(page.x, 2);
  EXPECT_EQ(page.y, 24);
  EXPECT_EQ(page.width, 421);
  EXPECT_EQ(page.height, 249);
  const LayoutRect twoRows = TabPageRect(425, 275, 40);
  EXPECT_EQ(twoRows.y, 44);
  EXPECT_EQ(twoRows.height, 229);
}

}  // namespace
}  // namespace mirravel
