// QueryFileSize on real files and directories of a temporary directory.
#include <gtest/gtest.h>

#include "helpers/files.h"
#include "support/file_size.h"

namespace mirravel {
namespace {

TEST(QueryFileSize, ReportsSizeMissingAndDirectory) {
  testing::TempDirectory dir;
  const std::string file = dir.WriteFile("tools.txt", std::string(1234, 'x'));
  const std::string directory = dir.Path().string();
  const std::pair<std::string, std::int64_t> cases[] = {
      {file, 1234}, {dir.WriteFile("empty.txt", ""), 0}, {directory, kPathIsDirectory},
      {directory + "/absent", kPathMissing}, {"", kPathMissing},
      {file + "\\", 1234}, {file + "\\\\", kPathMissing},  // one trailing backslash is ignored
      {dir.WriteFile("wild*?", "x"), kPathMissing},  // a wildcard matches nothing, not even its own name
      {std::string(kMaxPathLength + 1, 'a'), kPathMissing},
      {"C:", kPathMissing}, {"C:\\", kPathMissing},  // the native build has no drives
  };
  for (const auto& [path, size] : cases) EXPECT_EQ(QueryFileSize(path), size) << path;
}

}  // namespace
}  // namespace mirravel
