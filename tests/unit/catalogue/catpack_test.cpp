// The packer: exact round trips through UnpackBlock, the code kinds it picks, and the catpack command
// line on real files. How small it makes the catalogue is measured by bench_pack.
#include <gtest/gtest.h>

#include <sstream>

#include "helpers/packed_stream.h"
#include "helpers/files.h"
#include "tools/catpack/catpack_command.h"
#include "tools/catpack/packer.h"
#include "tools/catpack/sample_text.h"

namespace mirravel::catpack {
namespace {

using testing::Bytes;
using testing::RandomBytes;
using testing::ToBytes;

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
  EXPECT_FALSE(PackBlock(&byte, kMaxPackInput + 1, block) || PackBlock(nullptr, 5, block) || !block.empty());
}

TEST(PackBlock, PacksTheCatalogueWellWithEveryTextCode) {
  const std::string text = testing::SourceFile("data/catalogue.txt");
  ASSERT_FALSE(text.empty()) << "data/catalogue.txt is missing";
  PackStats stats;
  // Literals alone would take 8 bits a byte; the sorted lines repeat most of their neighbours.
  EXPECT_LT(PackAndCheck(ToBytes(text), &stats).size(), text.size() / 4);
  for (const std::size_t count : {stats.literals, stats.explicitMatches, stats.shortMatches, stats.oneByteCopies,
                                  stats.repeatMatches, stats.literalWidthChanges}) EXPECT_GT(count, 0u);
  EXPECT_EQ(stats.rawBlocks, 0u);
}

TEST(CatpackCommand, PacksAndUnpacksFilesAndReportsEveryFailureClearly) {
  testing::TempDirectory dir;
  const auto path = [&dir](const char* name) { return (dir.Path() / name).string(); };
  std::ostringstream out, err;
  const auto run = [&](const std::vector<std::string>& arguments) {
    out.str(""), err.str("");
    return RunCatpack(arguments, out, err);
  };
  for (const std::string& text : {std::string(), MakeCatalogueLikeText(5000, 6)}) {
    ASSERT_EQ(run({"pack", dir.WriteFile("text.txt", text), path("text.jc")}), 0) << err.str();
    EXPECT_NE(out.str().find("packed " + std::to_string(text.size()) + " bytes"), std::string::npos);
    ASSERT_EQ(run({"unpack", path("text.jc"), path("out.txt")}), 0) << err.str();
    EXPECT_EQ(testing::ReadBytes(path("out.txt")), text);
  }
  const std::string block = testing::ReadBytes(path("text.jc"));
  const struct { std::vector<std::string> arguments; int status; const char* message; } failures[] = {
      {{"unpack", dir.WriteFile("truncated.jc", block.substr(0, block.size() - 4)), path("x")}, 1, "malformed or corrupt"},
      {{"unpack", path("text.txt"), path("x")}, 1, "not a packed block"},
      {{"unpack", dir.WriteFile("huge.jc", std::string("JC\xFF\xFF\xFF\x7F\0\0\0\0\0\0\0\0", 14)), path("x")}, 1,
       "more than catpack accepts"},
      {{"pack", "a"}, 2, "usage"},
      {{"pack", path("missing.txt"), path("x")}, 1, "cannot open"},
      {{"pack", path("text.txt"), path("no-such-dir/x")}, 1, "cannot write"},
  };
  for (const auto& failure : failures) {
    EXPECT_EQ(run(failure.arguments), failure.status) << failure.message;
    EXPECT_NE(err.str().find(failure.message), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace mirravel::catpack
