// The packed block both ways: UnpackBlock on hand-built streams (every code kind, the checksum, malformed
// blocks), the packer's round trips through it and the code kinds it picks, the catpack command line on
// real files, and the committed catalogue. How small the packer makes the catalogue is bench_pack's; the
// committed text's lines are checked by the harvester's rules (test catalogue_text_sound).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>

#include "data/catalogue_block.h"
#include "helpers/files.h"
#include "helpers/packed_stream.h"
#include "tools/catpack/catpack_command.h"
#include "tools/catpack/packer.h"
#include "tools/catpack/sample_text.h"

namespace mirravel {
namespace {

using catpack::PackBlock;
using catpack::PackStats;
using testing::Bytes;
using testing::Correction;
using testing::RandomBytes;
using testing::StreamBuilder;
using testing::ToBytes;
using Codes = std::function<void(StreamBuilder&)>;

std::int32_t Decode(const Bytes& block, std::size_t capacity, Bytes* output = nullptr) {
  Bytes destination(capacity, 0xEE);  // not cleared: what a stream leaves unwritten must read as zero
  const std::int32_t result = UnpackBlock(block.data(), block.size(), destination.data(), capacity);
  if (output != nullptr) *output = destination;
  return result;
}

StreamBuilder Built(const Codes& codes) {
  StreamBuilder stream;
  codes(stream);
  return stream.End();
}

// With and without a checksum, into a destination of the header's size: exactly the modelled bytes.
void ExpectDecodes(const Codes& codes) {
  const StreamBuilder stream = Built(codes);
  const Bytes& expected = stream.Expected();
  const auto size = static_cast<std::uint32_t>(expected.size());
  for (const Bytes& block : {stream.Block(size, BlockChecksum(expected.data(), size)), stream.Block(size, 0)}) {
    Bytes output;
    ASSERT_EQ(Decode(block, expected.size(), &output), static_cast<std::int32_t>(expected.size()));
    ASSERT_EQ(output, expected);
  }
}

TEST(BlockChecksumAndHeader, MatchKnownValues) {
  // The last word overlaps the one before it, so every byte counts.
  const std::pair<const char*, std::uint32_t> sums[] = {
      {"abcd", 0xACA5A6A2u}, {"abcdef", 0xDFC1C3C2u}, {"abcdeg", 0xDAC1C3C2u}, {"abc", 0u}};
  for (const auto& [text, sum] : sums) EXPECT_EQ(BlockChecksum(ToBytes(text).data(), ToBytes(text).size()), sum) << text;
  const Bytes block = {'J', 'C', 0x2E, 0x48, 0x0F, 0xF0, 0, 0, 0, 0};
  EXPECT_EQ(PackedUnpackedSize(block.data(), block.size()), 0xF00F482Ell);
  EXPECT_EQ(PackedUnpackedSize(block.data(), kPackedHeaderSize - 1), -1);
  const Bytes wrongMagic = {'J', 'c', 0x2E, 0x48, 0x0F, 0xF0, 0, 0, 0, 0};
  EXPECT_EQ(PackedUnpackedSize(wrongMagic.data(), wrongMagic.size()), -1);
}

TEST(UnpackBlock, DecodesTheWorkedExampleEveryCodeKindAndExplicitOffsetsAcrossCorrectionsAndPatternLengths) {
  const Bytes block = {0x4A, 0x43, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                       0x00, 0x56, 0x6C, 0xD8, 0x20, 0x00, 0x00, 0x00, 0x30};
  Bytes output;
  EXPECT_EQ(Decode(block, 3, &output), 3);
  EXPECT_EQ(output, ToBytes("abc"));
  EXPECT_EQ(StreamBuilder().Width8().Literals("abc").End().Block(3, 0), block);
  // Rules worth a case of their own; the random streams below mix every code kind at ordinary sizes.
  const Codes cases[] = {
      [](StreamBuilder& s) { s.Width8().Literal('x').RepeatMatch(3); },  // before any offset: the byte just written
      [](StreamBuilder& s) {  // raw blocks chained by continue bits
        s.Width7(10).Literal('r').RawBlocks(RandomBytes(768, 3)).Literal('s').RawBlocks(RandomBytes(256, 4)).RepeatMatch(7);
      },
      [](StreamBuilder& s) { s.Width8().Literal('z').RepeatMatch((1u << 17) + 5).ExplicitMatch(1, (1u << 16) + 4); },
  };
  for (const Codes& codes : cases) ExpectDecodes(codes);
  const Bytes history = RandomBytes(256 * 280, 7);
  // Each boundary of the length correction, at the smallest and a longer length.
  for (std::uint32_t offset : {1u, 127u, 128u, 638u, 639u, 14334u, 14335u, 65535u, 65536u, 70000u}) {
    SCOPED_TRACE(offset);
    ExpectDecodes([&](StreamBuilder& s) {
      s.RawBlocks(history).ExplicitMatch(offset, Correction(offset) + 2).ExplicitMatch(offset, Correction(offset) + 40);
    });
  }
  // Long copies at every small offset go through the pattern-doubling path.
  ExpectDecodes([](StreamBuilder& s) {
    s.Width8();
    for (std::uint32_t offset = 1; offset <= 20; ++offset) s.Literals("0123456789abcdef").ExplicitMatch(offset, 300).RepeatMatch(999);
  });
}

// Literals of both widths under every bias, every short code, matches and index widths at random.
TEST(UnpackBlock, RandomValidStreamsMatchTheModel) {
  std::mt19937 random(2024);
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    ExpectDecodes([&random](StreamBuilder& s) {
      s.Width8().Literal(static_cast<std::uint8_t>(random()));
      bool hasMatch = false;
      for (int code = 0; code < 60; ++code) {
        const auto size = static_cast<std::uint32_t>(s.Expected().size());
        const auto pick = [&random](std::uint32_t limit) { return 1 + static_cast<std::uint32_t>(random() % limit); };
        switch (random() % 9) {
          case 0: s.Literal(s.FittingByte(static_cast<std::uint32_t>(random()))); break;
          case 1: s.Width7(static_cast<std::uint8_t>(random())); break;
          case 2: s.Width8(); break;
          case 3: s.ExplicitMatch(pick(size), 6 + pick(40)); hasMatch = true; break;
          case 4: s.ShortMatch(pick(std::min(size, 127u)), 1 + pick(4)); hasMatch = true; break;
          case 5: s.OneByteCopy(pick(std::min(size, 14u))); break;
          case 6: s.ZeroByte(); break;
          case 7: if (hasMatch) s.RepeatMatch(1 + pick(30)); break;
          default: {  // width 0 puts the whole offset into the gamma number; 31 puts it all into the index bits
            const auto width = static_cast<std::uint32_t>(random() % 32);
            s.IndexWidth(width, static_cast<std::uint32_t>(width < 16 ? 1 + random() % 3 : 2 + random() % 2));
            break;
          }
        }
      }
    });
  }
}

TEST(UnpackBlock, ResultFollowsTheChecksumTheSizeAndTheCapacityAndMalformedStreamsGiveZero) {
  const Bytes block = testing::LiteralBlock("abc");
  Bytes destination(3);
  // The stream needs the whole word that holds its end code.
  for (std::size_t size = 0; size < block.size(); ++size) EXPECT_EQ(UnpackBlock(block.data(), size, destination.data(), 3), 0);

  const Codes abcd = [](StreamBuilder& s) { s.Width8().Literals("abcd"); };
  const Codes copy = [](StreamBuilder& s) { s.Width8().Literals("abcd").ShortMatch(4, 4); };
  // The checksum covers the header's size, here with four bytes the stream leaves unwritten: they read as zero.
  const Bytes padded = {'a', 'b', 'c', 'd', 0, 0, 0, 0};
  const std::uint32_t paddedSum = BlockChecksum(padded.data(), padded.size());
  const struct { const char* name; Codes codes; std::uint32_t size, checksum; std::size_t capacity; std::int32_t result; } cases[] = {
      {"checksum over the header's size", abcd, 8, paddedSum, 8, 4},
      {"wrong checksum", abcd, 4, 0xACA5A6A3u, 4, 0},
      {"without a checksum the count written, even below the size", abcd, 100, 0, 100, 4},
      {"a checksum over more than the destination holds cannot be checked", abcd, 8, paddedSum, 7, 0},
      // A copy is bounded by the room left, whether the header's size or the capacity is the smaller;
      // fuzz_unpack bounds every other writing code under the address sanitizer.
      {"copy", copy, 8, 0, 8, 8}, {"copy", copy, 8, 0, 7, 0}, {"copy", copy, 7, 0, 8, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(Built(c.codes).Block(c.size, c.checksum), c.capacity), c.result) << c.name << ": " << c.size << ", " << c.capacity;
  }
  const Codes malformed[] = {
      [](StreamBuilder& s) { s.Width8().Literals("ab").ShortMatch(3, 2); },     // short match before the output
      [](StreamBuilder& s) { s.Width8().OneByteCopy(1); },                      // one-byte copy with nothing written
      [](StreamBuilder& s) { s.Width8().RepeatMatch(2); },                      // repeat (offset 1) with nothing written
      [](StreamBuilder& s) { s.Width8().Literals("abcdef").ExplicitMatch(7, 6); },  // explicit offset before the output
      [](StreamBuilder& s) { s.Width8().Literals("abcdef").Bits(0b01, 2).Gamma(3).Bits(0, 8).Gamma(2); },  // offset 0
      [](StreamBuilder& s) { s.Bits(1, 1).Bits(0x61, 8); },                     // literal before any literal-width code
      [](StreamBuilder& s) { s.Bits(0, 10).Bits(3, 2).Bits(32, 6); },           // index width 32
      [](StreamBuilder& s) {  // 33 gamma pairs do not fit in 32 bits
        s.Width8().Literal('a').Bits(0b01, 2).Gamma(2).Bits(~0u, 32).Bits(~0u, 32).Bits(0b11, 2).Bits(0b10, 2);
      },
  };
  for (const Codes& codes : malformed) EXPECT_EQ(Decode(Built(codes).Block(100, 0), 100), 0) << &codes - malformed;
}

Bytes PackAndCheck(const Bytes& input, PackStats* stats = nullptr) {
  Bytes block;
  EXPECT_TRUE(PackBlock(input.data(), input.size(), block, stats));
  EXPECT_EQ(PackedUnpackedSize(block.data(), block.size()), static_cast<std::int64_t>(input.size()));
  EXPECT_EQ((block.size() - kPackedHeaderSize) % 4, 0u);
  Bytes output(input.size(), 0);
  // An empty block's result is 0 like a failure's; the header and the end code speak for it.
  EXPECT_EQ(UnpackBlock(block.data(), block.size(), output.data(), output.size()), static_cast<std::int32_t>(input.size()));
  EXPECT_TRUE(output == input) << "round trip differs for " << input.size() << " bytes";
  return block;
}

TEST(PackBlock, PicksRawBlocksForRandomBytesLongCopiesForRunsAndZeroBytesForSparseOnes) {
  // Varied inputs of every size are fuzz_pack_roundtrip's job; these pin which codes the packer picks.
  EXPECT_EQ(PackAndCheck({}).size(), kPackedHeaderSize + 4);  // just the end code
  for (std::uint8_t byte : {std::uint8_t{'a'}, std::uint8_t{0}, std::uint8_t{0xFF}}) {
    EXPECT_LT(PackAndCheck(Bytes(1 << 20, byte)).size(), 200u) << "a run collapses into long copies";
  }
  PackStats randomStats, sparseStats;
  // Random bytes go into raw blocks: 8 bits a byte plus a little, where width-8 literals would cost 9.
  const Bytes random = RandomBytes(256 * 100 + 17, 5);
  EXPECT_LT(PackAndCheck(random, &randomStats).size(), random.size() + random.size() / 100 + 64);
  EXPECT_GE(randomStats.rawBlocks, 90u);
  Bytes sparse(4000, 0);
  for (std::size_t i = 0; i < sparse.size(); i += 7) sparse[i] = static_cast<std::uint8_t>(i * 31 + 1);
  PackAndCheck(sparse, &sparseStats);
  EXPECT_GT(sparseStats.zeroBytes, 0u);
  Bytes block = {1, 2, 3};  // oversized input is refused
  const std::uint8_t byte = 0;
  EXPECT_FALSE(PackBlock(&byte, catpack::kMaxPackInput + 1, block) || PackBlock(nullptr, 5, block) || !block.empty());
}

TEST(CatpackCommand, PacksAndUnpacksFilesAndSaysWhyItFails) {
  testing::TempDirectory dir;
  const auto path = [&dir](const char* name) { return (dir.Path() / name).string(); };
  std::ostringstream out, err;
  const auto run = [&](const std::vector<std::string>& arguments) {
    out.str(""), err.str("");
    return catpack::RunCatpack(arguments, out, err);
  };
  for (const std::string& text : {std::string(), catpack::MakeCatalogueLikeText(5000, 6)}) {
    ASSERT_EQ(run({"pack", dir.WriteFile("text.txt", text), path("text.jc")}), 0) << err.str();
    EXPECT_NE(out.str().find("packed " + std::to_string(text.size()) + " bytes"), std::string::npos);
    ASSERT_EQ(run({"unpack", path("text.jc"), path("out.txt")}), 0) << err.str();
    EXPECT_EQ(testing::ReadBytes(path("out.txt")), text);
  }
  const std::string block = testing::ReadBytes(path("text.jc"));
  const struct { std::vector<std::string> arguments; int status; const char* message; } failures[] = {
      {{"unpack", dir.WriteFile("truncated.jc", block.substr(0, block.size() - 4)), path("x")}, 1, "malformed or corrupt"},
      {{"unpack", dir.WriteFile("huge.jc", std::string("JC\xFF\xFF\xFF\x7F\0\0\0\0\0\0\0\0", 14)), path("x")}, 1,
       "more than catpack accepts"},
      {{"pack", "a"}, 2, "usage"},
      {{"pack", path("text.txt"), path("no-such-dir/x")}, 1, "cannot write"},
  };
  for (const auto& failure : failures) {
    EXPECT_EQ(run(failure.arguments), failure.status) << failure.message;
    EXPECT_NE(err.str().find(failure.message), std::string::npos) << err.str();
  }
}

// The block built into the program is data/catalogue.jc and unpacks to the text exactly; the text covers
// the families and holds the lines users look up.
TEST(CommittedCatalogue, IsTheBlockBuiltInAndHoldsEveryFamilyAndTheLinesUsersLookUp) {
  const std::string text = testing::SourceFile("data/catalogue.txt");
  const EmbeddedBlock block = CatalogueBlock();
  ASSERT_FALSE(text.empty() || block.data == nullptr) << "data/catalogue.txt or .jc is missing";
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(block.data), block.size) == testing::SourceFile("data/catalogue.jc"));
  // With a checksum in the header the decoder vouches for every byte it writes.
  EXPECT_NE(std::memcmp(block.data + 6, "\0\0\0\0", 4), 0);
  Bytes unpacked(text.size());
  ASSERT_EQ(UnpackBlock(block.data, block.size, unpacked.data(), unpacked.size()), static_cast<std::int32_t>(text.size()));
  EXPECT_TRUE(unpacked == ToBytes(text)) << "data/catalogue.jc unpacks to another text";

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
           "#ACM_OPENA = $464 ' commctrl.h: (#WM_USER+100)", "#SidTypeUser = $1 ' winnt.h",
           "#LVM_GETITEM = $1005 ' commctrl.h: #LVM_GETITEMA; Unicode: $104B",
           "#IOCTL_DISK_GET_DRIVE_GEOMETRY = $70000 ' winioctl.h: "
           "CTL_CODE(#IOCTL_DISK_BASE,$0,#METHOD_BUFFERED,#FILE_ANY_ACCESS)",
           "#D3D12_REQ_TEXTURE2D_U_OR_V_DIMENSION = $4000 ' d3d12.h"}) {
    EXPECT_NE(text.find(std::string("\n") + line + "\r\n"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace mirravel
