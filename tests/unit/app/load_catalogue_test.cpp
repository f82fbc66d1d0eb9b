// Loading the packed catalogue into the list: the text handed over, the line count, the two failures.
#include <gtest/gtest.h>

#include "app/load_catalogue.h"
#include "fakes/fake_window.h"
#include "helpers/packed_stream.h"

namespace mirravel {
namespace {

TEST(LoadCatalogue, HandsTheTextUpToItsFirstZeroByteToTheListAndCountsLines) {
  const struct {
    std::string text;
    const char* list;
    std::int32_t lines;
  } cases[] = {
      {"#ABE_BOTTOM = $3 ' Bottom edge.\r\n#YELLOW = $FFFF\r\n", "#ABE_BOTTOM = $3 ' Bottom edge.\n#YELLOW = $FFFF\n", 2},
      {std::string("#A = $1\r\n\0#B = $2\r\n", 19), "#A = $1\n", 1},
  };
  for (const auto& c : cases) {
    const testing::Bytes block = testing::LiteralBlock(c.text);
    testing::FakeWindow window;
    AppState state;
    ASSERT_TRUE(LoadCatalogue(block.data(), block.size(), state, window));
    EXPECT_EQ(window.list.Text(), c.list);
    EXPECT_EQ(state.lineCount, c.lines);
    EXPECT_EQ(window.listChanges, 1);
    EXPECT_TRUE(window.boxes.empty());
  }
}

TEST(LoadCatalogue, ReportsWhyItFailedAndLeavesTheListEmpty) {
  auto wrongMagic = testing::LiteralBlock("#A = $1\r\n");
  wrongMagic[0] = 'X';
  auto wrongChecksum = testing::LiteralBlock("#A = $1\r\n");
  wrongChecksum[6] ^= 1;
  const struct {
    const char* name;
    testing::Bytes block;
    std::string_view message;
  } cases[] = {
      {"no block", {}, kAllocateFailedMessage},
      {"size field 0", testing::LiteralBlock("#A = $1\r\n", 0), kAllocateFailedMessage},
      {"size field negative", testing::LiteralBlock("#A = $1\r\n", 0x80000000LL), kAllocateFailedMessage},
      {"shorter than its header", {'J', 'C', 5, 0}, kAllocateFailedMessage},
      {"wrong magic", wrongMagic, kUnpackFailedMessage},
      {"wrong checksum", wrongChecksum, kUnpackFailedMessage},
      {"size larger than the stream gives", testing::LiteralBlock("#A = $1\r\n", 100), kUnpackFailedMessage},
  };
  for (const auto& c : cases) {
    testing::FakeWindow window;
    AppState state;
    EXPECT_FALSE(LoadCatalogue(c.block.empty() ? nullptr : c.block.data(), c.block.size(), state, window)) << c.name;
    ASSERT_EQ(window.boxes.size(), 1u) << c.name;
    EXPECT_EQ(window.boxes[0].title, "ERROR") << c.name;
    EXPECT_EQ(window.boxes[0].text, c.message) << c.name;
    EXPECT_EQ(window.boxes[0].type, kBoxStop) << c.name;
    EXPECT_EQ(window.list.Length(), 0) << c.name;
    EXPECT_EQ(state.lineCount, 0) << c.name;
  }
}

}  // namespace
}  // namespace mirravel
