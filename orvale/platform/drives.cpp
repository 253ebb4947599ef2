#include "orvale/platform/drives.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>

namespace orvale {
namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string DefaultDriveC() {
  if (auto xdg = Environment("XDG_DATA_HOME")) return WithoutTrailingSlashes(*xdg) + "/orvale";
  if (auto home = Environment("HOME"))
    return WithoutTrailingSlashes(*home) + "/.local/share/orvale";
  return "orvale";
}

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string VariableOf(char letter) {
  return std::string("ORVALE_DRIVE_") + letter;
}

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The folder names of `rest` (the part after "X:") with "." and ".." resolved; false
// when ".." climbs above the root.
[[nodiscard]] bool ResolveNames(std::string_view rest, std::vector<std::string_view>& names) {
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end]))
      ++end;
    const std::string_view name = rest.substr(0, end);
    rest.remove_prefix(end == rest.size() ? end : end + 1);
    if (name.empty() || name == ".") continue;
    if (name != "..") {
      names.push_back(name);
    } else if (names.empty()) {
      return false;
    } else {
      names.pop_back();
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> DriveRoot(char drive) {
  const char letter = Upper(drive);
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  if (auto root = Environment(VariableOf(letter).c_str())) return WithoutTrailingSlashes(*root);
  if (letter == 'C') return DefaultDriveC();
  return std::nullopt;
}

bool IsFixedDrive(char drive) {
  return DriveRoot(drive).has_value();
}

bool IsDefaultDriveRoot(char drive) {
  return Upper(drive) == 'C' && !Environment(VariableOf('C').c_str());
}

std::string DriveRootProblem(char drive) {
  const char letter = Upper(drive);
  const auto root = DriveRoot(letter);
  if (!root) {
    return std::string("drive ") + letter + ": is not configured (set " + VariableOf(letter) + ")";
  }
  if (IsDefaultDriveRoot(letter)) return {};
  struct stat info {};
  if (::stat(root->c_str(), &info) != 0) {
    return VariableOf(letter) + " names " + *root + ", which does not exist";
  }
  if (!S_ISDIR(info.st_mode)) return VariableOf(letter) + " names " + *root + ", not a folder";
  return {};
}

std::optional<std::string> NormaliseDrivePath(std::string_view path) {
  if (!HasDriveLetter(path)) return std::nullopt;
  std::vector<std::string_view> names;
  if (!ResolveNames(path.substr(2), names)) return std::nullopt;
  std::string normal{Upper(path[0]), ':', '\\'};
  for (std::string_view name : names) {
    normal += name;
    normal += '\\';
  }
  // "C:\\a\\b" names a file or folder b; only a path that ended with a separator
  // keeps it.
  if (!names.empty() && !IsSeparator(path.back())) normal.pop_back();
  return normal;
}

std::string HostPath(std::string_view path) {
  if (!HasDriveLetter(path)) {
    std::string host(path);
    for (char& c : host)
      if (c == '\\') c = '/';
    return host;
  }
  const auto root = DriveRoot(path[0]);
  const auto normal = NormaliseDrivePath(path);
  if (!root || !normal) return {};
  std::string host = *root;
  // "X:" alone is the root itself; everything else follows it after one "/".
  if (path.size() > 2) {
    host += '/';
    host.append(*normal, 3);
    for (char& c : host)
      if (c == '\\') c = '/';
  }
  return host;
}

}  // namespace orvale
