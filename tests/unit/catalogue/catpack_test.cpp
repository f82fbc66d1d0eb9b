// The packer: exact round trips through UnpackBlock on varied inputs, the code kinds it picks, its
// width schedules, corrupted blocks, and the catpack command line on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/unpack_block.h"
#include "helpers/temp_directory.h"
#include "tools/catpack/catpack_command.h"
#include "tools/catpack/code_costs.h"
#include "tools/catpack/code_schedule.h"
#include "tools/catpack/packer.h"
#include "tools/catpack/sample_text.h"

namespace mirravel::catpack {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes RandomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

// Packs, checks the header, unpacks into a buffer of exactly the header's size and compares.
Bytes PackAndCheck(const Bytes& input, PackStats* stats = nullptr) {
  Bytes block;
  EXPECT_TRUE(PackBlock(input.data(), input.size(), block, stats));
  EXPECT_EQ(PackedUnpackedSize(block.data(), block.size()), static_cast<std::int64_t>(input.size()));
  EXPECT_EQ((block.size() - kPackedHeaderSize) % 4, 0u);
  Bytes output(input.size(), 0);
  const std::int32_t written = UnpackBlock(block.data(), block.size(), output.data(), output.size());
  // An empty block's result is 0 like a failure's; the header and the end code speak for it.
  EXPECT_EQ(written, static_cast<std::int32_t>(input.size()));
  EXPECT_TRUE(output == input) << "round trip differs for " << input.size() << " bytes";
  return block;
}

TEST(PackBlock, RoundTripsSmallAndEdgeInputs) {
  PackAndCheck({});
  PackAndCheck({'x'});
  PackAndCheck({0});
  PackAndCheck(ToBytes("ab"));
  PackAndCheck(ToBytes("abababababababababab"));
  PackAndCheck(ToBytes("#ABE_BOTTOM = $3 ' Bottom edge.\r\n#ABE_LEFT = $0\r\n"));
  for (std::size_t size = 1; size < 600; size += 37) PackAndCheck(RandomBytes(size, static_cast<std::uint32_t>(size)));
}

TEST(PackBlock, EmptyInputIsJustTheEndCode) {
  const Bytes block = PackAndCheck({});
  EXPECT_EQ(block.size(), kPackedHeaderSize + 4);
  std::uint8_t unused = 0;
  EXPECT_EQ(UnpackBlock(block.data(), block.size(), &unused, 0), 0);
}

TEST(PackBlock, RunsCollapseIntoLongCopies) {
  for (std::uint8_t byte : {std::uint8_t{'a'}, std::uint8_t{0}, std::uint8_t{0xFF}}) {
    const Bytes run(1 << 20, byte);
    const Bytes block = PackAndCheck(run);
    EXPECT_LT(block.size(), 200u) << int{byte};
  }
  // A run of every length around the short-match and nice-length limits.
  for (std::size_t length = 1; length < 140; ++length) {
    Bytes input = ToBytes("start");
    input.insert(input.end(), length, 'r');
    input.push_back('!');
    PackAndCheck(input);
  }
}

TEST(PackBlock, RandomBytesGoIntoRawBlocks) {
  PackStats stats;
  const Bytes input = RandomBytes(256 * 100 + 17, 5);
  const Bytes block = PackAndCheck(input, &stats);
  EXPECT_GE(stats.rawBlocks, 90u);
  // Raw blocks cost 8 bits a byte plus a little; width-8 literals would cost 9.
  EXPECT_LT(block.size(), input.size() + input.size() / 100 + 64);
}

TEST(PackBlock, UsesEveryCheapCodeWhereItFits) {
  PackStats zeros;
  Bytes sparse(4000, 0);
  for (std::size_t i = 0; i < sparse.size(); i += 7) sparse[i] = static_cast<std::uint8_t>(i * 31 + 1);
  PackAndCheck(sparse, &zeros);
  EXPECT_GT(zeros.zeroBytes, 0u);

  PackStats text;
  const std::string sample = MakeCatalogueLikeText(200000, 3);
  PackAndCheck(ToBytes(sample), &text);
  EXPECT_GT(text.literals, 0u);
  EXPECT_GT(text.explicitMatches, 0u);
  EXPECT_GT(text.shortMatches, 0u);
  EXPECT_GT(text.oneByteCopies, 0u);
  EXPECT_GT(text.repeatMatches, 0u);
  EXPECT_EQ(text.rawBlocks, 0u);
  EXPECT_GE(text.literalWidthChanges, 1u);
}

TEST(PackBlock, HighBytesSwitchLiteralWidths) {
  // Text with a few Windows-1252 punctuation bytes, then binary-like bytes of every value.
  std::string mixed = "#ERROR_NAME = $1 ' Name \x96 not found\r\n";
  for (int i = 0; i < 50; ++i) mixed += "#ERROR_" + std::to_string(i * 7919) + " = $" + std::to_string(i) + " ' \x97\x99\xAE\r\n";
  Bytes input = ToBytes(mixed);
  const Bytes tail = RandomBytes(300, 9);
  input.insert(input.end(), tail.begin(), tail.end());
  PackStats stats;
  PackAndCheck(input, &stats);
  EXPECT_GE(stats.literalWidthChanges, 2u);
}

TEST(PackBlock, FarRepeatsUseWiderIndexes) {
  // A random 100 KB block seen again 100 KB later only matches at offsets beyond 65,536.
  Bytes input = RandomBytes(100000, 21);
  const Bytes copy = input;
  for (int i = 0; i < 3; ++i) {
    input.insert(input.end(), copy.begin() + i * 1000, copy.begin() + i * 1000 + 700);
    const Bytes noise = RandomBytes(5000, 100 + static_cast<std::uint32_t>(i));
    input.insert(input.end(), noise.begin(), noise.end());
  }
  PackStats stats;
  PackAndCheck(input, &stats);
  EXPECT_GE(stats.explicitMatches, 3u);
}

TEST(PackBlock, CatalogueLikeTextPacksWell) {
  const std::string text = MakeCatalogueLikeText(1 << 20, 1);
  ASSERT_GE(text.size(), 1u << 20);
  const Bytes block = PackAndCheck(ToBytes(text));
  // Literals alone would take 8 bits a byte; the sorted lines repeat most of their neighbours.
  EXPECT_LT(block.size(), text.size() * 35 / 100);
}

TEST(PackBlock, RoundTripsTheCatalogueWhenPresent) {
  std::ifstream in(std::string(MIRRAVEL_SOURCE_DIR) + "/data/catalogue.txt", std::ios::binary);
  if (!in) GTEST_SKIP() << "data/catalogue.txt is not there yet";
  std::stringstream text;
  text << in.rdbuf();
  const Bytes block = PackAndCheck(ToBytes(text.str()));
  EXPECT_LT(block.size(), text.str().size() / 2);
}

TEST(PackBlock, RefusesOversizedInput) {
  Bytes block = {1, 2, 3};
  const std::uint8_t byte = 0;
  EXPECT_FALSE(PackBlock(&byte, kMaxPackInput + 1, block));
  EXPECT_TRUE(block.empty());
  EXPECT_FALSE(PackBlock(nullptr, 5, block));
}

TEST(PackBlock, CorruptedBlocksNeverDecodeToSomethingElse) {
  const Bytes input = ToBytes(MakeCatalogueLikeText(3000, 8));
  const Bytes block = PackAndCheck(input);
  // Every truncation loses the end code's word, or more.
  for (std::size_t size = 0; size < block.size(); ++size) {
    Bytes output(input.size(), 0);
    EXPECT_EQ(UnpackBlock(block.data(), size, output.data(), output.size()), 0) << size;
  }
  // A flipped bit either fails or gives bytes that pass the header's checksum (a plain 32-bit sum,
  // so a few flips survive it), and never writes past the header's size.
  std::size_t survivors = 0;
  for (std::size_t bit = 0; bit < 8 * block.size(); ++bit) {
    Bytes flipped = block;
    flipped[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
    Bytes output(input.size() + 64, 0);
    const std::int32_t written = UnpackBlock(flipped.data(), flipped.size(), output.data(), output.size());
    if (written == 0) continue;
    ++survivors;
    const std::int64_t size = PackedUnpackedSize(flipped.data(), flipped.size());
    ASSERT_LE(written, size) << "bit " << bit;
    const std::uint32_t checksum = static_cast<std::uint32_t>(flipped[6]) | static_cast<std::uint32_t>(flipped[7]) << 8 |
                                   static_cast<std::uint32_t>(flipped[8]) << 16 | static_cast<std::uint32_t>(flipped[9]) << 24;
    if (checksum != 0) {
      EXPECT_EQ(BlockChecksum(output.data(), static_cast<std::size_t>(size)), checksum) << "bit " << bit;
    } else {
      EXPECT_TRUE(std::equal(output.begin(), output.begin() + written, input.begin())) << "bit " << bit;
    }
  }
  EXPECT_LT(survivors, block.size());  // far fewer than one flip in eight
}

// Bits of a literal-state schedule, change codes included; the packer's own pricing.
std::uint64_t LiteralScheduleBits(const Bytes& literals, const std::vector<std::uint16_t>& states) {
  std::uint64_t bits = 0;
  std::uint32_t previous = kLiteralStateCount;
  for (std::size_t i = 0; i < literals.size(); ++i) {
    EXPECT_TRUE(LiteralFits(states[i], literals[i])) << i;
    if (states[i] != previous) bits += states[i] == kWidth8State ? kWidth8ChangeBits : kWidth7ChangeBits;
    bits += states[i] == kWidth8State ? 9u : 8u;
    previous = states[i];
  }
  return bits;
}

std::uint64_t IndexScheduleBits(const std::vector<std::uint32_t>& offsets, const std::vector<std::uint8_t>& widths) {
  std::uint64_t bits = 0;
  std::uint32_t previous = kInitialIndexWidth;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    if (widths[i] != previous) bits += IndexWidthChangeBits(widths[i]);
    bits += ExplicitOffsetBits(offsets[i], widths[i]);
    previous = widths[i];
  }
  return bits;
}

TEST(CodeSchedule, LiteralStatesFitAndBeatSimpleSchedules) {
  EXPECT_TRUE(ChooseLiteralStates({}).empty());
  std::mt19937 random(77);
  for (int round = 0; round < 30; ++round) {
    Bytes literals = ToBytes(MakeCatalogueLikeText(200, static_cast<std::uint32_t>(round)));
    for (int i = 0; i < round; ++i) literals[random() % literals.size()] = static_cast<std::uint8_t>(random());
    const std::vector<std::uint16_t> chosen = ChooseLiteralStates(literals);
    ASSERT_EQ(chosen.size(), literals.size());
    const std::uint64_t chosenBits = LiteralScheduleBits(literals, chosen);
    // Never worse than width 8 throughout, nor than width 7 with bias 10 with width 8 where needed.
    EXPECT_LE(chosenBits, LiteralScheduleBits(literals, std::vector<std::uint16_t>(literals.size(), kWidth8State)));
    std::vector<std::uint16_t> textual(literals.size());
    for (std::size_t i = 0; i < literals.size(); ++i) textual[i] = LiteralFits(10, literals[i]) ? 10 : kWidth8State;
    EXPECT_LE(chosenBits, LiteralScheduleBits(literals, textual));
  }
  // Plain text needs one width-7 state for all of it.
  const std::vector<std::uint16_t> text = ChooseLiteralStates(ToBytes("#WM_PAINT = $F\r\n"));
  EXPECT_EQ(std::count(text.begin(), text.end(), text[0]), static_cast<std::ptrdiff_t>(text.size()));
  EXPECT_NE(text[0], kWidth8State);
}

TEST(CodeSchedule, IndexWidthsBeatEveryFixedWidth) {
  EXPECT_TRUE(ChooseIndexWidths({}).empty());
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::uint32_t> offsets;
    for (int i = 0; i < 200; ++i) {
      const std::uint32_t scale = i < 100 ? 300u : 200000u << (round % 4);
      offsets.push_back(1 + static_cast<std::uint32_t>(random() % scale));
    }
    const std::vector<std::uint8_t> chosen = ChooseIndexWidths(offsets);
    ASSERT_EQ(chosen.size(), offsets.size());
    const std::uint64_t chosenBits = IndexScheduleBits(offsets, chosen);
    for (std::uint8_t width = 0; width <= kMaxIndexWidth; ++width) {
      EXPECT_LE(chosenBits, IndexScheduleBits(offsets, std::vector<std::uint8_t>(offsets.size(), width)));
    }
    EXPECT_LT(chosen.front(), chosen.back()) << "far offsets want a wider index";
  }
}

class CatpackCommand : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& arguments) {
    out_.str("");
    err_.str("");
    return RunCatpack(arguments, out_, err_);
  }
  std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  testing::TempDirectory dir_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(CatpackCommand, PacksAndUnpacksFiles) {
  const std::string text = MakeCatalogueLikeText(50000, 4);
  const std::string in = dir_.WriteFile("catalogue.txt", text);
  const std::string packed = (dir_.Path() / "catalogue.jc").string();
  const std::string unpacked = (dir_.Path() / "catalogue.out").string();
  ASSERT_EQ(Run({"pack", in, packed}), 0) << err_.str();
  EXPECT_NE(out_.str().find("packed " + std::to_string(text.size()) + " bytes"), std::string::npos);
  const std::string block = ReadFile(packed);
  EXPECT_EQ(block.substr(0, 2), "JC");
  ASSERT_EQ(Run({"unpack", packed, unpacked}), 0) << err_.str();
  EXPECT_EQ(ReadFile(unpacked), text);

  const std::string empty = dir_.WriteFile("empty.txt", "");
  ASSERT_EQ(Run({"pack", empty, packed}), 0) << err_.str();
  ASSERT_EQ(Run({"unpack", packed, unpacked}), 0) << err_.str();
  EXPECT_EQ(ReadFile(unpacked), "");
}

TEST_F(CatpackCommand, ReportsBadBlocksClearly) {
  const std::string in = dir_.WriteFile("text.txt", MakeCatalogueLikeText(5000, 6));
  const std::string packed = (dir_.Path() / "text.jc").string();
  const std::string out = (dir_.Path() / "text.out").string();
  ASSERT_EQ(Run({"pack", in, packed}), 0);
  std::string block = ReadFile(packed);

  const std::string truncated = dir_.WriteFile("truncated.jc", block.substr(0, block.size() - 4));
  EXPECT_EQ(Run({"unpack", truncated, out}), 1);
  EXPECT_NE(err_.str().find("malformed or corrupt"), std::string::npos) << err_.str();

  block[7] = static_cast<char>(block[7] ^ 1);  // checksum
  EXPECT_EQ(Run({"unpack", dir_.WriteFile("checksum.jc", block), out}), 1);
  EXPECT_NE(err_.str().find("malformed or corrupt"), std::string::npos);

  EXPECT_EQ(Run({"unpack", in, out}), 1);
  EXPECT_NE(err_.str().find("not a packed block"), std::string::npos);
  EXPECT_EQ(Run({"unpack", dir_.WriteFile("short.jc", "JC\x01"), out}), 1);
  EXPECT_NE(err_.str().find("not a packed block"), std::string::npos);

  const std::string huge = dir_.WriteFile("huge.jc", std::string("JC\xFF\xFF\xFF\x7F\0\0\0\0\0\0\0\0", 14));
  EXPECT_EQ(Run({"unpack", huge, out}), 1);
  EXPECT_NE(err_.str().find("more than catpack accepts"), std::string::npos);
}

TEST_F(CatpackCommand, RejectsBadUsageAndMissingFiles) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err_.str().find("usage"), std::string::npos);
  EXPECT_EQ(Run({"squash", "a", "b"}), 2);
  EXPECT_EQ(Run({"pack", "a"}), 2);
  const std::string missing = (dir_.Path() / "missing.txt").string();
  EXPECT_EQ(Run({"pack", missing, (dir_.Path() / "x").string()}), 1);
  EXPECT_NE(err_.str().find("cannot open"), std::string::npos);
  const std::string in = dir_.WriteFile("a.txt", "abc");
  EXPECT_EQ(Run({"pack", in, (dir_.Path() / "no-such-dir" / "x").string()}), 1);
  EXPECT_NE(err_.str().find("cannot write"), std::string::npos);
}

}  // namespace
}  // namespace mirravel::catpack
