// UnpackBlock on hand-built streams: every code kind, the checksum, and every kind of malformed block.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "catalogue/unpack_block.h"

namespace mirravel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

void PutLittle32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Correction(std::uint32_t offset) {
  if (offset >= 0x10000) return 3;
  if (offset >= 0x37FF) return 2;
  if (offset >= 0x27F) return 1;
  if (offset >= 0x80) return 0;
  return 4;
}

// Writes codes bit by bit, independently of the packer, and keeps the bytes they should produce.
class StreamBuilder {
 public:
  void Bits(std::uint32_t value, std::uint32_t count) {
    for (std::uint32_t i = count; i-- > 0;) PutBit((value >> i) & 1);
  }
  void Gamma(std::uint32_t value) {
    std::uint32_t top = 31;
    while (((value >> top) & 1) == 0) --top;
    for (std::uint32_t i = top; i-- > 0;) {
      PutBit((value >> i) & 1);
      PutBit(i > 0 ? 1 : 0);
    }
  }

  void Width8() {
    Bits(0b0010000, 7);
    Bits(0b01, 2);
    width_ = 8;
    bias_ = 0;
  }
  void Width7(std::uint8_t bias) {
    Bits(0b0010000, 7);
    Bits(0b00, 2);
    Bits(bias, 8);
    width_ = 7;
    bias_ = bias;
  }
  void Literal(std::uint8_t byte) {
    PutBit(1);
    Bits(static_cast<std::uint8_t>(byte - bias_), width_);
    expected_.push_back(byte);
  }
  // A byte that the current literal width and bias can express.
  std::uint8_t FittingByte(std::uint32_t seed) const {
    return static_cast<std::uint8_t>(bias_ + (seed & ((1u << width_) - 1)));
  }
  void Literals(const std::string& text) {
    for (char c : text) Literal(static_cast<std::uint8_t>(c));
  }
  void ExplicitMatch(std::uint32_t offset, std::uint32_t length) {
    Bits(0b01, 2);
    Gamma((offset >> indexWidth_) + 3);
    Bits(offset & ((1u << indexWidth_) - 1), indexWidth_);
    Gamma(length - Correction(offset));
    Model(offset, length);
    last_ = offset;
  }
  void RepeatMatch(std::uint32_t length) {
    Bits(0b01, 2);
    Gamma(2);
    Gamma(length);
    Model(last_, length);
  }
  void ShortMatch(std::uint32_t offset, std::uint32_t length) {
    Bits(0b000, 3);
    Bits(offset, 7);
    Bits(length - 2, 2);
    Model(offset, length);
    last_ = offset;
  }
  void OneByteCopy(std::uint32_t offset) {
    Bits(0b001, 3);
    Bits(offset + 1, 4);
    Model(offset, 1);
  }
  void ZeroByte() {
    Bits(0b0010001, 7);
    expected_.push_back(0);
  }
  void RawBlocks(const Bytes& bytes) {  // a multiple of 256 bytes
    Bits(0b00100001, 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      Bits(bytes[i], 8);
      if (i % 256 == 255) PutBit(i + 1 < bytes.size() ? 1 : 0);
    }
    expected_.insert(expected_.end(), bytes.begin(), bytes.end());
  }
  void IndexWidth(std::uint32_t width, std::uint32_t lengthCode) {
    Bits(0, 10);
    Bits(lengthCode, 2);
    Bits(width, lengthCode + 3);
    indexWidth_ = width;
  }
  void End() { Bits(0, 12); }

  // Header, then the stream padded with zero bits to whole words.
  Bytes Block(std::uint32_t unpackedSize, std::uint32_t checksum) const {
    Bytes block(kPackedHeaderSize, 0);
    block[0] = 'J';
    block[1] = 'C';
    PutLittle32(block, 2, unpackedSize);
    PutLittle32(block, 6, checksum);
    std::vector<std::uint32_t> words = words_;
    if (bitCount_ % 32 != 0) words.push_back(current_ << (32 - bitCount_ % 32));
    for (std::uint32_t word : words) {
      block.resize(block.size() + 4);
      PutLittle32(block, block.size() - 4, word);
    }
    return block;
  }
  Bytes CheckedBlock() const {
    return Block(static_cast<std::uint32_t>(expected_.size()), BlockChecksum(expected_.data(), expected_.size()));
  }
  const Bytes& Expected() const { return expected_; }

 private:
  void PutBit(std::uint32_t bit) {
    current_ = (current_ << 1) | bit;
    if (++bitCount_ % 32 == 0) {
      words_.push_back(current_);
      current_ = 0;
    }
  }
  // Copies byte by byte; a copy reaching before the start (a malformed stream) models as zeros.
  void Model(std::uint32_t offset, std::uint32_t length) {
    for (std::uint32_t i = 0; i < length; ++i) {
      const std::uint8_t byte = offset <= expected_.size() ? expected_[expected_.size() - offset] : std::uint8_t{0};
      expected_.push_back(byte);
    }
  }

  std::vector<std::uint32_t> words_;
  std::uint32_t current_ = 0;
  std::size_t bitCount_ = 0;
  Bytes expected_;
  std::uint32_t width_ = 8;
  std::uint32_t bias_ = 0;
  std::uint32_t indexWidth_ = 8;
  std::uint32_t last_ = 1;
};

struct Decoded {
  std::int32_t result;
  Bytes bytes;  // the whole destination
};

Decoded Decode(const Bytes& block, std::size_t capacity) {
  Decoded decoded{0, Bytes(capacity, 0)};
  decoded.result = UnpackBlock(block.data(), block.size(), decoded.bytes.data(), capacity);
  return decoded;
}

// Decodes with a destination of the header's size; the result must be the whole model output.
void ExpectDecodes(const StreamBuilder& stream) {
  const Bytes& expected = stream.Expected();
  for (const Bytes& block : {stream.CheckedBlock(), stream.Block(static_cast<std::uint32_t>(expected.size()), 0)}) {
    const Decoded decoded = Decode(block, expected.size());
    ASSERT_EQ(decoded.result, static_cast<std::int32_t>(expected.size()));
    ASSERT_EQ(decoded.bytes, expected);
  }
}

// A failing block: with and without a checksum, and with the destination as large as the header says.
void ExpectRejected(const StreamBuilder& stream, std::uint32_t unpackedSize) {
  EXPECT_EQ(Decode(stream.Block(unpackedSize, 0), unpackedSize).result, 0);
  EXPECT_EQ(Decode(stream.Block(unpackedSize, 0x12345678), unpackedSize).result, 0);
}

Bytes RandomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

TEST(BlockChecksum, MatchesKnownValues) {
  const Bytes abcd = ToBytes("abcd");
  const Bytes abcdef = ToBytes("abcdef");
  const Bytes abc = ToBytes("abc");
  EXPECT_EQ(BlockChecksum(abcd.data(), abcd.size()), 0xACA5A6A2u);
  EXPECT_EQ(BlockChecksum(abcdef.data(), abcdef.size()), 0xDFC1C3C2u);
  EXPECT_EQ(BlockChecksum(abc.data(), abc.size()), 0u);
  EXPECT_EQ(BlockChecksum(nullptr, 0), 0u);
  // The last word overlaps the one before it, so every byte counts.
  const Bytes abcdeg = ToBytes("abcdeg");
  EXPECT_NE(BlockChecksum(abcdeg.data(), abcdeg.size()), 0xDFC1C3C2u);
}

TEST(PackedUnpackedSize, ReadsTheHeaderOrRejectsIt) {
  const Bytes block = {'J', 'C', 0x2E, 0x48, 0x0F, 0x00, 0, 0, 0, 0};
  EXPECT_EQ(PackedUnpackedSize(block.data(), block.size()), 1001518);
  EXPECT_EQ(PackedUnpackedSize(block.data(), kPackedHeaderSize - 1), -1);
  EXPECT_EQ(PackedUnpackedSize(nullptr, 10), -1);
  Bytes wrongMagic = block;
  wrongMagic[1] = 'D';
  EXPECT_EQ(PackedUnpackedSize(wrongMagic.data(), wrongMagic.size()), -1);
  const Bytes largest = {'J', 'C', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
  EXPECT_EQ(PackedUnpackedSize(largest.data(), largest.size()), 0xFFFFFFFFll);
}

TEST(UnpackBlock, DecodesTheWorkedExample) {
  const Bytes block = {0x4A, 0x43, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                       0x00, 0x56, 0x6C, 0xD8, 0x20, 0x00, 0x00, 0x00, 0x30};
  const Decoded decoded = Decode(block, 3);
  EXPECT_EQ(decoded.result, 3);
  EXPECT_EQ(decoded.bytes, ToBytes("abc"));

  StreamBuilder same;
  same.Width8();
  same.Literals("abc");
  same.End();
  EXPECT_EQ(same.Block(3, 0), block);
}

TEST(UnpackBlock, LiteralsUseWidthAndBias) {
  StreamBuilder stream;
  stream.Width7(10);
  stream.Literals("#ABE_BOTTOM = $3\r\n");
  stream.Literal(137);  // the top of the 7-bit window with bias 10
  stream.Width8();
  stream.Literal(0xFF);
  stream.Literal(0);
  stream.Width7(200);  // the window wraps: 200..255 and 0..71
  stream.Literal(255);
  stream.Literal(71);
  stream.End();
  ExpectDecodes(stream);
}

TEST(UnpackBlock, ExplicitOffsetsApplyTheLengthCorrection) {
  // Each boundary of the correction table, at the smallest and a longer length.
  const Bytes history = RandomBytes(256 * 280, 7);
  for (std::uint32_t offset : {1u, 127u, 128u, 638u, 639u, 14334u, 14335u, 65535u, 65536u, 70000u}) {
    for (std::uint32_t extra : {2u, 40u}) {
      StreamBuilder stream;
      stream.RawBlocks(history);
      stream.ExplicitMatch(offset, Correction(offset) + extra);
      stream.End();
      SCOPED_TRACE(offset);
      ExpectDecodes(stream);
    }
  }
}

TEST(UnpackBlock, IndexWidthChangesSplitOffsetsDifferently) {
  const Bytes history = RandomBytes(256 * 4, 11);
  // Width 0 puts the whole offset into the gamma number; 31 puts it all into the index bits.
  for (const auto& [width, lengthCode] : {std::pair{4u, 1u}, std::pair{0u, 1u}, std::pair{15u, 1u},
                                          std::pair{16u, 2u}, std::pair{31u, 2u}, std::pair{9u, 3u}}) {
    StreamBuilder stream;
    stream.RawBlocks(history);
    stream.IndexWidth(width, lengthCode);
    stream.ExplicitMatch(700, 9);
    stream.ExplicitMatch(3, 6);
    stream.ExplicitMatch(1000, 3);
    stream.End();
    SCOPED_TRACE(width);
    ExpectDecodes(stream);
  }
}

TEST(UnpackBlock, RepeatedOffsetStartsAtOneAndFollowsMatches) {
  StreamBuilder first;
  first.Width8();
  first.Literal('x');
  first.RepeatMatch(3);  // before any explicit offset: the byte just written
  first.End();
  ExpectDecodes(first);
  EXPECT_EQ(first.Expected(), ToBytes("xxxx"));

  // One-byte copies and zero bytes leave the last offset alone; short and explicit matches set it.
  StreamBuilder later;
  later.Width7(10);
  later.Literals("abcdefgh");
  later.ShortMatch(3, 2);  // "fg"
  later.OneByteCopy(10);   // "a"
  later.ZeroByte();
  later.RepeatMatch(2);  // offset 3 again
  later.Literals("ijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ#$=_' ");
  for (int i = 0; i < 3; ++i) later.Literals("ijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  later.ExplicitMatch(150, 2);
  later.OneByteCopy(14);
  later.RepeatMatch(5);  // offset 150
  later.End();
  ExpectDecodes(later);
}

TEST(UnpackBlock, OverlappingCopiesRepeatTheirPattern) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("ab");
  stream.ShortMatch(2, 5);
  stream.End();
  ExpectDecodes(stream);
  EXPECT_EQ(stream.Expected(), ToBytes("abababa"));

  // Long copies at every small offset go through the pattern-doubling path.
  for (std::uint32_t offset = 1; offset <= 20; ++offset) {
    StreamBuilder longer;
    longer.Width8();
    longer.Literals("0123456789abcdefghijklmnopqrstuvwxyz");
    longer.ExplicitMatch(offset, 300);
    longer.RepeatMatch(1000);
    longer.End();
    SCOPED_TRACE(offset);
    ExpectDecodes(longer);
  }
}

TEST(UnpackBlock, ShortCodesAndShortMatches) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  stream.Literals(std::string(120, 'q'));
  for (std::uint32_t offset = 1; offset <= 14; ++offset) stream.OneByteCopy(offset);
  stream.ZeroByte();
  stream.ZeroByte();
  for (std::uint32_t length = 2; length <= 5; ++length) stream.ShortMatch(1 + 7 * length, length);
  stream.ShortMatch(127, 5);
  stream.ShortMatch(127, 2);
  stream.End();
  ExpectDecodes(stream);
}

TEST(UnpackBlock, RawBlocksChainWithContinueBits) {
  const Bytes raw = RandomBytes(256 * 3, 3);
  StreamBuilder stream;
  stream.Width7(10);
  stream.Literal('r');
  stream.RawBlocks(raw);
  stream.Literal('s');
  stream.RawBlocks(RandomBytes(256, 4));
  stream.RepeatMatch(7);
  stream.End();
  ExpectDecodes(stream);
}

TEST(UnpackBlock, LongGammaNumbers) {
  // A length of 2^17 + 5 needs 17 gamma pairs, beyond the decoder's single-word shortcut.
  StreamBuilder stream;
  stream.Width8();
  stream.Literal('z');
  stream.RepeatMatch((1u << 17) + 5);
  stream.ExplicitMatch(1, (1u << 16) + 4);
  stream.End();
  ExpectDecodes(stream);
}

TEST(UnpackBlock, RandomValidStreamsMatchTheModel) {
  std::mt19937 random(2024);
  for (int round = 0; round < 200; ++round) {
    StreamBuilder stream;
    stream.Width8();
    stream.Literal(static_cast<std::uint8_t>(random()));
    std::uint32_t indexWidth = 8;
    bool hasMatch = false;
    for (int code = 0; code < 60; ++code) {
      const auto size = static_cast<std::uint32_t>(stream.Expected().size());
      const auto pick = [&random](std::uint32_t limit) { return 1 + static_cast<std::uint32_t>(random() % limit); };
      switch (random() % 9) {
        case 0: stream.Literal(stream.FittingByte(static_cast<std::uint32_t>(random()))); break;
        case 1: stream.Width7(static_cast<std::uint8_t>(random())); break;
        case 2: stream.Width8(); break;
        case 3: stream.ExplicitMatch(pick(size), 6 + pick(40)); hasMatch = true; break;
        case 4: stream.ShortMatch(pick(std::min(size, 127u)), 1 + pick(4)); hasMatch = true; break;
        case 5: stream.OneByteCopy(pick(std::min(size, 14u))); break;
        case 6: stream.ZeroByte(); break;
        case 7:
          if (hasMatch) stream.RepeatMatch(1 + pick(30));
          break;
        default:
          indexWidth = random() % 16;
          stream.IndexWidth(indexWidth, 1);
          break;
      }
    }
    stream.End();
    SCOPED_TRACE(round);
    ExpectDecodes(stream);
  }
}

TEST(UnpackBlock, ChecksumDecidesTheResult) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("abcd");
  stream.End();
  // The checksum covers the header's size, here including four untouched zero bytes.
  const Bytes padded = {'a', 'b', 'c', 'd', 0, 0, 0, 0};
  const std::uint32_t paddedSum = BlockChecksum(padded.data(), padded.size());
  EXPECT_EQ(Decode(stream.Block(8, paddedSum), 8).result, 4);
  EXPECT_EQ(Decode(stream.Block(4, 0xACA5A6A2u), 4).result, 4);
  EXPECT_EQ(Decode(stream.Block(4, 0xACA5A6A3u), 4).result, 0);
  // Without a checksum the count written is the result, even below the header's size.
  EXPECT_EQ(Decode(stream.Block(100, 0), 100).result, 4);
  // A checksum over more than the destination holds cannot be checked.
  EXPECT_EQ(Decode(stream.Block(8, paddedSum), 7).result, 0);
}

TEST(UnpackBlock, WrongMagicWritesNothing) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("abc");
  stream.End();
  for (std::size_t at : {0u, 1u}) {
    Bytes block = stream.Block(3, 0);
    block[at] ^= 0x20;
    Bytes destination(3, 0xEE);
    EXPECT_EQ(UnpackBlock(block.data(), block.size(), destination.data(), destination.size()), 0);
    EXPECT_EQ(destination, Bytes(3, 0xEE));
  }
}

TEST(UnpackBlock, RejectsNullPointersAndShortBlocks) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("abc");
  stream.End();
  const Bytes block = stream.Block(3, 0);
  Bytes destination(3, 0);
  EXPECT_EQ(UnpackBlock(nullptr, block.size(), destination.data(), 3), 0);
  EXPECT_EQ(UnpackBlock(block.data(), block.size(), nullptr, 3), 0);
  EXPECT_EQ(UnpackBlock(block.data(), kPackedHeaderSize - 1, destination.data(), 3), 0);
  // The stream needs the whole word that holds its end code.
  for (std::size_t size = kPackedHeaderSize; size < block.size(); ++size) {
    EXPECT_EQ(UnpackBlock(block.data(), size, destination.data(), 3), 0) << size;
  }
  EXPECT_EQ(UnpackBlock(block.data(), block.size(), destination.data(), 3), 3);
}

TEST(UnpackBlock, RejectsOffsetsBeforeTheOutput) {
  StreamBuilder shortMatch;
  shortMatch.Width8();
  shortMatch.Literals("ab");
  shortMatch.ShortMatch(3, 2);
  shortMatch.End();
  ExpectRejected(shortMatch, 100);

  StreamBuilder oneByte;
  oneByte.Width8();
  oneByte.OneByteCopy(1);
  oneByte.End();
  ExpectRejected(oneByte, 100);

  StreamBuilder repeated;  // offset 1 with nothing written yet
  repeated.Width8();
  repeated.RepeatMatch(2);
  repeated.End();
  ExpectRejected(repeated, 100);

  StreamBuilder far;
  far.Width8();
  far.Literals("abcdef");
  far.ExplicitMatch(7, 6);
  far.End();
  ExpectRejected(far, 100);

  StreamBuilder zero;  // gamma 3 with all index bits 0 is offset 0
  zero.Width8();
  zero.Literals("abcdef");
  zero.Bits(0b01, 2);
  zero.Gamma(3);
  zero.Bits(0, 8);
  zero.Gamma(2);
  zero.End();
  ExpectRejected(zero, 100);
}

TEST(UnpackBlock, RejectsWritesPastTheSizeOrCapacity) {
  StreamBuilder stream;
  stream.Width8();
  stream.Literals("abcd");
  stream.ShortMatch(4, 4);
  stream.End();
  const Bytes block = stream.Block(8, 0);
  EXPECT_EQ(Decode(block, 8).result, 8);
  EXPECT_EQ(Decode(block, 7).result, 0);
  EXPECT_EQ(Decode(stream.Block(7, 0), 8).result, 0);
  EXPECT_EQ(Decode(stream.Block(3, 0), 8).result, 0);

  // Every writing code is bounded: literal, zero byte, one-byte copy, raw block.
  StreamBuilder zeros;
  zeros.ZeroByte();
  zeros.ZeroByte();
  zeros.End();
  EXPECT_EQ(Decode(zeros.Block(1, 0), 1).result, 0);
  StreamBuilder copy;
  copy.ZeroByte();
  copy.OneByteCopy(1);
  copy.End();
  EXPECT_EQ(Decode(copy.Block(1, 0), 1).result, 0);
  StreamBuilder raw;
  raw.RawBlocks(RandomBytes(256, 1));
  raw.End();
  EXPECT_EQ(Decode(raw.Block(255, 0), 255).result, 0);
  EXPECT_EQ(Decode(raw.Block(256, 0), 256).result, 256);
}

TEST(UnpackBlock, RejectsMalformedCodes) {
  StreamBuilder noWidth;  // a literal before any literal-width code
  noWidth.Bits(1, 1);
  noWidth.Bits(0x61, 8);
  noWidth.End();
  ExpectRejected(noWidth, 10);

  StreamBuilder wideIndex;  // index width 32 cannot be used
  wideIndex.Bits(0, 10);
  wideIndex.Bits(3, 2);
  wideIndex.Bits(32, 6);
  wideIndex.End();
  ExpectRejected(wideIndex, 10);

  StreamBuilder hugeGamma;  // 33 gamma pairs do not fit in 32 bits
  hugeGamma.Width8();
  hugeGamma.Literal('a');
  hugeGamma.Bits(0b01, 2);
  hugeGamma.Gamma(2);
  for (int i = 0; i < 33; ++i) hugeGamma.Bits(0b11, 2);
  hugeGamma.Bits(0b10, 2);
  hugeGamma.End();
  ExpectRejected(hugeGamma, 10);

  StreamBuilder unfinished;  // no end code, and too few padding bits to read as one
  unfinished.Width8();
  unfinished.Literals("aa");
  ExpectRejected(unfinished, 100);
}

}  // namespace
}  // namespace mirravel
