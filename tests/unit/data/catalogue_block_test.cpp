// The block built into the program is data/catalogue.jc and unpacks to data/catalogue.txt exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/unpack_block.h"
#include "data/catalogue_block.h"

namespace {

std::string ReadDataFile(const char* name) {
  std::ifstream in(std::string(MIRRAVEL_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

TEST(EmbeddedCatalogueBlock, IsTheCommittedBlockFileByteForByte) {
  const mirravel::EmbeddedBlock block = mirravel::CatalogueBlock();
  const std::string file = ReadDataFile("catalogue.jc");
  ASSERT_FALSE(file.empty()) << "data/catalogue.jc is missing";
  ASSERT_NE(block.data, nullptr);
  ASSERT_EQ(block.size, file.size());
  EXPECT_EQ(std::memcmp(block.data, file.data(), file.size()), 0);
}

TEST(EmbeddedCatalogueBlock, HeaderNamesTheTextSizeAndChecksum) {
  const mirravel::EmbeddedBlock block = mirravel::CatalogueBlock();
  const std::string text = ReadDataFile("catalogue.txt");
  ASSERT_GE(block.size, mirravel::kPackedHeaderSize);
  EXPECT_EQ(block.data[0], 'J');
  EXPECT_EQ(block.data[1], 'C');
  EXPECT_EQ(mirravel::PackedUnpackedSize(block.data, block.size), static_cast<std::int64_t>(text.size()));
  const std::uint32_t checksum = ReadLittleEndian32(block.data + 6);
  EXPECT_NE(checksum, 0u) << "the stored block carries a checksum";
  EXPECT_EQ(checksum, mirravel::BlockChecksum(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(EmbeddedCatalogueBlock, UnpacksToTheCommittedTextExactly) {
  const mirravel::EmbeddedBlock block = mirravel::CatalogueBlock();
  const std::string text = ReadDataFile("catalogue.txt");
  ASSERT_FALSE(text.empty()) << "data/catalogue.txt is missing";
  // One spare byte shows that the decoder stops at the text's end.
  std::vector<std::uint8_t> unpacked(text.size() + 1, 0xA5);
  const std::int32_t written = mirravel::UnpackBlock(block.data, block.size, unpacked.data(), unpacked.size());
  ASSERT_EQ(written, static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(unpacked.back(), 0xA5);
  const auto difference = std::mismatch(text.begin(), text.end(), unpacked.begin(),
                                        [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
  EXPECT_EQ(difference.first, text.end()) << "first difference at offset " << (difference.first - text.begin());
}

}  // namespace
