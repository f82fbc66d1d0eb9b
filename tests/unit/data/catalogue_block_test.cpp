// The block built into the program is data/catalogue.jc and unpacks to data/catalogue.txt exactly.
#include <gtest/gtest.h>

#include "data/catalogue_block.h"
#include "helpers/files.h"
#include "helpers/packed_stream.h"

namespace mirravel {
namespace {

TEST(EmbeddedCatalogueBlock, IsTheCommittedBlockAndUnpacksToTheCommittedTextExactly) {
  const EmbeddedBlock block = CatalogueBlock();
  const std::string file = testing::SourceFile("data/catalogue.jc");
  const testing::Bytes text = testing::ToBytes(testing::SourceFile("data/catalogue.txt"));
  ASSERT_FALSE(file.empty() || text.empty()) << "data/catalogue.jc or data/catalogue.txt is missing";
  ASSERT_NE(block.data, nullptr);
  EXPECT_TRUE(std::string(reinterpret_cast<const char*>(block.data), block.size) == file);
  // The header names the text's size and carries its checksum.
  EXPECT_EQ(PackedUnpackedSize(block.data, block.size), static_cast<std::int64_t>(text.size()));
  EXPECT_NE(testing::Little32(block.data + 6), 0u);
  EXPECT_EQ(testing::Little32(block.data + 6), BlockChecksum(text.data(), text.size()));
  // One spare byte shows that the decoder stops at the text's end.
  testing::Bytes unpacked(text.size() + 1, 0xA5);
  ASSERT_EQ(UnpackBlock(block.data, block.size, unpacked.data(), unpacked.size()), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(unpacked.back(), 0xA5);
  unpacked.pop_back();
  const auto difference = std::mismatch(text.begin(), text.end(), unpacked.begin());
  EXPECT_EQ(difference.first, text.end()) << "first difference at offset " << (difference.first - text.begin());
}

}  // namespace
}  // namespace mirravel
