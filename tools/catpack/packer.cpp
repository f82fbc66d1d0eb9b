// The packer parses twice: the first parse shows which offsets the input needs, which sets the index
// widths that the second parse prices its matches with. The literal widths are then chosen over the
// final literals, and everything is written in one go.
#include "tools/catpack/packer.h"

#include "catalogue/unpack_block.h"
#include "tools/catpack/bit_writer.h"
#include "tools/catpack/code_schedule.h"
#include "tools/catpack/parse.h"

namespace mirravel::catpack {
namespace {

// Width 7 with a bias of 10 holds line breaks and printable ASCII, so text literals are priced so.
LiteralBitsTable EstimatedLiteralBits() {
  LiteralBitsTable bits{};
  for (std::size_t byte = 0; byte < bits.size(); ++byte) bits[byte] = byte >= 10 && byte <= 137 ? 8 : 9;
  return bits;
}

std::vector<std::uint32_t> ExplicitOffsets(const std::vector<Code>& codes) {
  std::vector<std::uint32_t> offsets;
  for (const Code& code : codes) {
    if (code.kind == CodeKind::kExplicitMatch) offsets.push_back(code.offset);
  }
  return offsets;
}

// The index width in force at each input position under the widths chosen for the codes' matches.
std::vector<std::uint8_t> IndexWidthByPosition(const std::vector<Code>& codes, std::size_t size) {
  const std::vector<std::uint8_t> widths = ChooseIndexWidths(ExplicitOffsets(codes));
  std::vector<std::uint8_t> byPosition(size, kInitialIndexWidth);
  std::size_t position = 0;
  std::size_t match = 0;
  std::uint8_t width = kInitialIndexWidth;
  for (const Code& code : codes) {
    if (code.kind == CodeKind::kExplicitMatch) width = widths[match++];
    for (std::size_t i = 0; i < code.length; ++i) byPosition[position + i] = width;
    position += code.length;
  }
  return byPosition;
}

class Emitter {
 public:
  Emitter(const std::uint8_t* data, const std::vector<Code>& codes, PackStats& stats)
      : data_(data), codes_(codes), stats_(stats) {}

  std::vector<std::uint8_t> Stream();

 private:
  void LiteralWidth(std::uint16_t state);
  void IndexWidth(std::uint32_t width);
  void RawBlock(std::size_t position, bool continued, bool more);
  void Copy(const Code& code);

  const std::uint8_t* data_;
  const std::vector<Code>& codes_;
  PackStats& stats_;
  BitWriter out_;
};

void Emitter::LiteralWidth(std::uint16_t state) {
  out_.Put(0b0010000, 7);
  if (state == kWidth8State) {
    out_.Put(0b01, 2);
  } else {
    out_.Put(0b00, 2);
    out_.Put(state, 8);
  }
  ++stats_.literalWidthChanges;
}

void Emitter::IndexWidth(std::uint32_t width) {
  const std::uint32_t lengthCode = width < 16 ? 1 : 2;
  out_.Put(0, 10);
  out_.Put(lengthCode, 2);
  out_.Put(width, lengthCode + 3);
  ++stats_.indexWidthChanges;
}

void Emitter::RawBlock(std::size_t position, bool continued, bool more) {
  if (!continued) out_.Put(0b00100001, 8);
  for (std::size_t i = 0; i < kRawBlockBytes; ++i) out_.Put(data_[position + i], 8);
  out_.Put(more ? 1 : 0, 1);
  ++stats_.rawBlocks;
}

void Emitter::Copy(const Code& code) {
  switch (code.kind) {
    case CodeKind::kOneByteCopy:
      out_.Put(0b001, 3);
      out_.Put(code.offset + 1, 4);
      ++stats_.oneByteCopies;
      break;
    case CodeKind::kZeroByte:
      out_.Put(0b0010001, 7);
      ++stats_.zeroBytes;
      break;
    case CodeKind::kShortMatch:
      out_.Put(0b000, 3);
      out_.Put(code.offset, 7);
      out_.Put(code.length - 2, 2);
      ++stats_.shortMatches;
      break;
    case CodeKind::kRepeatMatch:
      out_.Put(0b01, 2);
      out_.PutGamma(2);
      out_.PutGamma(code.length);
      ++stats_.repeatMatches;
      break;
    default:
      break;
  }
}

std::vector<std::uint8_t> Emitter::Stream() {
  std::vector<std::uint8_t> literals;
  std::vector<std::uint32_t> offsets;
  std::size_t position = 0;
  for (const Code& code : codes_) {
    if (code.kind == CodeKind::kLiteral) literals.push_back(data_[position]);
    if (code.kind == CodeKind::kExplicitMatch) offsets.push_back(code.offset);
    position += code.length;
  }
  const std::vector<std::uint16_t> literalStates = ChooseLiteralStates(literals);
  const std::vector<std::uint8_t> indexWidths = ChooseIndexWidths(offsets);

  std::uint32_t literalState = kLiteralStateCount;  // none chosen yet
  std::uint32_t indexWidth = kInitialIndexWidth;
  std::size_t literal = 0;
  std::size_t match = 0;
  position = 0;
  for (std::size_t i = 0; i < codes_.size(); ++i) {
    const Code& code = codes_[i];
    if (code.kind == CodeKind::kLiteral) {
      const std::uint16_t state = literalStates[literal++];
      if (state != literalState) LiteralWidth(state);
      literalState = state;
      out_.Put(1, 1);
      if (state == kWidth8State) {
        out_.Put(data_[position], 8);
      } else {
        out_.Put(static_cast<std::uint8_t>(data_[position] - state), 7);
      }
      ++stats_.literals;
    } else if (code.kind == CodeKind::kExplicitMatch) {
      const std::uint32_t width = indexWidths[match++];
      if (width != indexWidth) IndexWidth(width);
      indexWidth = width;
      out_.Put(0b01, 2);
      out_.PutGamma((code.offset >> width) + 3);
      out_.Put(code.offset & ((std::uint32_t{1} << width) - 1), width);
      out_.PutGamma(code.length - LengthCorrection(code.offset));
      ++stats_.explicitMatches;
    } else if (code.kind == CodeKind::kRawBlock) {
      const bool continued = i > 0 && codes_[i - 1].kind == CodeKind::kRawBlock;
      const bool more = i + 1 < codes_.size() && codes_[i + 1].kind == CodeKind::kRawBlock;
      RawBlock(position, continued, more);
    } else {
      Copy(code);
    }
    position += code.length;
  }
  out_.Put(0, 12);  // end code
  return out_.Finish();
}

void PutLittle32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

bool PackBlock(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& block, PackStats* stats) {
  block.clear();
  if (size > kMaxPackInput || (data == nullptr && size > 0)) return false;
  const LiteralBitsTable literalBits = EstimatedLiteralBits();
  const ParseSettings settings;
  std::vector<Code> codes;
  if (size > 0) {
    const std::vector<std::uint8_t> defaultWidths(size, kInitialIndexWidth);
    codes = ParseCheapest(data, size, defaultWidths, literalBits, settings);
    codes = ParseCheapest(data, size, IndexWidthByPosition(codes, size), literalBits, settings);
  }
  PackStats counted;
  const std::vector<std::uint8_t> stream = Emitter(data, codes, counted).Stream();
  if (stats != nullptr) *stats = counted;

  block = {'J', 'C'};
  PutLittle32(block, static_cast<std::uint32_t>(size));
  PutLittle32(block, BlockChecksum(data, size));
  block.insert(block.end(), stream.begin(), stream.end());
  return true;
}

}  // namespace mirravel::catpack
