#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "support/temporary_drives.h"

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

TEST_F(DataFolders, MakesDriveCItselfOnFirstUse) {
  const std::string fresh = Root('C') + "/not/yet/made";
  ::setenv("ORVALE_DRIVE_C", fresh.c_str(), 1);
  const FolderResult data = GetDataFolder("Global");
  EXPECT_TRUE(data.ok);
  EXPECT_TRUE(std::filesystem::is_directory(fresh + "/MyData/Global"));
  EXPECT_EQ(GetSettingsFolder(), "C:\\MySettings\\Orvale\\");
  EXPECT_TRUE(std::filesystem::is_directory(fresh + "/MySettings/Orvale"));
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
  EXPECT_FALSE(GetDriveFolder("Global").ok);
  EXPECT_EQ(RecordFolder(), "C:\\MyData\\Global\\");
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

}  // namespace
}  // namespace orvale
