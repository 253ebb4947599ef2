#pragma once
// File-system queries on library paths (see drives.h for the path form).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// Host path of an existing file named by `path`, matching its extension without
// regard to case ("X.spd" is found for "X.SPD": record files come from file systems
// that ignore case); the plain host spelling when no such file exists.
std::string ResolveFilePath(std::string_view path);

bool FileExists(std::string_view path);

// What tells one version of a file from another without reading it: its identity,
// size and time of last change. Equal stamps: the same bytes, as far as a cache of
// what was read from the file needs to know.
struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t changed_seconds = 0, changed_nanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of an existing regular file; nothing when there is none.
std::optional<FileStamp> StampOf(std::string_view path);
bool FolderExists(std::string_view path);

enum class FolderCreation { Created, AlreadyExisted, Failed };

// Creates one folder level; its parent must exist.
FolderCreation CreateFolder(std::string_view path);

// Removes a file; false when it did not exist or could not be removed.
[[nodiscard]] bool DeleteFile(std::string_view path);

// Names (with extension, without folder) of the regular files matching a pattern
// such as "C:\\MyData\\Global\\*.SPD": "*" and "?" wildcards in the last component,
// the extension compared without regard to case. Sorted without regard to case (ties
// by bytes) so that listing a folder and addressing by index agree every time.
std::vector<std::string> FindFiles(std::string_view pattern);

// FindFiles with the reason the folder could not be searched (it is missing, not a
// folder, or not readable); the reason is empty when it could.
struct FileListing {
  std::vector<std::string> names;
  std::string problem;
};
FileListing ListFiles(std::string_view pattern);

}  // namespace orvale
