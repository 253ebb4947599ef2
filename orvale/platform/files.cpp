#include "orvale/platform/files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

#include "orvale/platform/drives.h"

namespace orvale {

namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// Wildcard match of `name` against `pattern`; the part after the pattern's last "."
// is compared without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name, std::size_t caseless_from) {
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  auto same = [&](std::size_t pi, std::size_t ni) {
    if (pattern[pi] == '?') return true;
    return pi >= caseless_from ? Lower(pattern[pi]) == Lower(name[ni]) : pattern[pi] == name[ni];
  };
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && same(p, n)) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower_less = [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower_less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lower_less))
    return false;
  return a < b;
}

std::pair<std::string, std::string> SplitFolder(const std::string& host) {
  const auto slash = host.rfind('/');
  if (slash == std::string::npos) return {".", host};
  return {slash == 0 ? "/" : host.substr(0, slash), host.substr(slash + 1)};
}

bool IsFile(const std::string& host) {
  struct stat info {};
  return !host.empty() && ::stat(host.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Names of the regular files in a host folder, in directory order; `error` is the
// errno of a folder that cannot be read.
std::vector<std::string> FilesIn(const std::string& folder, int* error = nullptr) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    if (error != nullptr) *error = errno;
    return names;
  }
  while (const dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (IsFile(Join(folder, name))) names.push_back(std::move(name));
  }
  ::closedir(dir);
  return names;
}

}  // namespace

std::string ResolveFilePath(std::string_view path) {
  std::string host = HostPath(path);
  if (host.empty() || IsFile(host)) return host;
  const auto [folder, name] = SplitFolder(host);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return host;
  for (const std::string& candidate : FilesIn(folder)) {
    if (candidate.size() == name.size() && candidate.compare(0, dot, name, 0, dot) == 0 &&
        EqualIgnoringCase(std::string_view(candidate).substr(dot),
                          std::string_view(name).substr(dot))) {
      return Join(folder, candidate);
    }
  }
  return host;
}

bool FileExists(std::string_view path) {
  return IsFile(ResolveFilePath(path));
}

std::optional<FileStamp> StampOf(std::string_view path) {
  const std::string host = ResolveFilePath(path);
  struct stat info {};
  if (host.empty() || ::stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                   static_cast<std::uint64_t>(info.st_size),
                   static_cast<std::int64_t>(info.st_mtim.tv_sec),
                   static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}

bool FolderExists(std::string_view path) {
  const std::string host = HostPath(path);
  struct stat info {};
  return !host.empty() && ::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// "X:" or "X:\\": the root of a drive.
bool IsDriveRoot(std::string_view path) {
  return (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))) &&
         path[1] == ':';
}

// The default drive root may not exist yet (it lives in the user's data home and is
// made on first use): it is made with its parents. A root the user configured is not.
bool MakeWithParents(const std::string& host) {
  for (std::size_t slash = host.find('/', 1); slash != std::string::npos;
       slash = host.find('/', slash + 1)) {
    if (::mkdir(host.substr(0, slash).c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return ::mkdir(host.c_str(), 0777) == 0;
}

}  // namespace

FolderCreation CreateFolder(std::string_view path) {
  std::string host = HostPath(path);
  while (host.size() > 1 && host.back() == '/')
    host.pop_back();
  if (host.empty()) return FolderCreation::Failed;
  // A root the user configured is used as it is, never made (see MakeWithParents).
  if (IsDriveRoot(path) && !IsDefaultDriveRoot(path[0])) {
    return FolderExists(path) ? FolderCreation::AlreadyExisted : FolderCreation::Failed;
  }
  if (::mkdir(host.c_str(), 0777) == 0) return FolderCreation::Created;
  const int error = errno;
  if (error == EEXIST)
    return FolderExists(path) ? FolderCreation::AlreadyExisted : FolderCreation::Failed;
  if (error == ENOENT && IsDriveRoot(path) && MakeWithParents(host)) return FolderCreation::Created;
  return FolderCreation::Failed;
}

bool DeleteFile(std::string_view path) {
  const std::string host = ResolveFilePath(path);
  return IsFile(host) && std::remove(host.c_str()) == 0;
}

FileListing ListFiles(std::string_view pattern) {
  const std::string host = HostPath(pattern);
  FileListing listing;
  if (host.empty()) {
    listing.problem = "no folder on a configured drive";
    return listing;
  }
  const auto [folder, name_pattern] = SplitFolder(host);
  const auto dot = name_pattern.rfind('.');
  const std::size_t caseless_from = dot == std::string::npos ? name_pattern.size() : dot;
  int error = 0;
  for (std::string& name : FilesIn(folder, &error)) {
    if (WildcardMatch(name_pattern, name, caseless_from)) listing.names.push_back(std::move(name));
  }
  if (error != 0) listing.problem = folder + ": " + std::strerror(error);
  std::sort(listing.names.begin(), listing.names.end(), LessIgnoringCase);
  return listing;
}

std::vector<std::string> FindFiles(std::string_view pattern) {
  return ListFiles(pattern).names;
}

}  // namespace orvale
