// Preference file lookups. A line runs to its LF; number and group lookups also step over a CR
// that follows the LF, string lookups do not (files with LF CR line ends read that way).
#include "support/preference_reader.h"

#include <utility>

#include "support/command_line.h"
#include "support/text.h"

namespace mirravel {

static constexpr char kCommentMarker = ';';

bool PreferenceReader::Open(const std::string& fileName) {
  Close();
  if (!file_.Open(fileName)) return false;
  if (!file_.ReadAll(text_)) {
    Close();
    return false;
  }
  groupPosition_ = 0;
  return true;
}

void PreferenceReader::OpenText(std::string text) {
  Close();
  text_ = std::move(text);
  textOnly_ = true;
  groupPosition_ = 0;
}

void PreferenceReader::Close() {
  file_.Close();
  textOnly_ = false;
  text_.clear();
  text_.shrink_to_fit();
  groupPosition_.reset();
}

std::size_t PreferenceReader::LineEndOf(std::size_t position) const {
  const auto lf = text_.find('\n', position);
  return lf == std::string::npos ? text_.size() : lf;
}

std::size_t PreferenceReader::NextLineStart(std::size_t position, LineEnd lineEnd) const {
  const std::size_t end = LineEndOf(position);
  if (end >= text_.size()) return text_.size();
  std::size_t next = end + 1;
  if (lineEnd == LineEnd::StepOverCrAfterLf && next < text_.size() && text_[next] == '\r') ++next;
  return next;
}

std::string_view PreferenceReader::HeaderNameAt(std::size_t line) const {
  const std::size_t lineEnd = LineEndOf(line);
  const std::string_view header(text_.data() + line + 1, lineEnd - line - 1);
  return header.substr(0, header.find(']'));
}

bool PreferenceReader::SelectGroup(std::string_view groupName) {
  groupPosition_.reset();
  if (!IsOpen()) return false;
  if (groupName.empty()) {
    groupPosition_ = 0;
    return false;
  }
  for (std::size_t line = 0; line < text_.size(); line = NextLineStart(line, LineEnd::StepOverCrAfterLf)) {
    if (text_[line] != '[') continue;
    if (EqualIgnoringAsciiCase(HeaderNameAt(line), groupName)) {
      groupPosition_ = NextLineStart(line, LineEnd::StepOverCrAfterLf);
      return true;
    }
  }
  return false;
}

std::vector<std::string> PreferenceReader::GroupNames() const {
  std::vector<std::string> names;
  if (!IsOpen()) return names;
  for (std::size_t line = 0; line < text_.size(); line = NextLineStart(line, LineEnd::StepOverCrAfterLf)) {
    if (text_[line] == '[') names.emplace_back(HeaderNameAt(line));
  }
  return names;
}

std::optional<std::size_t> PreferenceReader::FindValue(std::string_view key, LineEnd lineEnd) const {
  if (!IsOpen() || !groupPosition_ || key.empty()) return std::nullopt;
  for (std::size_t line = *groupPosition_; line < text_.size(); line = NextLineStart(line, lineEnd)) {
    if (text_[line] == '[') return std::nullopt;
    const std::size_t end = LineEndOf(line);
    std::size_t keyStart = line;
    while (keyStart < end && text_[keyStart] == ' ') ++keyStart;
    if (keyStart < end && text_[keyStart] == kCommentMarker) continue;
    const std::string_view rest(text_.data() + keyStart, end - keyStart);
    const auto equals = rest.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view lineKey = rest.substr(0, equals);
    while (!lineKey.empty() && lineKey.back() == ' ') lineKey.remove_suffix(1);
    if (!EqualIgnoringAsciiCase(lineKey, key)) continue;
    std::size_t value = keyStart + equals + 1;
    while (value < end && text_[value] == ' ') ++value;
    return value;
  }
  return std::nullopt;
}

std::int32_t PreferenceReader::ReadLong(std::string_view key, std::int32_t defaultValue) {
  const auto value = FindValue(key, LineEnd::StepOverCrAfterLf);
  if (!value) return defaultValue;
  // Bounded to the value's own line, so a number on the next line is never taken.
  const std::string_view line(text_.data() + *value, LineEndOf(*value) - *value);
  return ParseSignedDecimal(line, LeadingSpace::WhiteSpace);
}

std::string PreferenceReader::ReadString(std::string_view key, std::string_view defaultValue) {
  const auto value = FindValue(key, LineEnd::Plain);
  if (!value) return std::string(defaultValue);
  const auto end = text_.find_first_of("\r\n", *value);
  return text_.substr(*value, (end == std::string::npos ? text_.size() : end) - *value);
}

}  // namespace mirravel
