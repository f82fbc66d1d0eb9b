// Packed blocks written code by code, independently of the packer, with the bytes they must unpack to.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/unpack_block.h"

namespace mirravel::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes RandomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bytes bytes(count);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
  return bytes;
}

// Added to an explicit match's length, by the offset's range.
inline std::uint32_t Correction(std::uint32_t offset) {
  return offset >= 0x10000 ? 3 : offset >= 0x37FF ? 2 : offset >= 0x27F ? 1 : offset >= 0x80 ? 0 : 4;
}

// Each code returns the builder, so a stream reads as one chain of codes.
class StreamBuilder {
 public:
  StreamBuilder& Bits(std::uint32_t value, std::uint32_t count) {
    for (std::uint32_t i = count; i-- > 0;) PutBit((value >> i) & 1);
    return *this;
  }
  StreamBuilder& Gamma(std::uint32_t value) {
    std::uint32_t top = 31;
    while (((value >> top) & 1) == 0) --top;
    for (std::uint32_t i = top; i-- > 0;) Bits((value >> i) & 1, 1).Bits(i > 0 ? 1 : 0, 1);
    return *this;
  }
  StreamBuilder& Width8() { return SetLiterals(8, 0).Bits(0b0010000, 7).Bits(0b01, 2); }
  StreamBuilder& Width7(std::uint8_t bias) { return SetLiterals(7, bias).Bits(0b0010000, 7).Bits(0b00, 2).Bits(bias, 8); }
  StreamBuilder& Literal(std::uint8_t byte) { return Put(byte).Bits(1, 1).Bits(static_cast<std::uint8_t>(byte - bias_), width_); }
  StreamBuilder& Literals(std::string_view text) {
    for (char c : text) Literal(static_cast<std::uint8_t>(c));
    return *this;
  }
  std::uint8_t FittingByte(std::uint32_t seed) const { return static_cast<std::uint8_t>(bias_ + (seed & ((1u << width_) - 1))); }
  StreamBuilder& ExplicitMatch(std::uint32_t offset, std::uint32_t length) {
    Bits(0b01, 2).Gamma((offset >> indexWidth_) + 3).Bits(offset & ((1u << indexWidth_) - 1), indexWidth_);
    last_ = offset;
    return Gamma(length - Correction(offset)).Model(offset, length);
  }
  StreamBuilder& RepeatMatch(std::uint32_t length) { return Bits(0b01, 2).Gamma(2).Gamma(length).Model(last_, length); }
  StreamBuilder& ShortMatch(std::uint32_t offset, std::uint32_t length) {
    last_ = offset;
    return Bits(0b000, 3).Bits(offset, 7).Bits(length - 2, 2).Model(offset, length);
  }
  StreamBuilder& OneByteCopy(std::uint32_t offset) { return Bits(0b001, 3).Bits(offset + 1, 4).Model(offset, 1); }
  StreamBuilder& ZeroByte() { return Put(0).Bits(0b0010001, 7); }
  StreamBuilder& RawBlocks(const Bytes& bytes) {  // a multiple of 256 bytes
    Bits(0b00100001, 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      Bits(bytes[i], 8);
      if (i % 256 == 255) Bits(i + 1 < bytes.size() ? 1 : 0, 1);
    }
    expected_.insert(expected_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  StreamBuilder& IndexWidth(std::uint32_t width, std::uint32_t lengthCode) {
    indexWidth_ = width;
    return Bits(0, 10).Bits(lengthCode, 2).Bits(width, lengthCode + 3);
  }
  StreamBuilder& End() { return Bits(0, 12); }

  // Header, then the stream padded with zero bits to whole words.
  Bytes Block(std::uint32_t unpackedSize, std::uint32_t checksum) const {
    Bytes block = {'J', 'C'};
    for (const std::uint32_t field : {unpackedSize, checksum}) PutLittle32(block, field);
    for (const std::uint32_t word : words_) PutLittle32(block, word);
    if (bitCount_ % 32 != 0) PutLittle32(block, current_ << (32 - bitCount_ % 32));
    return block;
  }
  const Bytes& Expected() const { return expected_; }

 private:
  StreamBuilder& SetLiterals(std::uint32_t width, std::uint32_t bias) { return width_ = width, bias_ = bias, *this; }
  StreamBuilder& Put(std::uint8_t byte) { return expected_.push_back(byte), *this; }
  static void PutLittle32(Bytes& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void PutBit(std::uint32_t bit) {
    current_ = (current_ << 1) | bit;
    if (++bitCount_ % 32 == 0) words_.push_back(std::exchange(current_, 0u));
  }
  // Copies byte by byte; a copy reaching before the start (a malformed stream) models as zeros.
  StreamBuilder& Model(std::uint32_t offset, std::uint32_t length) {
    for (std::uint32_t i = 0; i < length; ++i) {
      expected_.push_back(offset <= expected_.size() ? expected_[expected_.size() - offset] : std::uint8_t{0});
    }
    return *this;
  }

  std::vector<std::uint32_t> words_;
  std::uint32_t current_ = 0;
  std::size_t bitCount_ = 0;
  Bytes expected_;
  std::uint32_t width_ = 8, bias_ = 0, indexWidth_ = 8, last_ = 1;
};

// A valid block of 8-bit literals whose header states sizeField (the text's length unless given).
inline Bytes LiteralBlock(std::string_view text, std::int64_t sizeField = -1) {
  const auto size = static_cast<std::uint32_t>(sizeField < 0 ? static_cast<std::int64_t>(text.size()) : sizeField);
  return StreamBuilder().Width8().Literals(text).End().Block(size, BlockChecksum(ToBytes(text).data(), text.size()));
}

}  // namespace mirravel::testing
