// QueryFileSize on real files and directories of a temporary directory.
#include <gtest/gtest.h>

#include "helpers/files.h"
#include "ports/file_system.h"
#include "support/file_size.h"

namespace mirravel {
namespace {

TEST(QueryFileSize, ReportsSizeMissingAndDirectory) {
  testing::TempDirectory dir;
  const std::string file = dir.WriteFile("tools.txt", std::string(1234, 'x'));
  const std::string empty = dir.WriteFile("empty.txt", "");
  EXPECT_EQ(QueryFileSize(file), 1234);
  EXPECT_EQ(QueryFileSize(empty), 0);
  EXPECT_EQ(QueryFileSize(dir.Path().string()), kPathIsDirectory);
  EXPECT_EQ(QueryFileSize((dir.Path() / "absent").string()), kPathMissing);
  EXPECT_EQ(QueryFileSize(""), kPathMissing);
}

TEST(QueryFileSize, IgnoresOneTrailingBackslash) {
  testing::TempDirectory dir;
  const std::string file = dir.WriteFile("a", "abc");
  EXPECT_EQ(QueryFileSize(file + "\\"), 3);
  EXPECT_EQ(QueryFileSize(file + "\\\\"), kPathMissing);
}

TEST(QueryFileSize, RejectsWildcardsAndOverlongPaths) {
  testing::TempDirectory dir;
  dir.WriteFile("match.txt", "abc");
  EXPECT_EQ(QueryFileSize((dir.Path() / "*.txt").string()), kPathMissing);
  EXPECT_EQ(QueryFileSize((dir.Path() / "match.tx?").string()), kPathMissing);
  EXPECT_EQ(QueryFileSize(std::string(kMaxPathLength + 1, 'a')), kPathMissing);
}

TEST(QueryFileSize, DriveLettersNeedAPresentDrive) {
  // The native build has no drives, so a drive root is looked up like any other (missing) path.
  EXPECT_FALSE(platform::IsDrivePresent('C'));
  EXPECT_EQ(QueryFileSize("C:"), kPathMissing);
  EXPECT_EQ(QueryFileSize("C:\\"), kPathMissing);
}

TEST(OwnExecutablePath, NamesTheRunningTestProgram) {
  const std::string path = platform::OwnExecutablePath();
  ASSERT_FALSE(path.empty());
  EXPECT_NE(path.find("mirravel_unit_tests"), std::string::npos);
  EXPECT_GT(QueryFileSize(path), 0);
}

}  // namespace
}  // namespace mirravel
