// The committed catalogue: the block built into the program is data/catalogue.jc and unpacks to the text
// exactly, and the text covers the families and holds the lines users look up. Its line format, order and
// uniqueness are enforced by the harvester when it writes the text (catalogue.Check, tested with it), and
// every header-defined value is confirmed against the compiler by tools/harvest/verify.py.
#include <gtest/gtest.h>

#include <cstring>

#include "data/catalogue_block.h"
#include "helpers/files.h"
#include "helpers/packed_stream.h"

namespace mirravel {
namespace {

TEST(CommittedCatalogue, IsTheBlockBuiltInAndHoldsEveryFamilyAndTheLinesUsersLookUp) {
  const std::string text = testing::SourceFile("data/catalogue.txt");
  const EmbeddedBlock block = CatalogueBlock();
  ASSERT_FALSE(text.empty() || block.data == nullptr) << "data/catalogue.txt or .jc is missing";
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(block.data), block.size) == testing::SourceFile("data/catalogue.jc"));
  // With a checksum in the header the decoder vouches for every byte it writes.
  EXPECT_NE(std::memcmp(block.data + 6, "\0\0\0\0", 4), 0);
  testing::Bytes unpacked(text.size());
  ASSERT_EQ(UnpackBlock(block.data, block.size, unpacked.data(), unpacked.size()), static_cast<std::int32_t>(text.size()));
  EXPECT_TRUE(unpacked == testing::ToBytes(text)) << "data/catalogue.jc unpacks to another text";

  const std::pair<const char*, std::size_t> minimum[] = {
      {"WM", 300}, {"VK", 150}, {"ERROR", 2000}, {"MM", 1000}, {"IMAGE", 300}, {"INTERNET", 250}, {"STATUS", 1500}};
  for (const auto& [family, count] : minimum) {
    const std::string prefix = std::string("\n#") + family + "_";
    std::size_t found = 0;
    for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) ++found;
    EXPECT_GE(found, count) << family << "_";
  }
  // One line of each source and shape: negative and high-bit values, enumerators, the winapi crate, and
  // definitions spelt in PureBasic notation.
  for (const char* line : {
           "#WM_PAINT = $F ' winuser.h", "#MB_ICONERROR = $10 ' winuser.h: #MB_ICONHAND", "#S_OK = $0 ' winerror.h",
           "#E_FAIL = $80004005 ' winerror.h", "#HWND_NOTOPMOST = $FFFFFFFE ' winuser.h",
           "#ACM_OPENA = $464 ' commctrl.h: (#WM_USER+100)",
           "#LVM_GETITEM = $1005 ' commctrl.h: #LVM_GETITEMA; Unicode: $104B",
           "#WSAEWOULDBLOCK = $2733 ' winerror.h: (#WSABASEERR + 35)",
           "#IOCTL_DISK_GET_DRIVE_GEOMETRY = $70000 ' winioctl.h: "
           "CTL_CODE(#IOCTL_DISK_BASE,$0,#METHOD_BUFFERED,#FILE_ANY_ACCESS)",
           "#SidTypeUser = $1 ' winnt.h", "#D3D12_REQ_TEXTURE2D_U_OR_V_DIMENSION = $4000 ' d3d12.h",
           "#WINHTTP_FLAG_SECURE = $800000 ' winhttp.h"}) {
    EXPECT_NE(text.find(std::string("\n") + line + "\r\n"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace mirravel
