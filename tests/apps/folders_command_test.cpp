// orvale folders, and what the three commands that read the record folder (folders,
// spheroids, projections) say when it, its redirect, a drive or their output fails.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "run_cli.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::CliRun;
using testing::RunCli;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class FoldersCommand : public testing::TemporaryDrives {
 protected:
  void Redirect(const std::string& line) {
    ASSERT_TRUE(CreateFolders(kRedirectFolder));
    WriteBytes(kRedirectFile, line + "\r\n");
  }
};

TEST_F(FoldersCommand, ShowsTheDrivesAndFoldersAndTheRedirectItFollows) {
  const CliRun plain = RunCli({"folders"});
  EXPECT_EQ(plain.status, cli::kExitOk) << plain.err;
  EXPECT_NE(
      plain.out.find("Record folder:    C:\\MyData\\Global\\  ->  " + Root() + "/MyData/Global/\n"),
      std::string::npos)
      << plain.out;
  // The folder named, with Global\ in it, as for every record.
  Redirect("C:\\Elsewhere");
  const CliRun redirected = RunCli({"folders"});
  EXPECT_EQ(redirected.status, cli::kExitOk) << redirected.err;
  EXPECT_NE(redirected.out.find("Record folder:    C:\\Elsewhere\\Global\\  ->  " + Root() +
                                "/Elsewhere/Global/\n                  (redirected by"),
            std::string::npos)
      << redirected.out;
}

// A redirect that names no folder on its drive is said once by each command, which
// then reads the data folder and ends with status 1; nothing is made outside a drive.
TEST_F(FoldersCommand, ReportsARedirectItCannotFollowOnceAndMakesNothingOutsideTheDrive) {
  Redirect("C:\\..\\..\\escape");
  for (const char* command : {"folders", "spheroids", "projections"}) {
    const CliRun run = RunCli({command});
    EXPECT_EQ(run.status, cli::kExitBadInput) << command;
    EXPECT_EQ(Count(run.err, "MyData.INI"), 1u) << command << ": " << run.err;
    EXPECT_NE(run.err.find("leads out of drive C: through '..'; records are taken from "
                           "C:\\MyData\\Global\\ instead"),
              std::string::npos)
        << run.err;
  }
  const auto outside = std::filesystem::path(Root()).parent_path();
  EXPECT_FALSE(std::filesystem::exists(outside / "escape"));
  EXPECT_FALSE(std::filesystem::exists(outside.parent_path() / "escape"));
  Redirect("Q:\\Shared");
  EXPECT_NE(RunCli({"spheroids"}).err.find("drive Q: is not configured (set ORVALE_DRIVE_Q)"),
            std::string::npos);
}

TEST_F(FoldersCommand, NamesAMisspeltDriveVariableAndMakesNoFolderForIt) {
  const std::string misspelt = Root() + "/no/such/root";
  ::setenv("ORVALE_DRIVE_C", misspelt.c_str(), 1);
  for (const char* command : {"folders", "spheroids", "projections"}) {
    const CliRun run = RunCli({command});
    EXPECT_EQ(run.status, cli::kExitBadInput) << command;
    EXPECT_NE(run.err.find("there is no record folder: ORVALE_DRIVE_C names " + misspelt +
                           ", which does not exist"),
              std::string::npos)
        << command << ": " << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Root() + "/no"));
  const std::string missing_d = Root() + "/no-d";
  ::setenv("ORVALE_DRIVE_C", Root().c_str(), 1);
  ::setenv("ORVALE_DRIVE_D", missing_d.c_str(), 1);
  const CliRun run = RunCli({"spheroids"});
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_NE(run.err.find("ORVALE_DRIVE_D names " + missing_d + ", which does not exist"),
            std::string::npos)
      << run.err;
}

TEST_F(FoldersCommand, ReportsARecordFolderThatIsAFileOrCannotBeRead) {
  ASSERT_TRUE(CreateFolders("C:\\MyData\\"));
  WriteBytes("C:\\MyData\\Global", "a file");
  for (const char* command : {"folders", "spheroids", "projections"}) {
    const CliRun run = RunCli({command});
    EXPECT_EQ(run.status, cli::kExitBadInput) << command;
    EXPECT_NE(run.err.find("there is no record folder: C:\\MyData\\Global is a file, not a folder"),
              std::string::npos)
        << command << ": " << run.err;
  }
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any folder; run as another user to check";
  std::filesystem::remove(Root() + "/MyData/Global");
  ASSERT_TRUE(CreateFolders("C:\\MyData\\Global\\"));
  std::filesystem::permissions(Root() + "/MyData/Global", std::filesystem::perms::owner_write |
                                                              std::filesystem::perms::owner_exec);
  for (const char* command : {"folders", "spheroids", "projections"}) {
    const CliRun run = RunCli({command});
    EXPECT_EQ(run.status, cli::kExitBadInput) << command;
    EXPECT_NE(run.err.find("cannot be listed: " + Root() + "/MyData/Global: Permission denied"),
              std::string::npos)
        << command << ": " << run.err;
  }
}

// The bytes a row of unreadable_files.txt describes.
void WriteContents(const std::string& host, const std::string& contents) {
  std::istringstream words(contents);
  std::string kind;
  words >> kind;
  std::string bytes;
  if (kind == "random") {
    std::size_t size = 0;
    words >> size;
    std::mt19937 noise(20261206);
    for (std::size_t i = 0; i < size; ++i)
      bytes += static_cast<char>(noise() & 0xFF);
  } else if (kind == "spheroid") {
    double a = 0, b = 0, rf = 0;
    words >> a >> b >> rf;
    bytes = "Name\nCountry\n";
    for (double value : {a, b, rf})
      AppendDoubleLe(bytes, value);
  } else if (kind == "projection") {
    int type = 0, method = 0;
    words >> type >> method;
    bytes = "Name\n\n\n\n";
    AppendInt32Le(bytes, type);
    AppendInt32Le(bytes, method);
    for (double value : {0.0, 0.0, 0.0, 0.0, 1.0, 0.5, 0.6})
      AppendDoubleLe(bytes, value);
  }
  std::ofstream(host, std::ios::binary) << bytes;
  if (kind == "sparse") {
    std::uintmax_t size = 0;
    words >> size;
    std::filesystem::resize_file(host, size);
  }
}

// Files that are no record are listed by name (spheroids) or counted for no type
// (projections), the reason said on standard error, and the status is 1; no value of
// theirs is shown.
TEST_F(FoldersCommand, ListingsNameEveryFileThatIsNoRecordWithItsReason) {
  const std::string global = Root() + "/MyData/Global/";
  ASSERT_TRUE(CreateFolders("C:\\MyData\\Global\\"));
  for (const testing::TextRow& c : testing::ReadTextTable("records/unreadable_files.txt", 4)) {
    WriteContents(global + c[1], c[2]);
    const CliRun run = RunCli({c[0], "--csv"});
    EXPECT_EQ(run.status, cli::kExitBadInput) << c.where;
    EXPECT_NE(run.err.find(c[1] + ": cannot be read: " + c[3]), std::string::npos)
        << c.where << ": " << run.err;
    EXPECT_EQ(run.out.find("Name"), std::string::npos) << c.where << ": nothing of it is shown";
    std::filesystem::remove(global + c[1]);
  }
}

}  // namespace
}  // namespace orvale
