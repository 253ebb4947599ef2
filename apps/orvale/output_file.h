#pragma once
// A file of results written whole or not at all: the text goes to a temporary file in
// the same folder, renamed over the target only when every byte was written, so a
// full disk or a failed run never leaves half a file (nor the temporary one). A
// device or a pipe (/dev/stdout, a named pipe) has no whole to keep and is written
// directly.

#include <fstream>
#include <string>

namespace orvale::cli {

class AtomicOutputFile {
 public:
  AtomicOutputFile() = default;
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;
  ~AtomicOutputFile();  // removes the temporary file when Commit was not reached

  // Creates the temporary file beside `path`; false with the reason otherwise.
  [[nodiscard]] bool Open(const std::string& path, std::string& problem);
  std::ostream& stream() { return stream_; }
  // Flushes, closes and renames into place; false with the reason (and nothing left
  // behind) when any of it failed.
  [[nodiscard]] bool Commit(std::string& problem);
  void Discard();

 private:
  std::string target_;
  std::string temporary_;
  std::ofstream stream_;
  bool direct_ = false;  // a device or pipe, written in place
};

}  // namespace orvale::cli
