// UnpackBlock on hand-built streams: every code kind, the checksum, and every kind of malformed block.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

#include "helpers/packed_stream.h"

namespace mirravel {
namespace {

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
  };
  for (const Codes& codes : malformed) EXPECT_EQ(Decode(Built(codes).Block(100, 0), 100), 0) << &codes - malformed;
}

}  // namespace
}  // namespace mirravel
