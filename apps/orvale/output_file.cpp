#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace orvale::cli {

AtomicOutputFile::~AtomicOutputFile() {
  Discard();
}

bool AtomicOutputFile::Open(const std::string& path, std::string& problem) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    problem = "'" + path + "' is not a regular file";
    return false;
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
