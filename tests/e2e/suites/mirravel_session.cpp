// Driving one running mirravel.exe, and the expected results computed from the catalogue text.
#include "tests/e2e/suites/mirravel_session.h"

#include <commctrl.h>
#include <richedit.h>

#include <fstream>
#include <iterator>

#include "tests/e2e/harness/checks.h"

namespace mirravel::e2e {

namespace {

constexpr char kTitle[] = "Mirravel";
constexpr char kMainWindowClass[] = "MirravelMainWindow";

bool IsWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

char Fold(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'a' && byte <= 'z') || byte >= 0xE0 ? static_cast<char>(byte - 0x20) : c;
}

}  // namespace

bool MirravelSession::Start(const std::string& programPath) {
  if (!CHECK_NOTE(program_.Start(Quoted(programPath)), "start " + programPath)) return false;
  main_ = WaitForTopLevelWindow(program_.Id(), nullptr, kTitle);
  if (!CHECK_NOTE(main_ != nullptr, "a visible window titled Mirravel")) return false;
  // The catalogue is loaded before the loop starts; an idle loop means start-up is over.
  ::WaitForInputIdle(program_.Handle(), kDefaultTimeoutMs);
  Settle();
  return true;
}

bool MirravelSession::Attach(DWORD processId) {
  if (!CHECK_NOTE(program_.Attach(processId), "open process " + std::to_string(processId))) return false;
  main_ = WaitForTopLevelWindow(program_.Id(), kMainWindowClass, nullptr);
  if (!CHECK_NOTE(main_ != nullptr, "the main window of the started program")) return false;
  Settle();
  return true;
}

HWND MirravelSession::TabControl() const {
  HWND panel = Control(kTabPanelId);
  return panel ? ::FindWindowExA(panel, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
}

std::vector<HWND> MirravelSession::Pages() const {
  std::vector<HWND> pages;
  HWND tab = TabControl();
  for (HWND page = tab ? ::GetWindow(tab, GW_CHILD) : nullptr; page != nullptr; page = ::GetWindow(page, GW_HWNDNEXT)) {
    if (ClassName(page) == "Static") pages.push_back(page);
  }
  return pages;
}

bool MirravelSession::TypeFindText(const std::string& text, const std::string& label) {
  // The change notification is queued before anything posted afterwards, so later keys see this text.
  if (!SetText(Control(kFindFieldId), text)) return false;
  return WaitUntil([&] { return GetText(Control(kFindLabelId)) == label && GetText(Control(kFindFieldId)) == text; });
}

bool MirravelSession::WaitForCopyField(const std::string& expected, DWORD timeoutMs) {
  return WaitUntil([&] { return GetText(Control(kCopyFieldId)) == expected; }, timeoutMs);
}

void MirravelSession::MarkCopyField(const std::string& marker) {
  SetText(Control(kCopyFieldId), marker);
  Settle();
}

bool MirravelSession::ClickTab(int index) {
  HWND tab = TabControl();
  if (tab == nullptr) return false;
  RemoteBuffer rect(program_.Handle(), sizeof(RECT));
  LRESULT ok = 0;
  if (!rect.IsValid() || !SendWithTimeout(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), rect.AsLParam(), &ok) ||
      !ok) {
    return false;
  }
  RECT item{};
  if (!rect.Read(&item, sizeof item)) return false;
  const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::PostMessageA(tab, WM_LBUTTONDOWN, MK_LBUTTON, centre);
  ::PostMessageA(tab, WM_LBUTTONUP, 0, centre);
  Settle();
  return true;
}

bool MirravelSession::ListSelection(std::int32_t& start, std::int32_t& end) {
  RemoteBuffer range(program_.Handle(), sizeof(CHARRANGE));
  if (!range.IsValid() || !SendWithTimeout(Control(kListId), EM_EXGETSEL, 0, range.AsLParam(), nullptr)) return false;
  CHARRANGE selection{};
  if (!range.Read(&selection, sizeof selection)) return false;
  start = selection.cpMin;
  end = selection.cpMax;
  return true;
}

void MirravelSession::Settle() {
  // A sent message is taken when the program next looks at its queue; two of them with a pause bracket
  // at least one full turn of its loop.
  for (int i = 0; i < 2; ++i) {
    SendWithTimeout(main_, WM_NULL, 0, 0, nullptr, 2000);
    ::Sleep(30);
  }
}

bool MirravelSession::ExpectMessageBox(const std::string& title, const std::string& text) {
  const MessageBoxInfo box = WaitForMessageBox(program_.Id());
  if (!CHECK_NOTE(box.window != nullptr, "a message box \"" + title + "\": \"" + text + "\"")) return false;
  const bool sameTitle = CHECK_EQ(title, box.title);
  const bool sameText = CHECK_EQ(text, box.text);
  AnswerMessageBox(box.window, IDOK);
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(box.window); }), "the box closes after OK");
  Settle();
  return sameTitle && sameText;
}

bool MirravelSession::ExpectMessageBoxAnswering(const std::string& title, const std::string& text, int buttonId) {
  const MessageBoxInfo box = WaitForMessageBox(program_.Id());
  if (!CHECK_NOTE(box.window != nullptr, "a message box \"" + title + "\": \"" + text + "\"")) return false;
  const bool same = CHECK_EQ(title, box.title) && CHECK_EQ(text, box.text);
  CHECK_NOTE(AnswerMessageBox(box.window, buttonId), "the box has the button " + std::to_string(buttonId));
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(box.window); }), "the box closes after the answer");
  return same;
}

std::string MirravelSession::ReadMessageBox() {
  const MessageBoxInfo box = WaitForMessageBox(program_.Id());
  if (box.window == nullptr) return {};
  AnswerMessageBox(box.window, IDOK);
  WaitUntil([&] { return !::IsWindowVisible(box.window); });
  Settle();
  return box.text;
}

bool MirravelSession::NoMessageBoxWithin(DWORD timeoutMs) {
  Settle();
  const MessageBoxInfo box = WaitForMessageBox(program_.Id(), timeoutMs);
  if (box.window == nullptr) return true;
  CHECK_NOTE(false, "unexpected message box \"" + box.title + "\": \"" + box.text + "\"");
  AnswerMessageBox(box.window, IDOK);
  Settle();
  return false;
}

void MirravelSession::CloseAndExpectExitCode0() {
  PostSysCommand(main_, SC_CLOSE);
  CHECK_EQ(0LL, program_.WaitForExit());
}

bool ExpectedCatalogue::Load(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  text_.clear();
  text_.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\0') break;  // the program shows the text before the first zero byte
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;  // the LF stands for both
    text_ += c == '\r' ? '\n' : c;
  }
  return CHECK_NOTE(!text_.empty(), "catalogue text at " + path);
}

int ExpectedCatalogue::LineCount() const {
  int lines = 1;
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n' && i + 1 < text_.size()) ++lines;
  }
  return lines;
}

std::vector<std::int32_t> ExpectedCatalogue::Matches(const std::string& pattern, bool wholeWord) const {
  std::vector<std::int32_t> found;
  if (pattern.empty() || pattern.size() > text_.size()) return found;
  for (std::size_t p = 0; p + pattern.size() <= text_.size(); ++p) {
    std::size_t k = 0;
    while (k < pattern.size() && Fold(text_[p + k]) == Fold(pattern[k])) ++k;
    if (k != pattern.size()) continue;
    if (wholeWord) {
      const std::size_t end = p + pattern.size();
      if (p > 0 && IsWordCharacter(text_[p - 1]) && IsWordCharacter(pattern.front())) continue;
      if (end < text_.size() && IsWordCharacter(text_[end]) && IsWordCharacter(pattern.back())) continue;
    }
    found.push_back(static_cast<std::int32_t>(p));
  }
  return found;
}

std::int32_t ExpectedCatalogue::LineStartAt(std::int32_t position) const {
  const auto at = static_cast<std::size_t>(position);
  return at == 0 ? 0 : static_cast<std::int32_t>(text_.rfind('\n', at - 1) + 1);  // npos + 1 wraps to 0
}

std::string ExpectedCatalogue::DefinitionAt(std::int32_t position) const {
  const auto lineStart = static_cast<std::size_t>(LineStartAt(position));
  std::size_t lineEnd = text_.find('\n', lineStart);
  if (lineEnd == std::string::npos) lineEnd = text_.size();
  const std::string line = text_.substr(lineStart, lineEnd - lineStart);
  return line.substr(0, line.find('\''));
}

std::int32_t ExpectedCatalogue::LineStartOf(const std::string& lineStart) const {
  for (std::size_t start = 0; start < text_.size();) {
    if (text_.compare(start, lineStart.size(), lineStart) == 0) return static_cast<std::int32_t>(start);
    const std::size_t next = text_.find('\n', start);
    if (next == std::string::npos) break;
    start = next + 1;
  }
  return -1;
}

}  // namespace mirravel::e2e
