// The committed catalogue text: line format, order, limits, and constants whose values we know.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxLineLength = 300;
constexpr std::size_t kMinLines = 45000;

struct Line {
  std::string_view name;
  std::uint32_t value;
  std::string_view comment;
};

std::string ReadCatalogue() {
  std::ifstream in(std::string(MIRRAVEL_SOURCE_DIR) + "/data/catalogue.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string& CatalogueBytes() {
  static const std::string bytes = ReadCatalogue();
  return bytes;
}

// Lines without their CR LF; the last element is what follows the final line break (empty).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find("\r\n"); end != std::string_view::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  lines.push_back(text.substr(start));
  return lines;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpperHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }

// "#" NAME " = $" VALUE " ' " COMMENT, or nothing when the line breaks the format.
std::optional<Line> ParseLine(std::string_view line) {
  if (line.size() < 2 || line[0] != '#' || !IsLetter(line[1])) return std::nullopt;
  std::size_t position = 1;
  while (position < line.size() && (IsLetter(line[position]) || IsDigit(line[position]) || line[position] == '_')) {
    ++position;
  }
  const std::string_view name = line.substr(1, position - 1);
  if (line.substr(position, 4) != " = $") return std::nullopt;
  position += 4;
  const std::size_t digitsStart = position;
  std::uint64_t value = 0;
  while (position < line.size() && IsUpperHex(line[position])) {
    value = value * 16 + static_cast<std::uint64_t>(IsDigit(line[position]) ? line[position] - '0' : line[position] - 'A' + 10);
    ++position;
  }
  const std::size_t digits = position - digitsStart;
  if (digits == 0 || digits > 8 || (digits > 1 && line[digitsStart] == '0')) return std::nullopt;
  if (line.substr(position, 3) != " ' ") return std::nullopt;
  const std::string_view comment = line.substr(position + 3);
  if (comment.empty()) return std::nullopt;
  for (const char c : comment) {
    if (c < 0x20 || c > 0x7E || c == '\'') return std::nullopt;
  }
  return Line{name, static_cast<std::uint32_t>(value), comment};
}

// Upper-cased name with "_" < digits < letters.
std::vector<int> OrderKey(std::string_view name) {
  std::vector<int> key;
  key.reserve(name.size());
  for (const char c : name) {
    if (c == '_') {
      key.push_back(0);
    } else if (IsDigit(c)) {
      key.push_back(1 + (c - '0'));
    } else {
      key.push_back(11 + ((c >= 'a' ? c - 'a' : c - 'A')));
    }
  }
  return key;
}

// The file split and parsed once for all tests; `problem` says what stopped the parsing, if anything.
struct ParsedCatalogue {
  std::vector<std::string_view> lines;
  std::vector<Line> parsed;
  std::map<std::string_view, Line> byName;
  std::string problem;
};

const ParsedCatalogue& Parsed() {
  static const ParsedCatalogue catalogue = [] {
    ParsedCatalogue result;
    if (CatalogueBytes().empty()) {
      result.problem = "data/catalogue.txt is missing or empty";
      return result;
    }
    result.lines = SplitLines(CatalogueBytes());
    if (!result.lines.back().empty()) result.problem = "the last line must end with CR LF";
    result.lines.pop_back();
    for (std::size_t index = 0; index < result.lines.size() && result.problem.empty(); ++index) {
      const std::optional<Line> line = ParseLine(result.lines[index]);
      if (!line.has_value()) {
        result.problem = "line " + std::to_string(index + 1) + " breaks the format: " + std::string(result.lines[index]);
        break;
      }
      result.parsed.push_back(*line);
      result.byName.emplace(line->name, *line);
    }
    return result;
  }();
  return catalogue;
}

class CatalogueFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Parsed().problem, ""); }

  std::optional<Line> Find(std::string_view name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end()) return std::nullopt;
    return found->second;
  }

  const std::vector<std::string_view>& lines_ = Parsed().lines;
  const std::vector<Line>& parsed_ = Parsed().parsed;
  const std::map<std::string_view, Line>& byName_ = Parsed().byName;
};

TEST_F(CatalogueFile, HoldsAtLeastFortyFiveThousandConstants) {
  EXPECT_GE(parsed_.size(), kMinLines);
}

TEST_F(CatalogueFile, IsSingleByteTextWithCrLfAfterEveryLineAndNothingElse) {
  const std::string& bytes = CatalogueBytes();
  std::size_t lineBreaks = 0;
  for (std::size_t index = 0; index < bytes.size(); ++index) {
    const auto byte = static_cast<unsigned char>(bytes[index]);
    ASSERT_NE(byte, 0u) << "zero byte at offset " << index;
    ASSERT_NE(byte, '\t') << "tab at offset " << index;
    ASSERT_LT(byte, 0x80u) << "byte beyond ASCII at offset " << index;
    if (byte == '\r') {
      ASSERT_LT(index + 1, bytes.size()) << "CR at the very end";
      ASSERT_EQ(bytes[index + 1], '\n') << "CR without LF at offset " << index;
    }
    if (byte == '\n') {
      ASSERT_GT(index, 0u);
      ASSERT_EQ(bytes[index - 1], '\r') << "LF without CR at offset " << index;
      ++lineBreaks;
    }
  }
  EXPECT_EQ(lineBreaks, lines_.size());
}

TEST_F(CatalogueFile, HasNoBlankLineAndNoLineLongerThanTheLimit) {
  std::size_t longest = 0;
  for (std::size_t index = 0; index < lines_.size(); ++index) {
    EXPECT_FALSE(lines_[index].empty()) << "blank line " << index + 1;
    longest = std::max(longest, lines_[index].size());
  }
  EXPECT_LE(longest, kMaxLineLength);
}

TEST_F(CatalogueFile, NamesAreUniqueAndSortedIgnoringCaseWithUnderscoreBeforeDigitsBeforeLetters) {
  std::set<std::string_view> seen;
  for (std::size_t index = 0; index < parsed_.size(); ++index) {
    EXPECT_TRUE(seen.insert(parsed_[index].name).second) << "duplicate name " << parsed_[index].name;
    if (index > 0) {
      EXPECT_LE(OrderKey(parsed_[index - 1].name), OrderKey(parsed_[index].name))
          << parsed_[index - 1].name << " before " << parsed_[index].name;
    }
  }
}

TEST_F(CatalogueFile, EveryCommentStartsWithTheDefiningHeader) {
  for (const Line& line : parsed_) {
    const std::size_t end = line.comment.find_first_of(":;");
    const std::string_view header = line.comment.substr(0, end);
    ASSERT_GT(header.size(), 2u) << line.name;
    EXPECT_EQ(header.substr(header.size() - 2), ".h") << line.name << ": " << line.comment;
  }
}

struct Known {
  std::string_view name;
  std::uint32_t value;
};

// Values from the Windows SDK documentation, across the families the catalogue covers.
constexpr Known kKnownConstants[] = {
    {"WM_PAINT", 0xF}, {"WM_COPYDATA", 0x4A}, {"VK_F3", 0x72}, {"MB_ICONERROR", 0x10},
    {"ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED", 0x78D}, {"E_FAIL", 0x80004005}, {"S_OK", 0x0},
    {"CW_USEDEFAULT", 0x80000000}, {"HWND_NOTOPMOST", 0xFFFFFFFE}, {"IDC_ARROW", 0x7F00},
    {"HKEY_LOCAL_MACHINE", 0x80000002}, {"ACM_OPENA", 0x464}, {"ACM_OPENW", 0x467}, {"LVM_GETITEM", 0x1005},
    {"NERR_UserNotFound", 0x8AD}, {"STATUS_ACCESS_VIOLATION", 0xC0000005}, {"INTERNET_FLAG_RELOAD", 0x80000000},
    {"MM_MCINOTIFY", 0x3B9}, {"IMAGE_NT_SIGNATURE", 0x4550}, {"WSAECONNREFUSED", 0x274D}, {"SRCCOPY", 0xCC0020},
    {"IOCTL_DISK_GET_DRIVE_GEOMETRY", 0x70000}, {"DWMWA_NCRENDERING_ENABLED", 0x1}, {"CALG_SHA1", 0x8004},
    {"SidTypeUser", 0x1},
};

TEST_F(CatalogueFile, WellKnownConstantsHaveTheirDocumentedValues) {
  for (const Known& known : kKnownConstants) {
    const std::optional<Line> line = Find(known.name);
    ASSERT_TRUE(line.has_value()) << known.name << " is missing";
    EXPECT_EQ(line->value, known.value) << known.name;
  }
}

TEST_F(CatalogueFile, CommentsNameTheHeaderAndSpellDefinitionsInPureBasicNotation) {
  const std::pair<std::string_view, std::string_view> expected[] = {
      {"WM_PAINT", "winuser.h"},
      {"ACM_OPENA", "commctrl.h: (#WM_USER+100)"},
      {"LVM_GETITEM", "commctrl.h: #LVM_GETITEMA; Unicode: $104B"},
      {"MB_ICONERROR", "winuser.h: #MB_ICONHAND"},
      {"WSAEWOULDBLOCK", "winerror.h: (#WSABASEERR + 35)"},
      {"E_FAIL", "winerror.h"},
      {"IDC_ARROW", "winuser.h"},
  };
  for (const auto& [name, comment] : expected) {
    const std::optional<Line> line = Find(name);
    ASSERT_TRUE(line.has_value()) << name;
    EXPECT_EQ(line->comment, comment) << name;
  }
}

TEST_F(CatalogueFile, CharacterSetDependentNamesComeWithBothForms) {
  std::size_t neutral = 0;
  std::size_t paired = 0;
  for (const Line& line : parsed_) {
    if (line.comment.find("; Unicode: $") == std::string_view::npos) continue;
    ++neutral;
    const std::string_view note = line.comment.substr(line.comment.find("; Unicode: $") + 12);
    const std::uint32_t unicodeValue = static_cast<std::uint32_t>(std::stoul(std::string(note), nullptr, 16));
    EXPECT_NE(unicodeValue, line.value) << line.name;
    const std::optional<Line> ansi = Find(std::string(line.name) + "A");
    const std::optional<Line> wide = Find(std::string(line.name) + "W");
    if (ansi.has_value() && wide.has_value()) {
      ++paired;
      EXPECT_EQ(ansi->value, line.value) << line.name << " carries its ANSI value";
      EXPECT_EQ(wide->value, unicodeValue) << line.name << " says its Unicode value";
    }
  }
  EXPECT_GE(neutral, 100u);
  EXPECT_GE(paired, neutral / 2);
}

TEST_F(CatalogueFile, LargeFamiliesAreAllThere) {
  std::map<std::string_view, std::size_t> families;
  for (const Line& line : parsed_) {
    const std::size_t underscore = line.name.find('_');
    if (underscore != std::string_view::npos) ++families[line.name.substr(0, underscore)];
  }
  const std::pair<std::string_view, std::size_t> minimum[] = {
      {"WM", 300}, {"VK", 150}, {"ERROR", 2000}, {"MCI", 500}, {"MM", 1000}, {"NERR", 300},
      {"IMAGE", 300}, {"INTERNET", 250}, {"STATUS", 1500}, {"WSA", 40},
  };
  for (const auto& [family, count] : minimum) {
    EXPECT_GE(families[family], count) << family << "_";
  }
}

}  // namespace
