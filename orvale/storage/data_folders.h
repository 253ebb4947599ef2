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
  std::string problem;  // why there is no folder (or no redirect was followed); for people
};

// "C:\\name\\" when it exists; else made on the first fixed drive among D: and E:;
// else made on C:.
FolderResult FindFolder(std::string_view name);

// The data root "MyData" (or a subfolder of it) on the first drive that has it,
// created where FindFolder would put it. On failure the path is empty.
FolderResult GetDataFolder(std::string_view subfolder = {});

// The folder named by the first line of "C:\\MyDrives\\MyData.INI", plus the
// subfolder ("C:\\Shared" with "Global" is "C:\\Shared\\Global\\"), created when
// missing. Fails with an empty problem when there is no redirect (no file, or a blank
// first line). Fails with a problem when the line is no folder on a drive: no drive
// letter, a drive that is not configured or whose root is missing, control or
// reserved characters, or ".." leading out of the drive's root; or when the folder
// cannot be made. The path returned has its "." and ".." resolved.
FolderResult GetDriveFolder(std::string_view subfolder = {});

// "MySettings\\<program title>\\", made when possible; returned in either case.
std::string GetSettingsFolder();

// Creates every level of a "X:\\a\\b\\" path. True once any level was created or
// already existed; false for paths of three characters or fewer or without ":".
[[nodiscard]] bool CreateFolders(std::string_view path);

// Where record files live: the redirect when there is one, else the data folder;
// empty when there is neither (record files are then neither read nor written:
// an empty folder would make them relative to the current directory).
std::string RecordFolder();

// RecordFolder and what stood in its way. `folder.problem` says why there is no
// record folder at all; `redirect_problem` why the redirect file's folder was passed
// over for the data folder (empty when it was followed or there is none).
struct RecordFolderResult {
  FolderResult folder;
  bool redirected = false;  // the folder is the one MyData.INI names
  std::string redirect_problem;
};
RecordFolderResult FindRecordFolder();

}  // namespace orvale
