// The main window as users see it: title, size, tabs, keyboard shortcuts and every control with its id,
// kind, place, caption, tooltip and initial state, in creation order (which is also the Tab order).
#pragma once

#include <array>
#include <string_view>

#include "ports/control_ids.h"

namespace mirravel {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind { PushButton, CheckBox, TextField, ReadOnlyField, Label, TabPanel, ListView };

// Where a control stands: the window's client area or one of the tab panel's pages.
enum class ControlParent { Window, FindPage, OptionsPage };

struct ControlLayout {
  int id;
  ControlKind kind;
  ControlParent parent;
  LayoutRect place;
  std::string_view caption;
  std::string_view tooltip;  // empty: no tip
  bool checked;
  bool disabled;
};

inline constexpr std::string_view kMainWindowTitle = "Mirravel";
inline constexpr int kMainClientWidth = 425;
inline constexpr int kMainClientHeight = 303;

inline constexpr std::array<std::string_view, 2> kTabCaptions = {"Find constant", "Options"};
inline constexpr int kFindTab = 0;
inline constexpr int kOptionsTab = 1;

struct KeyboardShortcut {
  unsigned virtualKey;
  int menuId;
};

// No modifiers; F3 and Return.
inline constexpr std::array<KeyboardShortcut, 2> kKeyboardShortcuts = {{{0x72, kShortcutF3}, {0x0D, kShortcutReturn}}};

inline constexpr std::array<ControlLayout, 12> kMainWindowControls = {{
    {kAlwaysOnTopBox, ControlKind::CheckBox, ControlParent::Window, {5, 280, 90, 20}, "Always on top", "", true, false},
    {kCopyField, ControlKind::ReadOnlyField, ControlParent::Window, {95, 280, 225, 20}, "", "Constant to copy to jaPBe",
     false, false},
    {kHelpButton, ControlKind::PushButton, ControlParent::Window, {323, 280, 20, 20}, "?", "Win32 help", false, true},
    {kCopyButton, ControlKind::PushButton, ControlParent::Window, {346, 280, 76, 20}, "Copy to jaPBe",
     "Copy constant to jaPBe", false, false},
    {kTabPanel, ControlKind::TabPanel, ControlParent::Window, {0, 0, 425, 275}, "", "", false, false},
    {kFindLabel, ControlKind::Label, ControlParent::FindPage, {8, 13, 80, 15}, "Constant to find :", "", false, false},
    {kFindField, ControlKind::TextField, ControlParent::FindPage, {93, 8, 180, 20}, "", "Constant or value to find",
     false, false},
    {kFindButton, ControlKind::PushButton, ControlParent::FindPage, {353, 8, 60, 20}, "Find [F3]", "Find constant",
     false, false},
    {kOnlyValueBox, ControlKind::CheckBox, ControlParent::FindPage, {278, 8, 75, 20}, "Only value",
     "If checked, only search for value [and not for any occurence in the list]", true, false},
    {kListView, ControlKind::ListView, ControlParent::FindPage, {3, 32, 414, 214}, "", "Constants list", false, false},
    {kRegisterButton, ControlKind::PushButton, ControlParent::OptionsPage, {3, 8, 110, 25}, "Register jaPBe plugin",
     "Add / remove plugin from jaPBe's tools menu and plugin directory", false, false},
    {kAboutButton, ControlKind::PushButton, ControlParent::OptionsPage, {3, 38, 110, 25}, "About ...", "About Mirravel",
     false, false},
}};

// The layout of one control by id; nullptr for an unknown id.
const ControlLayout* FindControlLayout(int id);

// A tab page covers the tab control's client area less the tab strip (stripHeight: one tab's height
// times the number of rows).
LayoutRect TabPageRect(int tabClientWidth, int tabClientHeight, int stripHeight);

}  // namespace mirravel
