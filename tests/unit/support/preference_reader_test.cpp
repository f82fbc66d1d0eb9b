// Matching rules of the preference reader on real files: groups, keys, numbers, strings, line ends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "helpers/files.h"
#include "support/preference_reader.h"

namespace mirravel {
namespace {

class PreferenceReaderTest : public ::testing::Test {
 protected:
  PreferenceReader& OpenText(const std::string& text) {
    path_ = dir_.WriteFile("jaPBe-Tools", text);
    EXPECT_TRUE(reader_.Open(path_));
    return reader_;
  }
  testing::TempDirectory dir_;
  std::string path_;
  PreferenceReader reader_;
};

TEST_F(PreferenceReaderTest, ReadsNumbersInEveryUsualSpelling) {
  const char* variants[] = {
      "[ToolsInfo]\r\nToolCount=5\r\n",
      "[ToolsInfo]\r\nToolCount =     5\r\n",
      "[ToolsInfo]\r\n   toolcount   =5\r\n",
      "[TOOLSINFO]\r\nTOOLCOUNT = 5 tools in all\r\n",
      "[toolsinfo]\nToolCount=5",
  };
  for (const char* text : variants) {
    OpenText(text);
    ASSERT_TRUE(reader_.SelectGroup("ToolsInfo")) << text;
    EXPECT_EQ(reader_.ReadLong("ToolCount", -1), 5) << text;
  }
}

TEST_F(PreferenceReaderTest, NumbersFollowAtoi) {
  OpenText("[G]\nA=12ab\nB=ab\nC=-3\nD=0x1F\nE=\t+8\nF=\nG=99999999999\n");
  ASSERT_TRUE(reader_.SelectGroup("G"));
  EXPECT_EQ(reader_.ReadLong("A", -1), 12);
  EXPECT_EQ(reader_.ReadLong("B", -1), 0);
  EXPECT_EQ(reader_.ReadLong("C", -1), -3);
  EXPECT_EQ(reader_.ReadLong("D", -1), 0);
  EXPECT_EQ(reader_.ReadLong("E", -1), 8);
  EXPECT_EQ(reader_.ReadLong("F", -1), 0);  // found but empty: 0, never a number from the next line
  EXPECT_EQ(reader_.ReadLong("G", -1), static_cast<std::int32_t>(99999999999LL & 0xFFFFFFFF));
  EXPECT_EQ(reader_.ReadLong("H", -1), -1);
}

TEST_F(PreferenceReaderTest, StringsKeepTrailingBlanksAndOrdinaryBytes) {
  OpenText("[Tool_1]\r\nMenuItemName=Mirravel  \r\nCommand=\r\nArguments= \"%1\" ; not a comment\r\n");
  ASSERT_TRUE(reader_.SelectGroup("Tool_1"));
  EXPECT_EQ(reader_.ReadString("MenuItemName", "default"), "Mirravel  ");
  EXPECT_EQ(reader_.ReadString("Command", "default"), "");
  EXPECT_EQ(reader_.ReadString("Arguments"), "\"%1\" ; not a comment");
  EXPECT_EQ(reader_.ReadString("Missing", "default"), "default");
  EXPECT_EQ(reader_.ReadString("Missing"), "");
}

TEST_F(PreferenceReaderTest, HeadersMustStartTheLine) {
  OpenText("  [ToolsInfo]\nToolCount=1\n[toolsinfo] trailing words\nToolCount=2\n");
  ASSERT_TRUE(reader_.SelectGroup("ToolsInfo"));
  EXPECT_EQ(reader_.ReadLong("ToolCount", -1), 2);
  EXPECT_FALSE(reader_.SelectGroup("ToolsInf"));
  EXPECT_FALSE(reader_.SelectGroup("ToolsInfoX"));
}

TEST_F(PreferenceReaderTest, KeysDoNotLeakAcrossGroups) {
  OpenText("Top=1\n[Tool_1]\nCommand=a\n[Tool_2]\nMenuItemName=b\n");
  EXPECT_EQ(reader_.ReadLong("Top", -1), 1);  // before any SelectGroup the start of the text is current
  ASSERT_TRUE(reader_.SelectGroup("Tool_1"));
  EXPECT_EQ(reader_.ReadString("MenuItemName", "none"), "none");
  EXPECT_EQ(reader_.ReadString("Command", "none"), "a");
  EXPECT_EQ(reader_.ReadLong("Top", -1), -1);
}

TEST_F(PreferenceReaderTest, EmptyAndMissingGroupNames) {
  OpenText("Top=1\n[A]\nTop=2\n");
  EXPECT_FALSE(reader_.SelectGroup(""));
  EXPECT_EQ(reader_.ReadLong("Top", -1), 1);
  EXPECT_FALSE(reader_.SelectGroup("Nope"));
  EXPECT_EQ(reader_.ReadLong("Top", -1), -1);  // even keys before the first header now give the default
  EXPECT_EQ(reader_.ReadString("Top", "d"), "d");
  EXPECT_EQ(reader_.ReadLong("", -7), -7);
}

TEST_F(PreferenceReaderTest, FirstOccurrenceWins) {
  OpenText("[G]\nK=1\nK=2\n[G]\nK=3\n");
  ASSERT_TRUE(reader_.SelectGroup("g"));
  EXPECT_EQ(reader_.ReadLong("k", -1), 1);
}

TEST_F(PreferenceReaderTest, CommentsKeysOfOtherLengthsAndLinesWithoutEquals) {
  OpenText("[G]\n  ; K=1\nKK=2\nK\nK x=3\nK = 4\n");
  ASSERT_TRUE(reader_.SelectGroup("G"));
  EXPECT_EQ(reader_.ReadLong("K", -1), 4);
  EXPECT_EQ(reader_.ReadLong("K x", -1), 3);  // inner blanks belong to the key
}

TEST_F(PreferenceReaderTest, CrLfAndLfFilesReadAlike) {
  for (const char* text : {"[G]\r\nA=1\r\nB=two\r\n", "[G]\nA=1\nB=two\n"}) {
    OpenText(text);
    ASSERT_TRUE(reader_.SelectGroup("G"));
    EXPECT_EQ(reader_.ReadLong("A", -1), 1);
    EXPECT_EQ(reader_.ReadString("B"), "two");
  }
}

TEST_F(PreferenceReaderTest, LfCrFilesStepOverTheCrOnlyForNumbersAndGroups) {
  OpenText("[G]\n\rA=1\n\rB=2\n\rS=x\n\r[H]\n\rC=3\n\r");
  ASSERT_TRUE(reader_.SelectGroup("H"));
  EXPECT_EQ(reader_.ReadLong("C", -1), 3);
  ASSERT_TRUE(reader_.SelectGroup("G"));
  EXPECT_EQ(reader_.ReadLong("B", -1), 2);
  EXPECT_EQ(reader_.ReadString("A"), "1");        // the group's first line is reached without a CR
  EXPECT_EQ(reader_.ReadString("S", "d"), "d");   // later lines start with the CR and match no key
}

TEST_F(PreferenceReaderTest, VeryLongLinesAreReadWhole) {
  const std::string longValue(200000, 'v');
  OpenText("[G]\nK=" + longValue + "\nN=9\n");
  ASSERT_TRUE(reader_.SelectGroup("G"));
  EXPECT_EQ(reader_.ReadString("K"), longValue);
  EXPECT_EQ(reader_.ReadLong("N", -1), 9);
}

TEST(PreferenceReader, MissingFileLeavesTheReaderClosed) {
  testing::TempDirectory dir;
  PreferenceReader reader;
  EXPECT_FALSE(reader.Open((dir.Path() / "absent").string()));
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(reader.SelectGroup("G"));
  EXPECT_EQ(reader.ReadLong("K", 42), 42);
  EXPECT_EQ(reader.ReadString("K", "d"), "d");
  EXPECT_FALSE(reader.Open(dir.Path().string()));  // a directory is not a preference file
  reader.Close();                                   // harmless when nothing is open
}

TEST(PreferenceReader, OpeningAnotherFileClosesTheFirst) {
  testing::TempDirectory dir;
  PreferenceReader reader;
  ASSERT_TRUE(reader.Open(dir.WriteFile("one", "[G]\nK=1\n")));
  ASSERT_TRUE(reader.Open(dir.WriteFile("two", "K=2\n")));
  EXPECT_EQ(reader.ReadLong("K", -1), 2);
  EXPECT_FALSE(reader.Open((dir.Path() / "absent").string()));
  EXPECT_EQ(reader.ReadLong("K", -1), -1);
}

TEST(PreferenceReader, DeniesWritersWhileOpen) {
  testing::TempDirectory dir;
  const std::string path = dir.WriteFile("jaPBe-Tools", "[G]\nK=1\n");
  PreferenceReader reader;
  ASSERT_TRUE(reader.Open(path));
  // Another process asking for a write lock is refused while the reader holds the file.
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(path.c_str(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ::_exit(fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0 ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "a writer got the lock while the reader held the file";
  reader.Close();
}

}  // namespace
}  // namespace mirravel
