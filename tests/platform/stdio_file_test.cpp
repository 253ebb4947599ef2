#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <tuple>

#include <sys/resource.h>
#include <unistd.h>

#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using StdioFile = testing::TemporaryDrives;

std::vector<std::string> ReadAllLines(std::string_view path) {
  CStdioFile file;
  std::vector<std::string> lines;
  if (!file.Open(path, FileMode::ReadText)) return lines;
  for (std::string line; file.ReadString(line);)
    lines.push_back(line);
  return lines;
}

TEST_F(StdioFile, WritesTextLinesWithCrLfAndReadsLinesEndedEitherWay) {
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\lines.txt", FileMode::WriteText));
  file.WriteString("one\ntwo\n\nthree");
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes("C:\\lines.txt"), "one\r\ntwo\r\n\r\nthree");
  EXPECT_EQ(ReadAllLines("C:\\lines.txt"), (std::vector<std::string>{"one", "two", "", "three"}));
  WriteBytes("C:\\unix.txt", "a\nb\r\nc\n");
  EXPECT_EQ(ReadAllLines("C:\\unix.txt"), (std::vector<std::string>{"a", "b", "c"}))
      << "a bare line feed ends a line too";
}

TEST_F(StdioFile, WritesBinaryBytesUntouched) {
  const std::string bytes("A\nB\r\0\xFF", 6);
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\record.bin", FileMode::WriteBinary));
  file.Write(bytes.data(), bytes.size());
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadBytes("C:\\record.bin"), bytes);

  ASSERT_TRUE(file.Open("C:\\record.bin", FileMode::ReadBinary));
  EXPECT_EQ(file.GetLength(), 6u);
  char back[8] = {};
  EXPECT_EQ(file.Read(back, sizeof back), 6u);
  EXPECT_EQ(std::string(back, 6), bytes);
}

TEST_F(StdioFile, LeavesTheOldFileWholeUntilTheNewOneIsComplete) {
  WriteBytes("C:\\settings.INI", "old contents\r\n");
  {
    CStdioFile file;
    ASSERT_TRUE(file.Open("C:\\settings.INI", FileMode::WriteText));
    file.WriteString("new contents\n");
    EXPECT_EQ(ReadBytes("C:\\settings.INI"), "old contents\r\n");
  }
  EXPECT_EQ(ReadBytes("C:\\settings.INI"), "new contents\r\n");
  EXPECT_EQ(FindFiles("C:\\*").size(), 1u) << "no temporary file may be left behind";
}

TEST_F(StdioFile, KeepsTheOldFileWhenTheDiskRefusesTheNewOne) {
  WriteBytes("C:\\record.PRJ", "the good record");
  // A file-size limit makes the disk refuse the write, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  CStdioFile file;
  const bool opened = file.Open("C:\\record.PRJ", FileMode::WriteBinary);
  const std::string big(1 << 16, 'x');
  file.Write(big.data(), big.size());
  const bool closed = file.Close();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous_handler);
  ASSERT_TRUE(opened);
  EXPECT_FALSE(closed);
  EXPECT_EQ(ReadBytes("C:\\record.PRJ"), "the good record");
  EXPECT_EQ(FindFiles("C:\\*").size(), 1u) << "the failed temporary file must be removed";
}

TEST_F(StdioFile, ReplacesAFileWhoseExtensionDiffersInCaseRatherThanAddingASecond) {
  WriteBytes("C:\\Airy.spd", "old");
  CStdioFile file;
  ASSERT_TRUE(file.Open("C:\\Airy.SPD", FileMode::WriteBinary));
  file.Write("new", 3);
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(FindFiles("C:\\*.SPD"), (std::vector<std::string>{"Airy.spd"}));
  EXPECT_EQ(ReadBytes("C:\\Airy.spd"), "new");
}

// Each refusal says why, in words a user can act on.
TEST_F(StdioFile, RefusesToOpenWhatIsNotThereOrCannotBeWritten) {
  CStdioFile file;
  std::filesystem::create_directory(Root() + "/folder");
  const std::tuple<const char*, FileMode, const char*> refused[] = {
      {"C:\\missing.txt", FileMode::ReadText, "No such file or directory"},
      {"C:\\no folder\\new.txt", FileMode::WriteText, "No such file or directory"},
      {"", FileMode::ReadText, "no path"},
      {"Z:\\x.txt", FileMode::WriteText, "not on a configured drive, or leads out of its drive"},
      {"C:\\..\\outside.txt", FileMode::WriteText,
       "not on a configured drive, or leads out of its drive"},
      {"C:\\folder", FileMode::ReadText, "not a regular file"},
  };
  for (const auto& [path, mode, why] : refused) {
    EXPECT_FALSE(file.Open(path, mode)) << path;
    EXPECT_EQ(file.OpenProblem(), why) << path;
  }
  EXPECT_FALSE(std::filesystem::exists(Root() + "/../outside.txt"));
  std::string line;
  EXPECT_FALSE(file.ReadString(line));
  EXPECT_EQ(file.Read(&line, 0), 0u);
  EXPECT_FALSE(file.Close());
}

TEST_F(StdioFile, SaysWhenAFileMayNotBeRead) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may read any file; run as another user to check";
  WriteBytes("C:\\locked.txt", "x");
  std::filesystem::permissions(Root() + "/locked.txt", std::filesystem::perms::none);
  CStdioFile file;
  EXPECT_FALSE(file.Open("C:\\locked.txt", FileMode::ReadText));
  EXPECT_EQ(file.OpenProblem(), "Permission denied");
}

TEST_F(StdioFile, CutsAnOverlongLineAndGoesOnWithTheNextOne) {
  std::string bytes(3 * CStdioFile::kMaxLineLength, 'x');
  bytes += "\r\nnext\r\n";
  WriteBytes("C:\\long.txt", bytes);
  const auto lines = ReadAllLines("C:\\long.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), CStdioFile::kMaxLineLength);
  EXPECT_EQ(lines[1], "next");
}

}  // namespace
}  // namespace orvale
