#include "orvale/platform/stdio_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

#include "orvale/platform/files.h"

namespace orvale {

// A file still open is finished here. Nobody is left to hear how that went, but a writer
// that fails leaves the target as it was.
CStdioFile::~CStdioFile() {
  static_cast<void>(Close());
}

bool CStdioFile::Open(std::string_view path, FileMode mode) {
  static_cast<void>(Close());  // the file this object held before, finished as above
  open_problem_ = "no path";
  if (!SetFilePath(path)) return false;
  writing_ = mode == FileMode::WriteText || mode == FileMode::WriteBinary;
  text_ = mode == FileMode::ReadText || mode == FileMode::WriteText;
  write_failed_ = false;
  host_target_ = ResolveFilePath(path);
  open_problem_ = "not on a configured drive, or leads out of its drive";
  if (host_target_.empty()) return false;
  if (!writing_) {
    struct stat info {};
    if (::stat(host_target_.c_str(), &info) != 0) return Refuse(errno);
    open_problem_ = "not a regular file";
    if (!S_ISREG(info.st_mode)) return false;
    stream_ = std::fopen(host_target_.c_str(), "rb");
    if (stream_ == nullptr) return Refuse(errno);
    open_problem_.clear();
    return true;
  }
  host_temporary_ = host_target_ + ".tmp-XXXXXX";
  const int descriptor = ::mkstemp(host_temporary_.data());
  if (descriptor < 0) {
    host_temporary_.clear();
    return Refuse(errno);
  }
  stream_ = ::fdopen(descriptor, "wb");
  if (stream_ == nullptr) {
    const int error = errno;
    ::close(descriptor);
    Discard();
    return Refuse(error);
  }
  open_problem_.clear();
  return true;
}

bool CStdioFile::Refuse(int error) {
  open_problem_ = std::strerror(error);
  return false;
}

bool CStdioFile::Close() {
  if (stream_ == nullptr) return false;
  if (!writing_) {
    std::fclose(stream_);
    stream_ = nullptr;
    return true;
  }
  bool ok = !write_failed_ && std::fflush(stream_) == 0 && ::fsync(::fileno(stream_)) == 0;
  // Keep the permissions a plain create would have given, not mkstemp's 0600.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ok = ::fchmod(::fileno(stream_), 0666 & ~mask) == 0 && ok;
  ok = std::fclose(stream_) == 0 && ok;
  stream_ = nullptr;
  if (ok && std::rename(host_temporary_.c_str(), host_target_.c_str()) == 0) {
    host_temporary_.clear();
    return true;
  }
  Discard();
  return false;
}

void CStdioFile::Discard() {
  if (!host_temporary_.empty()) std::remove(host_temporary_.c_str());
  host_temporary_.clear();
}

bool CStdioFile::SetFilePath(std::string_view path) {
  if (path.empty()) return false;
  path_ = path;
  return true;
}

bool CStdioFile::ReadString(std::string& line) {
  line.clear();
  if (stream_ == nullptr || writing_) return false;
  int c = std::fgetc(stream_);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::fgetc(stream_)) {
    if (line.size() < kMaxLineLength) line += static_cast<char>(c);
  }
  if (text_ && !line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

void CStdioFile::WriteString(std::string_view text) {
  if (!text_) {
    Write(text.data(), text.size());
    return;
  }
  std::size_t start = 0;
  for (std::size_t lf = text.find('\n'); lf != std::string_view::npos;
       lf = text.find('\n', start)) {
    Write(text.data() + start, lf - start);
    Write("\r\n", 2);
    start = lf + 1;
  }
  Write(text.data() + start, text.size() - start);
}

std::size_t CStdioFile::Read(void* buffer, std::size_t count) {
  if (stream_ == nullptr || writing_) return 0;
  return std::fread(buffer, 1, count, stream_);
}

void CStdioFile::Write(const void* buffer, std::size_t count) {
  if (stream_ == nullptr || !writing_) {
    write_failed_ = true;
    return;
  }
  if (count != 0 && std::fwrite(buffer, 1, count, stream_) != count) write_failed_ = true;
}

std::uint64_t CStdioFile::GetLength() const {
  if (stream_ == nullptr) return 0;
  struct stat info {};
  if (::fstat(::fileno(stream_), &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace orvale
