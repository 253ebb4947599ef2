#pragma once
// File-system queries on library paths (see drives.h for the path form).

#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// Host path of an existing file named by `path`, matching its extension without
// regard to case ("X.spd" is found for "X.SPD": record files come from file systems
// that ignore case); the plain host spelling when no such file exists.
std::string ResolveFilePath(std::string_view path);

bool FileExists(std::string_view path);
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
