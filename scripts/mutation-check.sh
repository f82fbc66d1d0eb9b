#!/usr/bin/env bash
# Applies deliberate faults to the program, one at a time, and shows whether the tests catch each. A fault
# names the tests that should catch it: the unit tests (native build, and the same tests under the
# sanitizers with --sanitize), the harvester's tests, or end-to-end suites of the x86_64 Windows build under
# Wine (the fault is patched in, the build relinked, the named suites run). Not part of the default test
# command: it rebuilds once per fault (about 15 minutes for every fault).
# Usage: scripts/mutation-check.sh [--sanitize] [--unit-only] [NAME_FILTER...]
# Prints one table row per fault; exits 1 when a fault survived.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [[ " $* " != *" --unit-only "* ]]; then
  source scripts/wine-env.sh
  wine_detect_32bit
  wine_env_start "$root/build/mutation-wine" || { echo "no Wine environment: $WINE_ENV_FAILURE"; exit 1; }
  trap wine_env_stop EXIT
fi
python3 - "$@" <<'PYTHON'
import os, shutil, subprocess, sys

ROOT = os.getcwd()
# name, file, exact text (must occur once), replacement[, the tests that catch it: UNIT (default),
# HARVEST, or a regular expression of the x86_64 build's ctest names]
UNIT, HARVEST = "unit", "harvest"
FAULTS = [
    ("decoder: copy offset not bounded by what was written", "catalogue/unpack_block.cpp",
     "if (offset == 0 || offset > written || length > room) return false;",
     "if (offset == 0 || (false && offset > written) || length > room) return false;"),
    ("decoder: checksum not compared", "catalogue/unpack_block.cpp",
     "if (checksum != 0 && BlockChecksum(destination, unpackedSize) != checksum) return 0;",
     "if (checksum == 0 && BlockChecksum(destination, unpackedSize) != checksum) return 0;"),
    ("decoder: a copy longer than the room left", "catalogue/unpack_block.cpp",
     "if (offset == 0 || offset > written || length > room) return false;",
     "if (offset == 0 || offset > written || (false && length > room)) return false;"),
    ("decoder: what the stream left unwritten not zeroed", "catalogue/unpack_block.cpp",
     "  std::memset(destination + decoder.Written(), 0, limit - decoder.Written());\n", ""),
    ("line index: CR LF read as two line breaks", "catalogue/line_index.cpp",
     "if (byte == '\\r' && in < length && text[in] == '\\n') ++in;", ""),
    ("line index: lone CR no line break in the plain pass", "catalogue/line_index.cpp",
     "static bool IsSpecial(char byte) { return byte == '\\r' ||", "static bool IsSpecial(char byte) { return false ||"),
    ("line index: vector pass keeps a clean chunk in place when a little behind", "catalogue/line_index.cpp",
     "if (gap != 0) _mm_storeu_si128(", "if (gap >= 16) _mm_storeu_si128("),
    ("find: whole-word test ignores the start of the match", "catalogue/catalogue_text.cpp",
     "const bool startJoins = at > 0", "const bool startJoins = false && at > 0"),
    ("find: whole-word test ignores the end of the match", "catalogue/catalogue_text.cpp",
     "const bool endJoins = end < text.size()", "const bool endJoins = false && end < text.size()"),
    ("find: value classification accepts G", "catalogue/find.cpp",
     "return c >= 'A' && c <= 'F';", "return c >= 'A' && c <= 'G';"),
    ("find: leading zeros of a hexadecimal value kept", "catalogue/find.cpp",
     "text = text.front() == '$' ? WithoutLeadingZeros(text) : DecimalToHexValue(text);",
     "text = text.front() == '$' ? WithoutLeadingZeros(\"$\") + text.substr(1) : DecimalToHexValue(text);"),
    ("find: a decimal value beyond 64 bits wraps", "catalogue/find.cpp",
     "if (value > (kLargest - digit) / 10u) return {};", "if (false && value > kLargest) return {};"),
    ("find-next: next search starts at the hit itself", "app/find_flow.cpp",
     "state.findNextPosition = entry.matchPosition + 1;", "state.findNextPosition = entry.matchPosition;"),
    ("find-next: position not reset after the last hit", "app/find_flow.cpp",
     "    state.findNextPosition = 0;\n    FocusIfShown(window, kFindField);\n    return 0;",
     "    FocusIfShown(window, kFindField);\n    return 0;"),
    ("focus: moved into the find field on the hidden page", "ui/control_focus.cpp",
     "  if (IsControlShown(window, id)) window.FocusControl(id);", "  window.FocusControl(id);"),
    ("focus: not given back on activation", "app/application.cpp",
     "FocusIfShown(*window_, focusWhenDeactivated_ == kNoControl ? kFindField : focusWhenDeactivated_);",
     "FocusIfShown(*window_, kFindField);"),
    ("start-up: what the user typed or clicked during the wait not read back", "app/application.cpp",
     "  StartHostLink(state_, platform_, *window_);\n  CatchUpWithControls();\n",
     "  StartHostLink(state_, platform_, *window_);\n"),
    ("packer: one-byte copy offset written without its bias", "tools/catpack/packer.cpp",
     "out_.Put(code.offset + 1, 4);", "out_.Put(code.offset, 4);"),
    ("packer: zero bytes never coded as such", "tools/catpack/parse.cpp",
     "Offer(at + 1, here + kShortCodeBits, {CodeKind::kZeroByte, 1, 0}, last);", ""),
    ("rust evaluation: a cast zero-extends its operand", "tools/harvest/harvestlib/rusteval.py",
     "value, _, _ = self.Evaluate(tree[1], None if target is POINTER else target)\n            return Wrap(value, target)",
     "value, source, _ = self.Evaluate(tree[1], None if target is POINTER else target)\n"
     "            return Wrap(value & ((1 << source[0]) - 1), target)", HARVEST),
    ("rust evaluation: shifts bind tighter than + and -", "tools/harvest/harvestlib/rusteval.py",
     '"<<": 9, ">>": 9', '"<<": 11, ">>": 11', HARVEST),
    ("rust evaluation: a literal's type suffix ignored", "tools/harvest/harvestlib/rusteval.py",
     "return value, PRIMITIVES[match.group(2)] if match.group(2) else None", "return value, None", HARVEST),
    ("selection pick-up: 199 characters no longer picked up", "app/application.cpp",
     "length <= kLongestPickedSelection", "length < kLongestPickedSelection"),
    ("selection pick-up: comment not cut", "app/application.cpp",
     "    picked = picked.substr(0, picked.find('\\''));\n", ""),
    ("preference reader: group names compared with case", "support/preference_reader.cpp",
     "if (EqualIgnoringAsciiCase(HeaderNameAt(line), groupName)) {", "if (HeaderNameAt(line) == groupName) {"),
    ("preference reader: keys of the next group read", "support/preference_reader.cpp",
     "    if (text_[line] == '[') return std::nullopt;\n", ""),
    ("host protocol: replies accepted from any window", "host/host_link.cpp",
     "if (pluginMode_ != 1 || hostWindow_ == 0 || !fromHost) return false;",
     "if (pluginMode_ != 1 || hostWindow_ == 0 || (false && !fromHost)) return false;"),
    ("host protocol: reply wait ignores its deadline", "host/host_link.cpp",
     "    if (IsTickPast(clock.TickCount(), deadline)) return;",
     "    if (IsTickPast(clock.TickCount(), deadline + 50000)) return;"),
    ("host protocol: closing notice without the focus hand-over", "host/host_link.cpp",
     "  desktop.SetFocusTo(hostWindow_);\n", ""),
    ("start-up word: underscore ends the name", "host/search_word.cpp",
     "return folded == 0x7F ||", "return false ||"),
    ("copy value only: not trimmed", "host/copy_menu.cpp",
     "return Trim(text.substr(equals + 1));", "return std::string(text.substr(equals + 1));"),
    ("help placement: one frame instead of two", "help/help_window.cpp",
     "std::int64_t{mainClientWidth} + 2 * std::int64_t{frameWidth}", "std::int64_t{mainClientWidth} + std::int64_t{frameWidth}"),
    ("help placement: height from the work area's bottom only", "help/help_window.cpp",
     "const std::int64_t workHeight = std::int64_t{workArea.bottom} - workArea.top;",
     "const std::int64_t workHeight = std::int64_t{workArea.bottom};"),
    ("tools-file rewrite: later tool headers numbered one too high", "registration/tools_file_rewrite.cpp",
     "kept.push_back(IsToolGroupName(*name) ? Renumbered(line, ++toolHeaders) : line);",
     "kept.push_back(IsToolGroupName(*name) ? Renumbered(line, ++toolHeaders + 1) : line);"),
    ("tools-file rewrite: a failed line write goes unnoticed", "registration/tools_file_rewrite.cpp",
     "    if (!file->WriteLine(line)) {", "    if (!file->WriteLine(line) && false) {"),
    ("tools-file rewrite: temporary file left after a failed move", "registration/tools_file_rewrite.cpp",
     "  if (files.MoveReplacing(temporary, path)) return true;\n  files.RemoveFile(temporary);\n",
     "  if (files.MoveReplacing(temporary, path)) return true;\n"),
    ("tools-file rewrite: no ToolCount line added below a ToolsInfo header without one", "registration/tools_file_rewrite.cpp",
     "if (belowToolsInfo && !toolCount.Rewritten()) {", "if (false && belowToolsInfo && !toolCount.Rewritten()) {"),
    ("tools-file rewrite: no ToolsInfo group added to a file without one", "registration/tools_file_rewrite.cpp",
     "} else if (!belowToolsInfo) {", "} else if (false) {"),
    ("tools-file rewrite: an added entry numbered 1 beside uncounted tool groups", "registration/tools_file_rewrite.cpp",
     "toolCount.Rewritten() ? newCount : toolGroups + 1;", "toolCount.Rewritten() ? newCount : 1 + 0 * toolGroups;"),
    ("unregister: entry 1 removed instead of the one naming Mirravel in the rewritten text", "registration/tools_file_rewrite.cpp",
     "WithoutToolEntry(SplitLines(*bytes), scan.found, scan.count - 1)", "WithoutToolEntry(SplitLines(*bytes), 1, scan.count - 1)"),
    ("unregister: an entry gone meanwhile reported as a failed rewrite", "app/registration_flow.cpp",
     "        Show(kNoLongerRegistered);", "        Show(kNotUninstalled);"),
    ("copy removal: a copy still there reported as removed", "app/registration_flow.cpp",
     "return QueryFileSize(pluginCopy) == kPathMissing ? CopyRemoval::Gone : CopyRemoval::StillThere;",
     "return CopyRemoval::Gone;"),
    ("copy removal: an unwritten batch reported as removing the copy", "app/registration_flow.cpp",
     "if (!WriteRemovalBatch(files, batch, files.ShortPathOf(pluginCopy))) return CopyRemoval::StillThere;",
     "if (!WriteRemovalBatch(files, batch, files.ShortPathOf(pluginCopy))) return CopyRemoval::Gone;"),
    ("removal batch: no bound on its tries", "registration/removal_batch.cpp",
     '" IF %MVTRIES% LSS " + std::to_string(kRemovalBatchTries) + " GOTO EXISTS"', '" GOTO EXISTS"'),
    ("removal batch: no pause between tries", "registration/removal_batch.cpp", '          "PING -n 2 127.0.0.1 > NUL",\n', ""),
    ("removal batch: written in the ANSI code page", "registration/removal_batch.cpp",
     "    line = std::move(*converted);\n", ""),
    ("removal batch: a path the code page cannot spell written anyway", "registration/removal_batch.cpp",
     "if (!converted) return false;", "if (!converted) continue;"),
    ("version test: bits 16 to 23 taken for the NT mark", "support/registry_text.cpp",
     "return (version & 0x80000000u) == 0;", "return ((version >> 16) & 0xFFu) != 0;"),
    ("registration state: a zero-byte plug-in copy taken for Auto", "registration/registration_state.cpp",
     ".pluginCopy) > 0) return \"Auto\";", ".pluginCopy) >= 0) return \"Auto\";"),
    ("jaPBe directory: a path that is no directory ends the lookup", "registration/japbe_directory.cpp",
     "return !candidate.empty() && QueryFileSize(candidate) == kPathIsDirectory;", "return !candidate.empty();"),
    ("register: no refusal while jaPBe runs", "app/registration_flow.cpp",
     "if (platform.Desktop().HasTopLevelWindowTitled(kHostWindowTitle)) {",
     "if (false && platform.Desktop().HasTopLevelWindowTitled(kHostWindowTitle)) {"),
    ("copy alone: reported installed without a copy", "app/registration_flow.cpp",
     "Show(PlaceCopy() ? kInstalled : kNotRegistered);", "Show(kInstalled);"),
    ("help keyword: the hash kept", "help/help_window.cpp",
     "keyword.remove_prefix(hash + 1);", "keyword.remove_prefix(hash);"),
    ("help file: an empty help file taken", "help/help_file.cpp",
     "return QueryFileSize(path) > 0 ? path : std::string();", "return QueryFileSize(path) >= 0 ? path : std::string();"),
    ("help lookup: the user key read although the application key named a directory", "help/help_file.cpp",
     "    if (candidate.empty()) {\n", "    if (true) {\n"),
    ("help time-out: the wait runs a second longer", "app/help_flow.cpp",
     "IsTickPast(clock.TickCount(), deadline)) return state.helpWindow;",
     "IsTickPast(clock.TickCount(), deadline + 1000)) return state.helpWindow;"),
    ("help time-out: the box shown while top-most", "app/help_flow.cpp",
     "  window.SetTopMost(false);\n", ""),
    ("help restore: Mirravel goes back while another help window is up", "app/help_flow.cpp",
     "  if (state.helpWindow != 0) return;  // another help window", "  if (false) return;  // another help window"),
    ("help quit: HELP_QUIT sent to an ended help", "app/help_flow.cpp",
     "  if (IsHelpProcessAlive(platform.Desktop(), state.helpWindow)) {", "  if (true) {"),
    ("host link wait: the reply not looked at before the deadline", "host/host_link.cpp",
     "if (replies_.Holds(query)) return;", "if (replies_.Holds(query + 1)) return;"),
    ("host link wait: a timed-out send awaits its reply", "host/host_link.cpp",
     "if (accepted.value_or(0) != 0) WaitForReply(query);", "if (accepted.value_or(1) != 0) WaitForReply(query);"),
    ("host link: an older reply kept when the query is sent again", "host/host_link.cpp",
     "  replies_.Release(query);\n", ""),
    ("host link: handles compared in all their bits", "host/host_link.cpp",
     "static_cast<std::uint32_t>(sender) == static_cast<std::uint32_t>(hostWindow_)", "sender == hostWindow_"),
    ("host liveness: plug-in mode not updated", "host/host_link.cpp",
     "    pluginMode_ = alive;\n", ""),
    ("host liveness: query C sent to an ended host", "host/host_link.cpp",
     "if (query == MSG_QUERY_TEXT_C && IsHostAlive() == 0) return {};", "if (false && IsHostAlive() == 0) return {};"),
    ("copy menu: items offered for an empty copy field", "host/copy_menu.cpp",
     "if (copyFieldEmpty) return {false, false, false};", "if (copyFieldEmpty && pluginMode) return {false, false, false};"),
    ("preference reader: a number read from the next line", "support/preference_reader.cpp",
     "const std::string_view line(text_.data() + *value, LineEndOf(*value) - *value);",
     "const std::string_view line(text_.data() + *value, text_.size() - *value);"),
    ("preference reader: LF CR line ends not stepped over", "support/preference_reader.cpp",
     "if (lineEnd == LineEnd::StepOverCrAfterLf && next", "if (lineEnd != LineEnd::StepOverCrAfterLf && next"),
    ("command line: a negative number read as positive", "support/command_line.cpp",
     "if (negative) value = 0u - value;", "if (negative) value = 0u + value;"),
    ("command line: tabs separate tokens", "support/command_line.cpp",
     "while (i < n && commandLine[i] != ' ') ++i;",
     "while (i < n && commandLine[i] != ' ' && (commandLine[i] != '\\t' || i == start)) ++i;"),
    ("command line: an x taken as a digit", "support/command_line.cpp",
     "while (i < text.size() && text[i] >= '0' && text[i] <= '9') {",
     "while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == 'x')) {"),
    ("text: trim takes tabs too", "support/text.cpp",
     "text.find_first_not_of(' ');", "text.find_first_not_of(\" \\t\");"),
    ("text: sharp s folded", "support/text.cpp", "|| byte >= 0xE0)", "|| byte >= 0xDF)"),
    ("text: directory part not cut at the quote", "support/text.cpp",
     "    directory = directory.substr(0, quote);\n", ""),
    ("file size: wildcards looked up", "support/file_size.cpp",
     "  if (path.find_first_of(\"*?\") != std::string_view::npos) return kPathMissing;\n", ""),
    ("tab order: from no control forward starts at the second", "ui/tab_order.cpp",
     "index = backward ? 0 : count - 1;", "index = 0;"),
    ("tab order: disabled controls taken", "ui/tab_order.cpp",
     "if (canTakeFocus[static_cast<unsigned>(index)]) return index;", "return index;"),
    ("navigation: a page of no rows moves nothing", "ui/text_view_navigation.cpp",
     "const std::int32_t page = std::max(1, pageLines);", "const std::int32_t page = pageLines;"),
    ("navigation: scrolled down one row short", "ui/text_view_navigation.cpp",
     "if (item >= first + shown) return item - shown + 1;", "if (item >= first + shown) return item - shown;"),
    ("navigation: a selection not collapsed by Left", "ui/text_view_navigation.cpp",
     "moved = (hasSelection && !extending) ? text.SelectionStart()", "moved = (false && !extending) ? text.SelectionStart()"),
    ("event queue: one event beyond the bound", "ui/event_queue.cpp",
     "events_.size() >= kCapacity", "events_.size() > kCapacity"),
    ("help button: pressed without a help file asks the engine", "app/help_flow.cpp",
     "  if (state.helpFilePath.empty()) return;\n", ""),
    ("help window: only an exact title recognised", "help/help_window.cpp",
     "if (window.title.find(kHelpWindowTitle) != std::string::npos)", "if (window.title == kHelpWindowTitle)"),
    ("start-up search: the found sound without a hit", "app/host_flow.cpp",
     "if (FindConstant(word, state, window) == 1) platform.PlayFoundSound();",
     "FindConstant(word, state, window);\n  platform.PlayFoundSound();"),
    ("start-up search: the title not put back", "app/host_flow.cpp", "  window.SetTitle(kMainWindowTitle);\n", ""),
    ("copy commands: the value-only command hands over the whole text", "app/host_flow.cpp",
     "host.SendTextToHost(id == kMenuCopyToHost ? std::string(text) : ValueOnlyPart(text));",
     "host.SendTextToHost(std::string(text));"),
    ("copy commands: an ended jaPBe not reported", "app/host_flow.cpp",
     "    window.ShowMessageBox(\"ERROR\", kHostNotFoundMessage, kBoxStop);\n", ""),
    ("navigation: a double click on an empty line takes its line break", "ui/text_view_navigation.cpp",
     "if (at >= length || CharAt(text, at) == CatalogueText::kLineBreak) return {at, at};",
     "if (at >= length) return {at, at};"),
    ("navigation: no view line after a final line break", "ui/text_view_navigation.cpp",
     "return text.LineCount() + (EndsWithLineBreak(text) ? 1 : 0);", "return text.LineCount() + 0 * EndsWithLineBreak(text);"),
    ("layout: tab pages one pixel lower", "ui/main_window_layout.cpp", "stripHeight + 4,", "stripHeight + 5,"),
    ("find: Return searches from any control", "app/application.cpp",
     "if (window_->FocusedControl() == kFindField) FindConstant(", "if (true) FindConstant("),
    ("find: the Find button searches for an empty text", "app/application.cpp",
     "  if (state_.findText.empty()) {\n    FocusIfShown(*window_, kFindField);",
     "  if (false) {\n    FocusIfShown(*window_, kFindField);"),
    ("packed header: the second letter of \"JC\" not checked", "catalogue/unpack_block.cpp",
     "block[0] != 'J' || block[1] != 'C'", "block[0] != 'J'"),
    ("tool entry: written as an ordinary tool", "registration/tools_file_rewrite.cpp",
     '"IsPlugin = 1",', '"IsPlugin = 0",'),
    ("tools file: a NUL byte does not end a line", "registration/tools_file_rewrite.cpp",
     "bytes[end] != '\\n' && bytes[end] != '\\0') ++end;", "bytes[end] != '\\n') ++end;"),
    # The Win32 layer, caught by the end-to-end suites under Wine.
    ("Win32 registry: keys opened with all access", "platform/win32/win32_registry.cpp",
     "0, KEY_READ, &key_)", "0, KEY_ALL_ACCESS, &key_)", "^e2e_help$"),
    ("Win32 registry: the classes root read from the current user", "platform/win32/win32_registry.cpp",
     "case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;", "case RegistryRoot::ClassesRoot: return HKEY_CURRENT_USER;",
     "^e2e_help$"),
    ("Win32 help engine: HELP_KEY without its keyword", "platform/win32/win32_help_engine.cpp",
     "command == HELP_KEY ? reinterpret_cast<ULONG_PTR>(key.c_str()) : 0;", "0;", "^e2e_help$"),
    ("Win32 host link: a copy-data record one byte short", "platform/win32/win32_desktop.cpp",
     "record.cbData = static_cast<DWORD>(bytes.size());", "record.cbData = static_cast<DWORD>(bytes.size() - 1);",
     "^e2e_host_link$"),
    ("Win32 liveness: every window's process taken as alive", "platform/win32/win32_desktop.cpp",
     "  return process.handle != nullptr && ::GetExitCodeProcess",
     "  return true;\n  return process.handle != nullptr && ::GetExitCodeProcess", "^e2e_host_link$"),
    ("Win32 liveness: the process opened without the right to query it", "platform/win32/win32_desktop.cpp",
     "::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id)", "::OpenProcess(SYNCHRONIZE, FALSE, id)", "^e2e_host_link$"),
    ("Win32 help placement: the window's width taken for its client width", "platform/win32/win32_desktop.cpp",
     "  ::GetClientRect(AsWindow(window), &rect);\n  return rect.right - rect.left;",
     "  ::GetWindowRect(AsWindow(window), &rect);\n  return rect.right - rect.left;", "^e2e_help$"),
    ("Win32 shell: the removal batch never started", "platform/win32/win32_shell.cpp",
     "shellExecuteEx != nullptr && shellExecuteEx(&info) != 0;", "shellExecuteEx != nullptr;", "^e2e_registration$"),
    ("Win32 tab key: Shift+Tab walks forward", "platform/win32/message_pump.cpp",
     "::GetKeyState(VK_SHIFT) < 0);", "false);", "^e2e_window$"),
    ("focus: window activation not reported to the program", "platform/win32/main_window.cpp",
     "if (hook_ != nullptr) hook_->OnActivationChanged(", "if (false && hook_ != nullptr) hook_->OnActivationChanged(",
     "^e2e_window$"),
    ("focus: a text field given the focus keeps its caret instead of selecting its text",
     "platform/win32/main_window.cpp",
     "  if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(",
     "  if (false) ::SendMessageA(", "^e2e_window$"),
    ("Win32 window: a tab change not reported to the program", "platform/win32/main_window.cpp",
     "    events_.Push({WindowEvent::Kind::Gadget, kTabPanel});\n", "", "^e2e_window$"),
    ("Win32 window: top-most never cleared", "platform/win32/win32_window_port.cpp",
     "topMost ? HWND_TOPMOST : HWND_NOTOPMOST", "topMost ? HWND_TOPMOST : HWND_TOPMOST", "^e2e_window$"),
    ("Win32 list: Ctrl+C ignored", "platform/win32/catalogue_view_input.cpp",
     "  if (character == kCtrlC) CopyToClipboard();\n", "", "^e2e_window_layer$"),
    ("Win32 list: Ctrl+A ignored", "platform/win32/catalogue_view_input.cpp",
     "  if (character == kCtrlA) Select(", "  if (false) Select(", "^e2e_window_layer$"),
    ("Win32 list: shift-click does not extend the selection", "platform/win32/catalogue_view_input.cpp",
     "Select(IsDown(VK_SHIFT) ? text.Anchor() : position, position,", "Select(position, position,",
     "^e2e_window_layer$"),
    ("Win32 list: a drag does not extend the selection", "platform/win32/catalogue_view_input.cpp",
     "  ExtendSelectionTo(point);\n  const bool outside", "  const bool outside", "^e2e_window_layer$"),
    ("Win32 list: a double click selects no word", "platform/win32/catalogue_view_input.cpp",
     "  if (doubleClick) {", "  if (false && doubleClick) {", "^e2e_window_layer$"),
    ("Win32 list: half a wheel notch lost", "platform/win32/catalogue_view_input.cpp",
     "  remainder -= notches * WHEEL_DELTA;", "  remainder = 0;", "^e2e_window_layer$"),
    ("Win32 list: the selection without the focus painted in the highlight", "platform/win32/catalogue_view_paint.cpp",
     "focused ? highlight : Mix(palette.paper, highlight, 90)", "highlight", "^e2e_window_layer$"),
    ("Win32 window: a shortcut key pressed between other messages lost", "platform/win32/message_pump.cpp",
     "  if (IsShortcutKey(message) && heldShortcutKeys_.size() < kMostHeldKeys) {",
     "  if (false && IsShortcutKey(message) && heldShortcutKeys_.size() < kMostHeldKeys) {", "^e2e_window_layer$"),
    ("Win32 window: the pages drop their controls' commands", "platform/win32/main_window_controls.cpp",
     "  if (message == WM_COMMAND || message == WM_NOTIFY) {", "  if (message == WM_NOTIFY) {", "^e2e_window$"),
    ("Win32 message box: the program's other windows left enabled", "platform/win32/modal_message_box.cpp",
     "  for (HWND window : windows.found) ::EnableWindow(window, FALSE);\n", "", "^e2e_window_layer$"),
]

def run(command, log):
    with open(log, "w") as out:
        return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT).returncode

BUILD = os.path.join(ROOT, "build")
os.makedirs(BUILD, exist_ok=True)  # a fresh clone has none, and --unit-only sets up no Wine there
WINDOWS = os.path.join(BUILD, "mutation-x64")

def unit_builds():
    yield "native", ["-DCMAKE_BUILD_TYPE=Release", "-DMIRRAVEL_BENCHMARKS=OFF"]
    if "--sanitize" in sys.argv:
        yield "sanitize", ["-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_C_COMPILER=clang", "-DCMAKE_CXX_COMPILER=clang++",
                           "-DMIRRAVEL_SANITIZE=ON", "-DMIRRAVEL_BENCHMARKS=OFF"]

def configure(directory, options):
    if run(["cmake", "-S", ROOT, "-B", directory, "-G", "Ninja"] + options, directory + ".configure.log") != 0:
        sys.exit("configure failed: see " + directory + ".configure.log")

def unit_caught(build_dir):
    if run(["ninja", "-C", build_dir, "mirravel_unit_tests"], build_dir + ".log") != 0:
        return "does not build"
    status = run([os.path.join(build_dir, "mirravel_unit_tests"), "--gtest_brief=1"], build_dir + ".test.log")
    return "caught" if status != 0 else "SURVIVED"

def harvest_caught():
    status = run([sys.executable, "-m", "unittest", "discover", "-s", os.path.join(ROOT, "tools/harvest/tests")],
                 os.path.join(BUILD, "mutation-harvest.log"))
    return "caught" if status != 0 else "SURVIVED"

def windows_caught(tests):
    if run(["ninja", "-C", WINDOWS], WINDOWS + ".log") != 0:
        return "does not build"
    status = run(["ctest", "--test-dir", WINDOWS, "--timeout", "300", "-R", tests], WINDOWS + ".test.log")
    return "caught" if status != 0 else "SURVIVED"

def check(kind, dirs):
    if kind == UNIT:
        results = [unit_caught(d) for d in dirs]
        return "caught" if "caught" in results else ", ".join(results)
    return harvest_caught() if kind == HARVEST else windows_caught(kind)

filters = [a for a in sys.argv[1:] if not a.startswith("--")]
selected = [f + (UNIT,) * (5 - len(f)) for f in FAULTS if not filters or any(x in f[0] for x in filters)]
if "--unit-only" in sys.argv:
    selected = [f for f in selected if f[4] == UNIT]
dirs = []
for name, options in unit_builds():
    d = os.path.join(BUILD, "mutation-" + name)
    configure(d, options)
    if unit_caught(d) != "SURVIVED":
        sys.exit("the unit tests do not pass without a fault: see " + d + ".test.log")
    dirs.append(d)
windows_kinds = {f[4] for f in selected} - {UNIT, HARVEST}
if windows_kinds:
    configure(WINDOWS, ["-DCMAKE_BUILD_TYPE=Release",
                        "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake/toolchain-x86_64-mingw.cmake")])
    for kind in sorted(windows_kinds):
        if windows_caught(kind) != "SURVIVED":
            sys.exit("the suites " + kind + " do not pass without a fault: see " + WINDOWS + ".test.log")
if HARVEST in {f[4] for f in selected} and harvest_caught() != "SURVIVED":
    sys.exit("the harvester's tests do not pass without a fault: see build/mutation-harvest.log")

survivors = 0
print("| fault | tests | result |\n|---|---|---|")
for name, path, old, new, kind in selected:
    full = os.path.join(ROOT, path)
    original = open(full, encoding="latin-1").read()
    if original.count(old) != 1:
        print(f"| {name} | {kind} | text to change not found once in {path} |")
        survivors += 1
        continue
    try:
        open(full, "w", encoding="latin-1").write(original.replace(old, new))
        result = check(kind, dirs)
    finally:
        open(full, "w", encoding="latin-1").write(original)
    survivors += result != "caught"
    print(f"| {name} | {kind} | {result} |", flush=True)
for d in dirs:
    run(["ninja", "-C", d, "mirravel_unit_tests"], d + ".log")  # leave the builds matching the sources
if windows_kinds:
    run(["ninja", "-C", WINDOWS], WINDOWS + ".log")
sys.exit(1 if survivors else 0)
PYTHON
