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
  if (FolderExists(on_c)) return {true, on_c};
  for (char drive : kOptionalDrives) {
    if (!IsFixedDrive(drive)) continue;
    const std::string path = OnDrive(drive, name);
    if (FolderExists(path) || CreateFolders(path)) return {true, path};
  }
  return {CreateFolders(on_c), on_c};
}

FolderResult GetDataFolder(std::string_view subfolder) {
  for (char drive : {'C', 'D', 'E'}) {
    if (drive != 'C' && !IsFixedDrive(drive)) continue;
    const std::string root = OnDrive(drive, kDataRoot);
    if (!FolderExists(root)) continue;
    if (subfolder.empty()) return {true, root};
    const std::string path = root + std::string(subfolder) + "\\";
    if (FolderExists(path) || CreateFolders(path)) return {true, path};
  }
  FolderResult root = FindFolder(kDataRoot);
  if (!root.ok) return {};
  if (subfolder.empty()) return root;
  std::string path = root.path + std::string(subfolder) + "\\";
  if (!CreateFolders(path)) return {};
  return {true, path};
}

FolderResult GetDriveFolder(std::string_view subfolder) {
  // Made so that a user finds where the redirect goes; without it there is none.
  static_cast<void>(CreateFolders(kRedirectFolder));
  CStdioFile redirect;
  if (!redirect.Open(kRedirectFile, FileMode::ReadText)) return {};
  std::string line;
  if (!redirect.ReadString(line)) return {};
  std::string path = Trimmed(std::move(line));
  if (path.empty()) return {};
  if (path.back() != '\\') path += '\\';
  if (!subfolder.empty()) path += std::string(subfolder) + "\\";
  return {CreateFolders(path), path};
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

std::string RecordFolder() {
  if (FolderResult redirect = GetDriveFolder(kGlobalFolder); redirect.ok) return redirect.path;
  return GetDataFolder(kGlobalFolder).path;
}

}  // namespace orvale
