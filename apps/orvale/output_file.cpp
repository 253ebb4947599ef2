#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace orvale::cli {

AtomicOutputFile::~AtomicOutputFile() {
  Discard();
}

namespace {

// /dev/stdout, /dev/fd/N and /proc/self/fd/N stand for a descriptor: renaming a file
// over one would replace the link (or the file behind it, which the descriptor's
// holder no longer sees), so they are written in place.
bool NamesADescriptor(const std::string& path) {
  if (path.starts_with("/proc/") || path.starts_with("/dev/")) return true;
  char link[4096];
  const ssize_t length = ::readlink(path.c_str(), link, sizeof link - 1);
  if (length <= 0) return false;
  const std::string_view target(link, static_cast<std::size_t>(length));
  return target.starts_with("/proc/") || target.starts_with("/dev/");
}

// The file a link leads to, so that the new file replaces it and not the link.
std::string LinkTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;  // a link to nothing yet: written through it
  std::string target = resolved;
  std::free(resolved);
  return target;
}

}  // namespace

bool AtomicOutputFile::Open(const std::string& given, std::string& problem) {
  const std::string path = LinkTarget(given);
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if ((exists && !S_ISREG(info.st_mode)) || NamesADescriptor(given)) {
    if (exists && S_ISDIR(info.st_mode)) {
      problem = "cannot write '" + given + "': it is a folder";
      return false;
    }
    // A terminal, a pipe or /dev/stdout cannot be replaced by renaming: it is written
    // as it goes, as standard output would be.
    target_ = path;
    direct_ = true;
    stream_.open(path, std::ios::binary | std::ios::out);
    if (!stream_.is_open()) {
      problem = "cannot write '" + path + "': " + std::strerror(errno);
      return false;
    }
    return true;
  }
  std::string name = path + ".XXXXXX";
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int descriptor = ::mkstemp(buffer.data());
  if (descriptor < 0) {
    problem = "cannot write '" + path + "': " + std::strerror(errno);
    return false;
  }
  // mkstemp makes the file for its owner alone; results are as readable as any file.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  static_cast<void>(::fchmod(descriptor, 0666 & ~mask));
  ::close(descriptor);
  temporary_ = buffer.data();
  target_ = path;
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_.is_open()) {
    problem = "cannot write '" + path + "': " + std::strerror(errno);
    Discard();
    return false;
  }
  return true;
}

bool AtomicOutputFile::Commit(std::string& problem) {
  stream_.flush();
  const int write_error = stream_ ? 0 : errno;
  stream_.close();
  if (write_error != 0 || stream_.fail()) {
    problem = "cannot write '" + target_ +
              "': " + (write_error != 0 ? std::strerror(write_error) : "write error");
    Discard();
    return false;
  }
  if (direct_) return true;
  if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
    problem = "cannot write '" + target_ + "': " + std::strerror(errno);
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void AtomicOutputFile::Discard() {
  if (stream_.is_open()) stream_.close();
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  temporary_.clear();
}

}  // namespace orvale::cli
