// The main window's layout as a whole: every id once, every control inside its parent, no two controls
// of one parent on top of each other, the Tab order's needs and the page rule.
#include "ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace mirravel {
namespace {

TEST(MainWindowLayout, EveryControlIdOnceInsideItsParentApartFromTheOthers) {
  std::set<int> ids;
  for (const ControlLayout& control : kMainWindowControls) {
    EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " twice";
    EXPECT_EQ(FindControlLayout(control.id), &control);
  }
  EXPECT_EQ(ids, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(FindControlLayout(12), nullptr);
  const auto overlap = [](const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
  };
  const LayoutRect& panel = FindControlLayout(kTabPanel)->place;
  // The strip of one row of tabs in the default GUI font is about 20 pixels high; allow some spread.
  for (int strip = 18; strip <= 23; ++strip) {
    const LayoutRect page = TabPageRect(panel.width, panel.height, strip);
    for (const ControlLayout& c : kMainWindowControls) {
      const bool inWindow = c.parent == ControlParent::Window;
      const LayoutRect r = c.place;
      EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= (inWindow ? kMainClientWidth : page.width) &&
                  r.y + r.height <= (inWindow ? kMainClientHeight : page.height))
          << "control " << c.id << ", strip " << strip;
    }
  }
  for (const ControlLayout& a : kMainWindowControls) {
    for (const ControlLayout& b : kMainWindowControls) {
      EXPECT_TRUE(&a == &b || a.parent != b.parent || !overlap(a.place, b.place)) << "controls " << a.id << " and " << b.id;
    }
  }
}

TEST(MainWindowLayout, CreationOrderAndTabPageRule) {
  // The focus starts in the find field and Tab walks in creation order; the field must come after the
  // panel that holds it, and the list after the find controls.
  const std::vector<int> chain = {kTabPanel, kFindField, kFindButton, kOnlyValueBox, kListView, kRegisterButton};
  std::vector<int> order;
  for (const ControlLayout& control : kMainWindowControls) {
    if (std::count(chain.begin(), chain.end(), control.id) != 0) order.push_back(control.id);
  }
  EXPECT_EQ(order, chain);
  for (const auto& [strip, y, height] : {std::tuple{20, 24, 249}, {40, 44, 229}}) {
    const LayoutRect page = TabPageRect(425, 275, strip);
    EXPECT_EQ(std::tuple(page.x, page.y, page.width, page.height), std::tuple(2, y, 421, height)) << strip;
  }
}

}  // namespace
}  // namespace mirravel
