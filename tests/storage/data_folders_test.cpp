#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using DataFolders = testing::TemporaryDrives;

TEST_F(DataFolders, CreatesTheDataRootAndSubfolderOnCWhenNothingExists) {
  const FolderResult first = GetDataFolder("Global");
  EXPECT_TRUE(first.ok);
  EXPECT_EQ(first.path, "C:\\MyData\\Global\\");
  EXPECT_TRUE(FolderExists("C:\\MyData\\"));
  EXPECT_TRUE(FolderExists("C:\\MyData\\Global\\"));
  const FolderResult second = GetDataFolder("Global");
  EXPECT_TRUE(second.ok);
  EXPECT_EQ(second.path, first.path);
  EXPECT_EQ(GetDataFolder().path, "C:\\MyData\\");
}

TEST_F(DataFolders, MakesTheDefaultDriveCOnFirstUse) {
  ::unsetenv("ORVALE_DRIVE_C");
  const std::string xdg = Root('C') + "/not/yet/made";
  ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  const FolderResult data = GetDataFolder("Global");
  EXPECT_TRUE(data.ok) << data.problem;
  EXPECT_TRUE(std::filesystem::is_directory(xdg + "/orvale/MyData/Global"));
  EXPECT_EQ(GetSettingsFolder(), "C:\\MySettings\\Orvale\\");
  EXPECT_TRUE(std::filesystem::is_directory(xdg + "/orvale/MySettings/Orvale"));
  ::unsetenv("XDG_DATA_HOME");
}

// A root the user named and misspelt must not grow folders: it is an error that names
// the variable, and records are neither read nor written anywhere else.
TEST_F(DataFolders, NeverMakesADriveRootTheUserNamed) {
  const std::string misspelt = Root('C') + "/misspelt/deeper";
  ::setenv("ORVALE_DRIVE_C", misspelt.c_str(), 1);
  const FolderResult data = GetDataFolder("Global");
  EXPECT_FALSE(data.ok);
  EXPECT_EQ(data.problem, "ORVALE_DRIVE_C names " + misspelt + ", which does not exist");
  EXPECT_FALSE(GetDriveFolder("Global").ok);
  const RecordFolderResult records = FindRecordFolder();
  EXPECT_FALSE(records.folder.ok);
  EXPECT_NE(records.folder.problem.find("ORVALE_DRIVE_C"), std::string::npos);
  EXPECT_EQ(RecordFolder(), "");
  static_cast<void>(GetSettingsFolder());
  EXPECT_FALSE(std::filesystem::exists(Root('C') + "/misspelt"));
  AddDrive('D');
  std::filesystem::remove_all(Root('D'));
  EXPECT_EQ(DriveRootProblem('D'), "ORVALE_DRIVE_D names " + Root('D') + ", which does not exist");
  EXPECT_FALSE(FindFolder("MyData").ok);
  EXPECT_FALSE(std::filesystem::exists(Root('D')));
}

TEST_F(DataFolders, MakesAMissingFolderOnTheFirstFixedDriveAfterC) {
  AddDrive('E');
  AddDrive('D');
  const FolderResult data = GetDataFolder("Global");
  EXPECT_TRUE(data.ok);
  EXPECT_EQ(data.path, "D:\\MyData\\Global\\");
  EXPECT_FALSE(FolderExists("C:\\MyData\\"));
  EXPECT_EQ(FindFolder("MySettings").path, "D:\\MySettings\\");
}

TEST_F(DataFolders, PrefersAnExistingDataRootInDriveOrder) {
  AddDrive('D');
  AddDrive('E');
  ASSERT_TRUE(CreateFolders("E:\\MyData\\"));
  EXPECT_EQ(GetDataFolder("Global").path, "E:\\MyData\\Global\\");
  ASSERT_TRUE(CreateFolders("C:\\MyData\\"));
  EXPECT_EQ(GetDataFolder("Global").path, "C:\\MyData\\Global\\");
}

TEST_F(DataFolders, FollowsTheRedirectFileTrimmedAndWithItsFinalBackslash) {
  ASSERT_TRUE(CreateFolders("C:\\MyDrives\\"));
  WriteBytes("C:\\MyDrives\\MyData.INI", "   C:\\Shared Survey Data  \r\nignored second line\r\n");
  const FolderResult global = GetDriveFolder("Global");
  EXPECT_TRUE(global.ok);
  EXPECT_EQ(global.path, "C:\\Shared Survey Data\\Global\\");
  EXPECT_TRUE(FolderExists(global.path));
  EXPECT_EQ(GetDriveFolder().path, "C:\\Shared Survey Data\\");
  EXPECT_EQ(RecordFolder(), "C:\\Shared Survey Data\\Global\\");
}

TEST_F(DataFolders, FailsTheRedirectWhenItsFileIsMissingOrBlank) {
  EXPECT_FALSE(GetDriveFolder("Global").ok);
  EXPECT_TRUE(FolderExists("C:\\MyDrives\\")) << "the redirect folder is made for the user to fill";
  WriteBytes("C:\\MyDrives\\MyData.INI", "   \r\n");
  const FolderResult blank = GetDriveFolder("Global");
  EXPECT_FALSE(blank.ok);
  EXPECT_EQ(blank.problem, "") << "a blank line is no redirect, and no error";
  EXPECT_EQ(RecordFolder(), "C:\\MyData\\Global\\");
}

// Records go where the redirect names, resolved on its drive, or, when it names no
// folder there, stay in the data folder with the reason said; nothing is made outside
// the drives.
TEST_F(DataFolders, FollowsOnlyRedirectsThatStayOnAConfiguredDrive) {
  AddDrive('D');
  const std::string outside = std::filesystem::path(Root('C')).parent_path().string();
  const auto entries = [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(outside))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = entries();
  ASSERT_TRUE(CreateFolders(kRedirectFolder));
  ASSERT_TRUE(CreateFolders("C:\\MyData\\"));
  for (const testing::TextRow& c : testing::ReadTextTable("records/redirects.txt")) {
    WriteBytes(kRedirectFile, c[0] + "\r\n");
    const RecordFolderResult records = FindRecordFolder();
    if (c[1] != "-") {
      EXPECT_EQ(records.folder.path, c[1]) << c.where;
      EXPECT_TRUE(records.redirected) << c.where;
      EXPECT_TRUE(FolderExists(c[1])) << c.where;
      EXPECT_EQ(records.redirect_problem, "") << c.where;
      continue;
    }
    EXPECT_FALSE(records.redirected) << c.where;
    EXPECT_EQ(records.folder.path, "C:\\MyData\\Global\\") << c.where;
    EXPECT_NE(records.redirect_problem.find(c[2]), std::string::npos)
        << c.where << ": " << records.redirect_problem;
  }
  EXPECT_EQ(entries(), before) << "nothing made beside the drives";
  EXPECT_FALSE(std::filesystem::exists("/tmp/escape/Global"));
}

TEST_F(DataFolders, CreatesEveryLevelOfADeepPathAndRefusesOnesTooShortOrWithoutADrive) {
  EXPECT_TRUE(CreateFolders("C:\\a\\b\\c"));
  EXPECT_TRUE(FolderExists("C:\\a\\b\\c\\"));
  EXPECT_TRUE(CreateFolders("C:\\a\\b\\c\\")) << "existing levels count as success";
  EXPECT_FALSE(CreateFolders("C:"));
  EXPECT_FALSE(CreateFolders("C:\\"));
  EXPECT_FALSE(CreateFolders("relative\\folder\\"));
  EXPECT_FALSE(CreateFolders("Q:\\unconfigured\\"));
}

TEST_F(DataFolders, ReportsFailureWithoutCrashingWhenNothingCanBeCreated) {
  // A plain file where drive C: should be a folder blocks every creation on it.
  std::filesystem::remove_all(Root('C'));
  WriteBytes(Root('C'), "not a folder");
  const FolderResult data = GetDataFolder("Global");
  EXPECT_FALSE(data.ok);
  EXPECT_EQ(data.path, "");
  EXPECT_FALSE(FindFolder("MyData").ok);
  EXPECT_FALSE(GetDriveFolder("Global").ok);
  EXPECT_EQ(GetSettingsFolder(), "C:\\MySettings\\");
  EXPECT_EQ(RecordFolder(), "");
}

TEST_F(DataFolders, SaysWhyARecordFolderThatIsAFileCannotBeUsed) {
  ASSERT_TRUE(CreateFolders("C:\\MyData\\"));
  WriteBytes("C:\\MyData\\Global", "not a folder");
  const RecordFolderResult records = FindRecordFolder();
  EXPECT_FALSE(records.folder.ok);
  EXPECT_EQ(records.folder.problem,
            "C:\\MyData\\Global is a file, not a folder (" + Root('C') + "/MyData/Global)");
  EXPECT_EQ(RecordFolder(), "") << "records must not fall back on the current directory";
}

}  // namespace
}  // namespace orvale
