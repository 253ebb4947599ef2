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
  RecordContents whole;
  ASSERT_TRUE(ReadRecord("Caf\xE9 1", "XYZ", 3, 4, whole).ok);
  EXPECT_EQ(whole.lines, (std::vector<std::string>{"Name \x01\r", "", "\xB0"}));
  EXPECT_EQ(whole.lines_read, 3u);
  EXPECT_EQ(whole.block, block);
  EXPECT_FALSE(whole.bytes_after_block);
  RecordContents longer;
  ASSERT_TRUE(ReadRecord("Caf\xE9 1", "XYZ", 5, 8, longer).ok);
  EXPECT_EQ(longer.lines_read, 4u) << "the block's line feed ends a fourth line";
  EXPECT_EQ(longer.lines[4], "");
  EXPECT_EQ(longer.block, "") << "nothing after the lines";
  RecordContents shorter;
  ASSERT_TRUE(ReadRecord("Caf\xE9 1", "XYZ", 3, 3, shorter).ok);
  EXPECT_TRUE(shorter.bytes_after_block) << "a byte is left after the block asked for";
  for (const char* title : {"Missing", ""}) {
    const RecordStatus status = ReadRecord(title, "XYZ", 1, 1, whole);
    EXPECT_FALSE(status.ok) << title;
    EXPECT_FALSE(status.reason.empty()) << title;
  }
  EXPECT_EQ(ReadRecord("Missing", "XYZ", 1, 1, whole).reason,
            "cannot be opened: No such file or directory");
}

// A file larger than the lines and block of its kind can be is refused by its size,
// before a byte of it is read.
TEST_F(RecordFile, RefusesAFileLargerThanItsLayoutWithoutReadingIt) {
  const std::size_t largest = 2 * (CStdioFile::kMaxLineLength + 1) + 8;
  WriteBytes(RecordFolder() + "Edge.XYZ", std::string(largest, '\n'));
  RecordContents contents;
  EXPECT_TRUE(ReadRecord("Edge", "XYZ", 2, 8, contents).ok);
  WriteBytes(RecordFolder() + "Edge.XYZ", std::string(largest + 1, '\n'));
  contents.lines = {"untouched"};
  const RecordStatus status = ReadRecord("Edge", "XYZ", 2, 8, contents);
  EXPECT_FALSE(status.ok);
  EXPECT_NE(status.reason.find(std::to_string(largest + 1) + " bytes"), std::string::npos)
      << status.reason;
  EXPECT_EQ(contents.lines, std::vector<std::string>{"untouched"});
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
  RecordContents team;
  ASSERT_TRUE(ReadRecord("Team", "XYZ", 1, 0, team).ok);
  EXPECT_EQ(team.lines[0], "Team");
}

}  // namespace
}  // namespace orvale
