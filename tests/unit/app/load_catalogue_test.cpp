// Loading the packed catalogue into the list: the text handed over, the line count, the two failures.
#include <gtest/gtest.h>

#include "app/load_catalogue.h"
#include "fakes/fake_window.h"
#include "helpers/packed_stream.h"
#include "ports/message_box.h"

namespace mirravel {
namespace {

TEST(LoadCatalogue, HandsTheWholeTextToTheListAndCountsLines) {
  const std::string text = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#YELLOW = $FFFF\r\n";
  const auto block = testing::LiteralBlock(text);
  testing::FakeWindow window;
  AppState state;
  ASSERT_TRUE(LoadCatalogue(block.data(), block.size(), state, window));
  EXPECT_EQ(window.list.Text(), "#ABE_BOTTOM = $3 ' Bottom edge.\n#YELLOW = $FFFF\n");
  EXPECT_EQ(state.lineCount, 2);
  EXPECT_EQ(window.listChanges, 1);
  EXPECT_TRUE(window.boxes.empty());
}

TEST(LoadCatalogue, StopsAtTheFirstZeroByte) {
  const std::string text("#A = $1\r\n\0#B = $2\r\n", 19);
  const auto block = testing::LiteralBlock(text);
  testing::FakeWindow window;
  AppState state;
  ASSERT_TRUE(LoadCatalogue(block.data(), block.size(), state, window));
  EXPECT_EQ(window.list.Text(), "#A = $1\n");
  EXPECT_EQ(state.lineCount, 1);
}

struct FailureCase {
  const char* name;
  std::vector<std::uint8_t> block;
  std::string_view message;
};

TEST(LoadCatalogue, ReportsWhyItFailedAndLeavesTheListEmpty) {
  auto wrongMagic = testing::LiteralBlock("#A = $1\r\n");
  wrongMagic[0] = 'X';
  auto wrongChecksum = testing::LiteralBlock("#A = $1\r\n");
  wrongChecksum[6] ^= 1;
  auto negativeSize = testing::LiteralBlock("#A = $1\r\n", 0x80000000LL);
  const FailureCase cases[] = {
      {"size field 0", testing::LiteralBlock("#A = $1\r\n", 0), kAllocateFailedMessage},
      {"size field negative", negativeSize, kAllocateFailedMessage},
      {"wrong magic", wrongMagic, kUnpackFailedMessage},
      {"wrong checksum", wrongChecksum, kUnpackFailedMessage},
      {"shorter than its header", {'J', 'C', 5, 0}, kAllocateFailedMessage},
      {"size larger than the stream gives", testing::LiteralBlock("#A = $1\r\n", 100), kUnpackFailedMessage},
  };
  for (const FailureCase& c : cases) {
    testing::FakeWindow window;
    AppState state;
    EXPECT_FALSE(LoadCatalogue(c.block.data(), c.block.size(), state, window)) << c.name;
    ASSERT_EQ(window.boxes.size(), 1u) << c.name;
    EXPECT_EQ(window.boxes[0].title, "ERROR") << c.name;
    EXPECT_EQ(window.boxes[0].text, c.message) << c.name;
    EXPECT_EQ(window.boxes[0].type, kBoxStop) << c.name;
    EXPECT_EQ(window.list.Length(), 0) << c.name;
    EXPECT_EQ(state.lineCount, 0) << c.name;
  }
  testing::FakeWindow window;
  AppState state;
  EXPECT_FALSE(LoadCatalogue(nullptr, 0, state, window));
  EXPECT_EQ(window.boxes.at(0).text, kAllocateFailedMessage);
}

}  // namespace
}  // namespace mirravel
