// Numeric ids of the main window's controls, context-menu items and keyboard shortcuts.
#pragma once

namespace mirravel {

enum ControlId : int {
  kHelpButton = 0,
  kTabPanel = 1,
  kCopyField = 2,
  kAlwaysOnTopBox = 3,
  kCopyButton = 4,
  kFindLabel = 5,
  kFindField = 6,
  kFindButton = 7,
  kListView = 8,
  kRegisterButton = 9,
  kAboutButton = 10,
  kOnlyValueBox = 11,
};

enum MenuId : int {
  kMenuCopyToHost = 1,
  kMenuCopyValueToHost = 2,
  kMenuCopyToClipboard = 3,
  kShortcutReturn = 4,
  kShortcutF3 = 5,
};

inline constexpr int kNoControl = -1;

}  // namespace mirravel
