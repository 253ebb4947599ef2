// What every kind of record file shares: its title, its folder, and its lines and block.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/record_files.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using RecordFile = testing::TemporaryDrives;

TEST(RecordTitle, ComesFromThePathElseTheRecordsOwnElseItsNameAndCountry) {
  for (const testing::TextRow& c : testing::ReadTextTable("records/titles.txt", 5)) {
    EXPECT_EQ(SaveTitle(c[0], c[1], c[2], c[3]), c[4] == "-" ? "" : c[4]) << c.where;
  }
}

TEST_F(RecordFile, WritesLinesAndBlockAndReadsThemBackAsFarAsTheFileGoes) {
  const std::string block("\x01\x00\xFF\n", 4);
  ASSERT_TRUE(WriteRecord("Caf\xE9 1", "XYZ", {"Name \x01\r", "", "\xB0"}, block));
  EXPECT_EQ(ReadBytes(RecordFolder() + "Caf\xE9 1.XYZ"), "Name \x01\r\n\n\xB0\n" + block);
  const auto whole = ReadRecord("Caf\xE9 1", "XYZ", 3, 4);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->lines, (std::vector<std::string>{"Name \x01\r", "", "\xB0"}));
  EXPECT_EQ(whole->lines_read, 3u);
  EXPECT_EQ(whole->block, block);
  const auto longer = ReadRecord("Caf\xE9 1", "XYZ", 5, 8);
  ASSERT_TRUE(longer.has_value());
  EXPECT_EQ(longer->lines_read, 4u) << "the block's line feed ends a fourth line";
  EXPECT_EQ(longer->lines[4], "");
  EXPECT_EQ(longer->block, "") << "nothing after the lines";
  EXPECT_FALSE(ReadRecord("Missing", "XYZ", 1, 1).has_value());
  EXPECT_FALSE(ReadRecord("", "XYZ", 1, 1).has_value());
}

TEST_F(RecordFile, RefusesTitlesOutsideTheFolderAndLinesThatWouldNotReadBack) {
  std::vector<testing::TextRow> cases = testing::ReadTextTable("records/refused.txt", 2);
  cases.push_back({"an overlong line", {"Fine", std::string(CStdioFile::kMaxLineLength + 1, 'x')}});
  for (const testing::TextRow& c : cases) {
    EXPECT_FALSE(WriteRecord(c[0], "XYZ", {"First", c[1]}, "")) << c.where;
  }
  EXPECT_TRUE(FindFiles(RecordFolder() + "*.*").empty());
}

TEST_F(RecordFile, ListsByExtensionInNameOrderInTheRedirectedFolderWhenThereIsOne) {
  for (const char* title : {"Zeta", "alpha", "Mid"})
    ASSERT_TRUE(WriteRecord(title, "XYZ", {title}, ""));
  ASSERT_TRUE(WriteRecord("Other", "ABC", {"Other"}, ""));
  EXPECT_EQ(RecordFiles("XYZ"), (std::vector<std::string>{"alpha.XYZ", "Mid.XYZ", "Zeta.XYZ"}));

  ASSERT_TRUE(CreateFolders(kRedirectFolder));
  WriteBytes(kRedirectFile, "C:\\Shared\r\n");
  ASSERT_TRUE(WriteRecord("Team", "XYZ", {"Team"}, ""));
  EXPECT_TRUE(FileExists("C:\\Shared\\Global\\Team.XYZ"));
  EXPECT_EQ(RecordFiles("XYZ"), std::vector<std::string>{"Team.XYZ"});
  EXPECT_EQ(ReadRecord("Team", "XYZ", 1, 0)->lines[0], "Team");
}

}  // namespace
}  // namespace orvale
