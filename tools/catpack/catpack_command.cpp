// catpack's commands: files in and out, sizes bounded, every failure a one-line message.
#include "tools/catpack/catpack_command.h"

#include <cstdint>
#include <fstream>
#include <iterator>

#include "catalogue/unpack_block.h"
#include "tools/catpack/packer.h"

namespace mirravel::catpack {
namespace {

// A packed block never needs to be larger than its raw-block form of the largest input.
constexpr std::size_t kMaxBlockFile = kMaxPackInput + kMaxPackInput / 8 + 1024;
constexpr std::int64_t kMaxUnpackedSize = std::int64_t{1} << 30;

constexpr const char* kUsage =
    "usage: catpack pack IN OUT     pack a file into a JC block\n"
    "       catpack unpack IN OUT   unpack a JC block\n";

bool ReadWholeFile(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes, std::ostream& err) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    err << "catpack: cannot open " << path << "\n";
    return false;
  }
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > limit) {
    err << "catpack: " << path << " is too large (limit " << limit << " bytes)\n";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    err << "catpack: cannot read " << path << "\n";
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::uint8_t* bytes, std::size_t size, std::ostream& err) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  out.close();
  if (!out) {
    err << "catpack: cannot write " << path << "\n";
    return false;
  }
  return true;
}

int Pack(const std::string& inPath, const std::string& outPath, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> input;
  if (!ReadWholeFile(inPath, kMaxPackInput, input, err)) return 1;
  std::vector<std::uint8_t> block;
  if (!PackBlock(input.data(), input.size(), block)) {
    err << "catpack: cannot pack " << inPath << "\n";
    return 1;
  }
  // The block must read back exactly before it is handed to the build.
  std::vector<std::uint8_t> check(input.size());
  const std::int32_t checked = UnpackBlock(block.data(), block.size(), check.data(), check.size());
  if (static_cast<std::size_t>(checked) != input.size() || check != input) {
    err << "catpack: internal error: the packed block of " << inPath << " does not unpack to its input\n";
    return 1;
  }
  if (!WriteWholeFile(outPath, block.data(), block.size(), err)) return 1;
  out << "catpack: packed " << input.size() << " bytes into " << block.size() << " bytes\n";
  return 0;
}

int Unpack(const std::string& inPath, const std::string& outPath, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> block;
  if (!ReadWholeFile(inPath, kMaxBlockFile, block, err)) return 1;
  const std::int64_t size = PackedUnpackedSize(block.data(), block.size());
  if (size < 0) {
    err << "catpack: " << inPath << " is not a packed block (no \"JC\" header)\n";
    return 1;
  }
  if (size > kMaxUnpackedSize) {
    err << "catpack: " << inPath << " claims " << size << " unpacked bytes, more than catpack accepts\n";
    return 1;
  }
  std::vector<std::uint8_t> output(static_cast<std::size_t>(size));
  // A block of size 0 yields 0 whether or not its stream is sound; the format cannot tell them apart.
  const std::int32_t written = UnpackBlock(block.data(), block.size(), output.data(), output.size());
  if (written == 0 && size != 0) {
    err << "catpack: " << inPath << " is malformed or corrupt (it does not unpack)\n";
    return 1;
  }
  if (!WriteWholeFile(outPath, output.data(), static_cast<std::size_t>(written), err)) return 1;
  out << "catpack: unpacked " << written << " bytes\n";
  return 0;
}

}  // namespace

int RunCatpack(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.size() != 3 || (arguments[0] != "pack" && arguments[0] != "unpack")) {
    err << kUsage;
    return 2;
  }
  if (arguments[0] == "pack") return Pack(arguments[1], arguments[2], out, err);
  return Unpack(arguments[1], arguments[2], out, err);
}

}  // namespace mirravel::catpack
