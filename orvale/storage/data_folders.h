#pragma once
// The data folder (record and grid files) and the settings folder, found on the
// drives C:, D: and E: in that order (see platform/drives.h for their roots).
// Every path returned ends with "\\"; folders are created as they are resolved.

#include <string>
#include <string_view>

namespace orvale {

inline constexpr std::string_view kDataRoot = "MyData";
inline constexpr std::string_view kSettingsRoot = "MySettings";
inline constexpr std::string_view kRedirectFolder = "C:\\MyDrives\\";
inline constexpr std::string_view kRedirectFile = "C:\\MyDrives\\MyData.INI";
inline constexpr std::string_view kGlobalFolder = "Global";
inline constexpr std::string_view kStarAlmanacFolder = "Star Almanac";

struct FolderResult {
  bool ok = false;
  std::string path;
};

// "C:\\name\\" when it exists; else made on the first fixed drive among D: and E:;
// else made on C:.
FolderResult FindFolder(std::string_view name);

// The data root "MyData" (or a subfolder of it) on the first drive that has it,
// created where FindFolder would put it. On failure the path is empty.
FolderResult GetDataFolder(std::string_view subfolder = {});

// The folder named by the first line of "C:\\MyDrives\\MyData.INI" (plus the
// subfolder), created when missing; fails when there is no such redirect.
FolderResult GetDriveFolder(std::string_view subfolder = {});

// "MySettings\\<program title>\\", made when possible; returned in either case.
std::string GetSettingsFolder();

// Creates every level of a "X:\\a\\b\\" path. True once any level was created or
// already existed; false for paths of three characters or fewer or without ":".
[[nodiscard]] bool CreateFolders(std::string_view path);

// Where record files live: the redirect when there is one, else the data folder.
std::string RecordFolder();

}  // namespace orvale
