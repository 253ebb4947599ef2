#include "orvale/platform/stdio_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "orvale/platform/files.h"
#include "orvale/platform/internal/write_seam.h"

namespace orvale {
namespace {

internal::WriteBytesFunction write_bytes_for_testing = nullptr;

std::size_t WriteBytes(std::FILE* stream, const void* data, std::size_t count) {
  return write_bytes_for_testing != nullptr ? write_bytes_for_testing(stream, data, count)
                                            : std::fwrite(data, 1, count, stream);
}

// A temporary is named after its target and the process writing it,
// "<target>.tmp-<pid>-XXXXXX", so that what a process left when it stopped part way
// can be told from what another one is writing right now.
std::string TemporaryPrefix(const std::string& target) {
  return target + ".tmp-" + std::to_string(::getpid()) + "-";
}

// Removes the temporaries of `target` that processes no longer running left behind;
// they never took the target's name, but nothing else would ever remove them.
void RemoveAbandonedTemporaries(const std::string& target) {
  namespace fs = std::filesystem;
  const fs::path path(target);
  const std::string prefix = path.filename().string() + ".tmp-";
  std::error_code error;
  for (fs::directory_iterator it(path.parent_path(), error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos) continue;
    pid_t pid = 0;
    for (const char c : rest.substr(0, dash)) {
      if (c < '0' || c > '9' || pid > 4'000'000) {
        pid = 0;
        break;
      }
      pid = pid * 10 + (c - '0');
    }
    if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    fs::remove(it->path(), ignored);
  }
}

}  // namespace

void internal::SetWriteBytesForTesting(WriteBytesFunction function) {
  write_bytes_for_testing = function;
}

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
  host_temporary_ = TemporaryPrefix(host_target_) + "XXXXXX";
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
    RemoveAbandonedTemporaries(host_target_);
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
  if (count != 0 && WriteBytes(stream_, buffer, count) != count) write_failed_ = true;
}

std::uint64_t CStdioFile::GetLength() const {
  if (stream_ == nullptr) return 0;
  struct stat info {};
  if (::fstat(::fileno(stream_), &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace orvale
