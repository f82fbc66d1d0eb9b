// The committed catalogue: the text's line format, order, limits and constants whose values we know,
// and the block built into the program, which is data/catalogue.jc and unpacks to the text exactly.
// Every header-defined value is also confirmed against the compiler by tools/harvest/verify.py.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>

#include "data/catalogue_block.h"
#include "helpers/files.h"
#include "helpers/packed_stream.h"

namespace mirravel {
namespace {

struct Line { std::string name; std::uint32_t value; std::string comment; };

// `problem` names the first line that breaks the format.
struct ParsedCatalogue {
  std::map<std::string, Line> byName;
  std::vector<const Line*> inFileOrder;
  std::size_t longestLine = 0;
  std::string problem;
};

ParsedCatalogue Parsed() {
  // "#" NAME " = $" VALUE (upper-case hex, no leading zero) " ' " COMMENT (printable ASCII, no apostrophe)
  const std::regex format("#([A-Za-z][A-Za-z0-9_]*) = \\$(0|[1-9A-F][0-9A-F]{0,7}) ' ([\\x20-\\x26\\x28-\\x7E]+)");
  ParsedCatalogue result;
  const std::string text = testing::SourceFile("data/catalogue.txt");
  if (text.size() < 2 || text.substr(text.size() - 2) != "\r\n") result.problem = "data/catalogue.txt lacks its last CR LF";
  std::smatch match;
  for (std::size_t start = 0, end = 0; result.problem.empty() && start < text.size(); start = end + 2) {
    end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    if (!std::regex_match(line, match, format)) {
      result.problem = "line " + std::to_string(result.inFileOrder.size() + 1) + " breaks the format: " + line;
    } else if (const auto [entry, isNew] = result.byName.emplace(
                   match[1], Line{match[1], static_cast<std::uint32_t>(std::stoul(match[2], nullptr, 16)), match[3]});
               !isNew) {
      result.problem = "the name repeats: " + line;
    } else {
      result.inFileOrder.push_back(&entry->second);
      result.longestLine = std::max(result.longestLine, line.size());
    }
  }
  return result;
}

TEST(CommittedCatalogue, HoldsEveryFamilyInOrderWithHeadersAndKnownValuesAndIsTheBlockBuiltIn) {
  const ParsedCatalogue catalogue = Parsed();
  ASSERT_EQ(catalogue.problem, "");
  EXPECT_GE(catalogue.inFileOrder.size(), 60000u);
  EXPECT_LE(catalogue.longestLine, 300u);
  // Ignoring case, with "_" before digits before letters.
  const auto orderKey = [](const std::string& name) {
    std::string key;
    for (const char c : name) {
      key += c == '_' ? '\x01' : c <= '9' ? static_cast<char>(c - '0' + 2) : static_cast<char>((c | 0x20) - 'a' + 12);
    }
    return key;
  };
  std::map<std::string, std::size_t> families;
  for (std::size_t index = 0; index < catalogue.inFileOrder.size(); ++index) {
    const Line& line = *catalogue.inFileOrder[index];
    const std::string previous = index == 0 ? "" : catalogue.inFileOrder[index - 1]->name;
    EXPECT_LE(orderKey(previous), orderKey(line.name)) << "out of order: " << line.name;
    const std::string header = line.comment.substr(0, line.comment.find_first_of(":;"));
    EXPECT_TRUE(header.size() > 2 && header.substr(header.size() - 2) == ".h") << line.name << ": " << line.comment;
    ++families[line.name.substr(0, line.name.find('_'))];
  }
  const std::pair<const char*, std::size_t> minimum[] = {
      {"WM", 300}, {"VK", 150}, {"ERROR", 2000}, {"MM", 1000}, {"IMAGE", 300}, {"INTERNET", 250}, {"STATUS", 1500}};
  for (const auto& [family, count] : minimum) EXPECT_GE(families[family], count) << family << "_";
  // Documented values; where given, the comment names the header and spells the definition in PureBasic notation.
  const struct { const char* name; std::uint32_t value; const char* comment; } known[] = {
      {"WM_PAINT", 0xF, "winuser.h"}, {"MB_ICONERROR", 0x10, "winuser.h: #MB_ICONHAND"}, {"S_OK", 0x0, nullptr},
      {"E_FAIL", 0x80004005, "winerror.h"}, {"HWND_NOTOPMOST", 0xFFFFFFFE, nullptr},
      {"ACM_OPENA", 0x464, "commctrl.h: (#WM_USER+100)"}, {"LVM_GETITEM", 0x1005, "commctrl.h: #LVM_GETITEMA; Unicode: $104B"},
      {"STATUS_ACCESS_VIOLATION", 0xC0000005, nullptr}, {"WSAEWOULDBLOCK", 0x2733, "winerror.h: (#WSABASEERR + 35)"},
      {"IOCTL_DISK_GET_DRIVE_GEOMETRY", 0x70000, nullptr}, {"SidTypeUser", 0x1, nullptr},
      {"D3D12_REQ_TEXTURE2D_U_OR_V_DIMENSION", 0x4000, "d3d12.h"}, {"WINHTTP_FLAG_SECURE", 0x800000, "winhttp.h"},
  };
  for (const auto& constant : known) {
    const auto found = catalogue.byName.find(constant.name);
    ASSERT_NE(found, catalogue.byName.end()) << constant.name << " is missing";
    const Line& line = found->second;
    EXPECT_EQ(line.value, constant.value) << constant.name;
    EXPECT_TRUE(constant.comment == nullptr || line.comment == constant.comment) << constant.name << ": " << line.comment;
  }
  // The block built into the program is data/catalogue.jc and unpacks to the text exactly.
  const EmbeddedBlock block = CatalogueBlock();
  const std::string file = testing::SourceFile("data/catalogue.jc");
  const testing::Bytes text = testing::ToBytes(testing::SourceFile("data/catalogue.txt"));
  ASSERT_FALSE(file.empty() || text.empty() || block.data == nullptr) << "data/catalogue.jc or .txt is missing";
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(block.data), block.size) == file);
  // With a checksum in the header the decoder vouches for every byte it writes.
  EXPECT_NE(std::memcmp(block.data + 6, "\0\0\0\0", 4), 0);
  testing::Bytes unpacked(text.size());
  ASSERT_EQ(UnpackBlock(block.data, block.size, unpacked.data(), unpacked.size()), static_cast<std::int32_t>(text.size()));
  EXPECT_TRUE(unpacked == text) << "data/catalogue.jc unpacks to another text";
}

}  // namespace
}  // namespace mirravel
