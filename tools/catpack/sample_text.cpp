// Synthetic catalogue text: families of names built from a fixed vocabulary, hexadecimal values that
// mostly count up within a family, references, a few expressions and English-like comments.
#include "tools/catpack/sample_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace mirravel::catpack {
namespace {

constexpr std::array<const char*, 40> kFamilies = {
    "ERROR", "ERROR", "ERROR", "MM",     "MM",   "MCI",   "MCI",  "WM",    "NERR",  "IMAGE",
    "INTERNET", "WINHTTP", "VK",  "ACM",  "LVM",  "TVM",   "CB",   "BM",    "EM",    "WS",
    "SW",    "DDE",   "HKEY",  "FILE",   "SQL",  "CRYPT", "SE",   "RPC",   "LB",    "TB",
    "PSN",   "DM",    "CF",    "IDC",    "SM",   "COLOR", "SPI",  "MB",    "GW",    "HWND"};

constexpr std::array<const char*, 96> kWords = {
    "ACCESS", "DENIED", "FILE", "NOT", "FOUND", "INVALID", "HANDLE", "BUFFER", "TOO", "SMALL", "NAME",
    "PATH", "DEVICE", "DRIVER", "OPEN", "CLOSE", "READ", "WRITE", "DATA", "TYPE", "FLAG", "MODE", "SIZE",
    "TIME", "OUT", "NO", "MORE", "ITEMS", "LIMIT", "EXCEEDED", "SERVICE", "STATE", "START", "STOP",
    "PAUSE", "USER", "GROUP", "DOMAIN", "SERVER", "CLIENT", "QUERY", "VALUE", "KEY", "CLASS", "WINDOW",
    "TEXT", "ITEM", "LIST", "VIEW", "TREE", "HEADER", "STYLE", "EX", "GET", "SET", "INFO", "COUNT",
    "INDEX", "RECT", "POINT", "COLOR", "FONT", "BITMAP", "ICON", "CURSOR", "MENU", "DIALOG", "CONTROL",
    "NOTIFY", "CHANGE", "CREATE", "DELETE", "INSERT", "REMOVE", "SELECT", "FOCUS", "CAPTURE", "MOVE",
    "SIZE", "SHOW", "HIDE", "ENABLE", "DISABLE", "DEFAULT", "FIRST", "LAST", "NEXT", "PREV", "ALL",
    "NONE", "ANY", "SECTION", "SECURITY", "PRIVILEGE", "TOKEN", "PROCESS"};

constexpr std::array<const char*, 48> kCommentWords = {
    "the", "a", "of", "to", "is", "and", "for", "in", "not", "be", "was", "that", "this", "an", "by",
    "window", "file", "system", "specified", "cannot", "operation", "handle", "control", "message",
    "value", "data", "function", "parameter", "could", "found", "device", "network", "name", "request",
    "user", "access", "invalid", "buffer", "when", "item", "list", "returns", "sent", "object", "key",
    "service", "current", "default"};

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
  std::uint32_t Next() {  // xorshift32: the same sequence everywhere
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::uint32_t Below(std::uint32_t limit) { return Next() % limit; }
  bool Chance(std::uint32_t percent) { return Below(100) < percent; }

 private:
  std::uint32_t state_;
};

std::string Hex(std::uint32_t value) {
  char text[12];
  std::snprintf(text, sizeof text, "$%X", value);
  return text;
}

// Orders names ignoring case, with "_" before digits and letters.
int SortKey(char c) {
  if (c == '_') return 0;
  if (c >= 'a' && c <= 'z') return c - 32;
  return c;
}

bool NameLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return SortKey(x) < SortKey(y); });
}

std::string MakeName(Random& random) {
  std::string name = kFamilies[random.Below(kFamilies.size())];
  const std::uint32_t words = 1 + random.Below(4);
  for (std::uint32_t i = 0; i < words; ++i) {
    name += '_';
    name += kWords[random.Below(kWords.size())];
  }
  if (random.Chance(10)) name += std::to_string(random.Below(20));
  return name;
}

std::string MakeComment(Random& random) {
  std::string comment = " ' ";
  const std::uint32_t words = 3 + random.Below(10);
  for (std::uint32_t i = 0; i < words; ++i) {
    std::string word = kCommentWords[random.Below(kCommentWords.size())];
    if (i == 0) word[0] = static_cast<char>(word[0] - 32);
    comment += (i > 0 ? " " : "") + word;
  }
  return comment + ".";
}

}  // namespace

std::string MakeCatalogueLikeText(std::size_t targetBytes, std::uint32_t seed) {
  Random random(seed);
  struct Line {
    std::string name;
    std::string rest;
  };
  std::vector<Line> lines;
  std::size_t total = 0;
  while (total < targetBytes) {
    Line line{MakeName(random), ""};
    const std::uint32_t kind = random.Below(100);
    std::uint32_t number = random.Below(0x100);
    if (kind < 15) number = std::uint32_t{1} << random.Below(32);  // a flag
    else if (kind < 35) number = random.Below(0x10000);
    else if (kind < 40) number = random.Next();
    std::string value = Hex(number);
    if (random.Chance(3) && !lines.empty()) {
      value = "#" + lines[random.Below(static_cast<std::uint32_t>(lines.size()))].name;
    } else if (random.Chance(10)) {
      value = "(#WM_USER+ " + Hex(random.Below(0x400)) + ")";
    }
    line.rest = (random.Chance(1) ? "= " : " = ") + value;
    if (random.Chance(30)) line.rest += MakeComment(random);
    line.rest += "\r\n";
    total += 1 + line.name.size() + line.rest.size();
    lines.push_back(std::move(line));
  }
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return NameLess(a.name, b.name); });
  std::string text;
  text.reserve(total);
  for (const Line& line : lines) text += "#" + line.name + line.rest;
  return text;
}

}  // namespace mirravel::catpack
