#include "orvale/storage/data_folders.h"

#include <array>

#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/program.h"
#include "orvale/platform/stdio_file.h"

namespace orvale {
namespace {

constexpr std::array<char, 2> kOptionalDrives = {'D', 'E'};

std::string OnDrive(char drive, std::string_view name) {
  return std::string(1, drive) + ":\\" + std::string(name) + "\\";
}

std::string Trimmed(std::string text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// Why folder `path` ("X:\\a\\b\\") is not there to use: its drive, or the first level
// that is a file or could not be made.
std::string FolderProblem(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return std::string(path) + " is on no drive";
  if (std::string problem = DriveRootProblem(path[0]); !problem.empty()) return problem;
  for (auto slash = path.find('\\', 3); slash != std::string_view::npos;
       slash = path.find('\\', slash + 1)) {
    const std::string_view level = path.substr(0, slash);
    if (FolderExists(level)) continue;
    const std::string host = " (" + HostPath(level) + ")";
    if (FileExists(level)) return std::string(level) + " is a file, not a folder" + host;
    return std::string(level) + " cannot be made" + host;
  }
  return std::string(path) + " cannot be made";
}

// The redirect line as a drive folder, or the reason it is none.
[[nodiscard]] bool RedirectFolder(const std::string& line, std::string& folder,
                                  std::string& problem) {
  const std::string quoted = std::string(kRedirectFile) + ": '" + line + "' ";
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      problem = quoted + "holds control characters, so it names no folder";
      return false;
    }
  }
  if (line.size() < 2 || line[1] != ':') {
    problem = quoted + "is not a folder on a drive (write it as C:\\Folder)";
    return false;
  }
  if (line.find_first_of("*?\"<>|:", 2) != std::string::npos) {
    problem = quoted + "holds characters that no folder name may have";
    return false;
  }
  if (std::string drive = DriveRootProblem(line[0]); !drive.empty()) {
    problem = quoted + "is on a drive that cannot be used: " + drive;
    return false;
  }
  const auto normal = NormaliseDrivePath(line);
  if (!normal) {
    problem = quoted + "leads out of drive " + line.substr(0, 2) + " through '..'";
    return false;
  }
  folder = *normal;
  return true;
}

}  // namespace

bool CreateFolders(std::string_view path) {
  if (path.size() <= 3) return false;
  std::string full(path);
  if (full.back() != '\\') full += '\\';
  const auto colon = full.find(':');
  if (colon == std::string::npos) return false;
  bool ok = false;
  for (auto slash = full.find('\\', colon); slash != std::string::npos;
       slash = full.find('\\', slash + 1)) {
    if (CreateFolder(full.substr(0, slash + 1)) != FolderCreation::Failed) ok = true;
  }
  return ok;
}

FolderResult FindFolder(std::string_view name) {
  const std::string on_c = OnDrive('C', name);
  if (FolderExists(on_c)) return {true, on_c, {}};
  for (char drive : kOptionalDrives) {
    if (!IsFixedDrive(drive)) continue;
    const std::string path = OnDrive(drive, name);
    if (FolderExists(path) || (CreateFolders(path) && FolderExists(path))) return {true, path, {}};
  }
  if (CreateFolders(on_c) && FolderExists(on_c)) return {true, on_c, {}};
  return {false, on_c, FolderProblem(on_c)};
}

FolderResult GetDataFolder(std::string_view subfolder) {
  for (char drive : {'C', 'D', 'E'}) {
    if (drive != 'C' && !IsFixedDrive(drive)) continue;
    const std::string root = OnDrive(drive, kDataRoot);
    if (!FolderExists(root)) continue;
    if (subfolder.empty()) return {true, root, {}};
    const std::string path = root + std::string(subfolder) + "\\";
    if (FolderExists(path) || (CreateFolders(path) && FolderExists(path))) return {true, path, {}};
  }
  FolderResult root = FindFolder(kDataRoot);
  if (!root.ok) return {false, {}, root.problem};
  if (subfolder.empty()) return root;
  std::string path = root.path + std::string(subfolder) + "\\";
  // CreateFolders succeeds when any level exists, so the last one is looked at too.
  if (!CreateFolders(path) || !FolderExists(path)) return {false, {}, FolderProblem(path)};
  return {true, path, {}};
}

FolderResult GetDriveFolder(std::string_view subfolder) {
  // Made so that a user finds where the redirect goes; without it there is none.
  static_cast<void>(CreateFolders(kRedirectFolder));
  if (!FileExists(kRedirectFile)) return {};
  CStdioFile redirect;
  if (!redirect.Open(kRedirectFile, FileMode::ReadText)) {
    return {false, {}, std::string(kRedirectFile) + ": " + redirect.OpenProblem()};
  }
  std::string line;
  if (!redirect.ReadString(line)) return {};
  line = Trimmed(std::move(line));
  if (line.empty()) return {};
  FolderResult result;
  if (!RedirectFolder(line, result.path, result.problem)) return result;
  if (result.path.back() != '\\') result.path += '\\';
  if (!subfolder.empty()) result.path += std::string(subfolder) + "\\";
  result.ok = CreateFolders(result.path) && FolderExists(result.path);
  if (!result.ok) result.problem = std::string(kRedirectFile) + ": " + FolderProblem(result.path);
  return result;
}

std::string GetSettingsFolder() {
  FolderResult root = FindFolder(kSettingsRoot);
  if (!root.ok) return root.path;
  std::string path = root.path + ProgramFileTitle() + "\\";
  // The folder is the settings' whether or not it could be made: a settings file that
  // cannot be written is skipped by its writer.
  static_cast<void>(CreateFolders(path));
  return path;
}

RecordFolderResult FindRecordFolder() {
  RecordFolderResult result;
  FolderResult redirect = GetDriveFolder(kGlobalFolder);
  if (redirect.ok) {
    result.folder = std::move(redirect);
    result.redirected = true;
    return result;
  }
  result.redirect_problem = std::move(redirect.problem);
  result.folder = GetDataFolder(kGlobalFolder);
  return result;
}

std::string RecordFolder() {
  RecordFolderResult found = FindRecordFolder();
  return found.folder.ok ? found.folder.path : std::string();
}

}  // namespace orvale
