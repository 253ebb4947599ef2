#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using Drives = testing::TemporaryDrives;
namespace fs = std::filesystem;

TEST_F(Drives, MapsDriveLettersToConfiguredRootsWithForwardSlashes) {
  EXPECT_EQ(HostPath("C:\\MyData\\Global\\"), Root('C') + "/MyData/Global/");
  EXPECT_EQ(HostPath("c:\\MyData"), Root('C') + "/MyData");
  EXPECT_EQ(HostPath("C:"), Root('C'));
  EXPECT_EQ(HostPath("relative\\file.SPD"), "relative/file.SPD");
  EXPECT_EQ(HostPath("/already/host"), "/already/host");
}

// ".." is resolved on the library path, so no path reaches above its drive's root.
TEST_F(Drives, ResolvesDotsAndRefusesPathsThatLeaveTheirDrive) {
  const std::pair<const char*, const char*> normal[] = {
      {"C:\\a\\..\\b\\.\\c\\", "C:\\b\\c\\"},
      {"c:\\a\\\\b", "C:\\a\\b"},
      {"C:\\a/../b", "C:\\b"},
      {"C:\\a\\..", "C:\\"},
      {"C:", "C:\\"},
      {"C:\\MyData\\..\\MyData\\x.SPD", "C:\\MyData\\x.SPD"}};
  for (const auto& [path, resolved] : normal)
    EXPECT_EQ(NormaliseDrivePath(path), resolved) << path;
  EXPECT_EQ(HostPath("C:\\a\\..\\b\\"), Root('C') + "/b/");
  for (const char* outside : {"C:\\..", "C:\\..\\..\\tmp\\escape", "C:\\a\\..\\..\\b", "C:/../x"}) {
    EXPECT_EQ(NormaliseDrivePath(outside), std::nullopt) << outside;
    EXPECT_EQ(HostPath(outside), "") << outside;
  }
  EXPECT_EQ(NormaliseDrivePath("relative\\path"), std::nullopt);
}

TEST_F(Drives, SaysWhyADriveRootCannotBeUsed) {
  EXPECT_EQ(DriveRootProblem('C'), "");
  EXPECT_EQ(DriveRootProblem('q'), "drive Q: is not configured (set ORVALE_DRIVE_Q)");
  AddDrive('D');
  std::filesystem::remove_all(Root('D'));
  EXPECT_EQ(DriveRootProblem('D'), "ORVALE_DRIVE_D names " + Root('D') + ", which does not exist");
  WriteBytes(Root('D'), "a file");
  EXPECT_EQ(DriveRootProblem('D'), "ORVALE_DRIVE_D names " + Root('D') + ", not a folder");
  EXPECT_EQ(CreateFolder("D:\\"), FolderCreation::Failed) << "a configured root is never made";
}

TEST_F(Drives, TreatsOnlyConfiguredDrivesAsFixed) {
  EXPECT_TRUE(IsFixedDrive('C'));
  EXPECT_FALSE(IsFixedDrive('D'));
  EXPECT_EQ(HostPath("D:\\MyData\\"), "") << "an unconfigured drive must not fall back anywhere";
  AddDrive('D');
  EXPECT_TRUE(IsFixedDrive('d'));
  EXPECT_EQ(HostPath("D:\\MyData\\"), Root('D') + "/MyData/");
}

TEST_F(Drives, DefaultsDriveCToTheUsersDataHome) {
  ::unsetenv("ORVALE_DRIVE_C");
  ::setenv("XDG_DATA_HOME", "/xdg/data/", 1);
  EXPECT_EQ(DriveRoot('C'), "/xdg/data/orvale");
  ::unsetenv("XDG_DATA_HOME");
  ::setenv("HOME", "/home/surveyor", 1);
  EXPECT_EQ(DriveRoot('C'), "/home/surveyor/.local/share/orvale");
}

TEST_F(Drives, ListsFilesMatchingTheirNamesCaseForCaseSortedWithoutRegardToCase) {
  for (const char* name : {"beta.SPD", "Alpha.spd", "gamma.Spd", "delta.PRJ", "alpha.SPD.bak"}) {
    WriteBytes(std::string("C:\\") + name, "x");
  }
  fs::create_directory(Root() + "/folder.SPD");
  EXPECT_EQ(FindFiles("C:\\*.SPD"),
            (std::vector<std::string>{"Alpha.spd", "beta.SPD", "gamma.Spd"}));
  EXPECT_EQ(FindFiles("C:\\b*.SPD"), (std::vector<std::string>{"beta.SPD"}));
  EXPECT_TRUE(FindFiles("C:\\B*.SPD").empty()) << "names are matched case for case";
  EXPECT_EQ(FindFiles("C:\\?amma.spd"), (std::vector<std::string>{"gamma.Spd"}));
  EXPECT_TRUE(FindFiles("C:\\missing\\*.SPD").empty());
  EXPECT_TRUE(FindFiles("Q:\\*.SPD").empty());
  EXPECT_EQ(ListFiles("C:\\*.SPD").problem, "");
  EXPECT_EQ(ListFiles("C:\\missing\\*.SPD").problem,
            Root() + "/missing: No such file or directory");
  EXPECT_EQ(ListFiles("C:\\beta.SPD\\*.SPD").problem, Root() + "/beta.SPD: Not a directory");
}

TEST_F(Drives, FindsAFileWhoseExtensionDiffersOnlyInCase) {
  WriteBytes("C:\\Clarke.spd", "record");
  EXPECT_TRUE(FileExists("C:\\Clarke.SPD"));
  EXPECT_EQ(ResolveFilePath("C:\\Clarke.SPD"), Root() + "/Clarke.spd");
  EXPECT_FALSE(FileExists("C:\\clarke.SPD"));
  EXPECT_TRUE(DeleteFile("C:\\Clarke.SPD"));
  EXPECT_FALSE(FileExists("C:\\Clarke.spd"));
  EXPECT_FALSE(DeleteFile("C:\\Clarke.SPD"));
}

TEST_F(Drives, ReportsWhetherAFolderWasCreatedOrAlreadyThere) {
  EXPECT_EQ(CreateFolder("C:\\New\\"), FolderCreation::Created);
  EXPECT_EQ(CreateFolder("C:\\New"), FolderCreation::AlreadyExisted);
  EXPECT_EQ(CreateFolder("C:\\Missing\\Child\\"), FolderCreation::Failed);
  WriteBytes("C:\\AFile", "x");
  EXPECT_EQ(CreateFolder("C:\\AFile\\"), FolderCreation::Failed) << "a file is not a folder";
  EXPECT_EQ(CreateFolder("D:\\New\\"), FolderCreation::Failed);
  EXPECT_TRUE(FolderExists("C:\\New\\"));
  EXPECT_FALSE(FolderExists("C:\\AFile"));
  EXPECT_FALSE(FileExists("C:\\New"));
}

}  // namespace
}  // namespace orvale
