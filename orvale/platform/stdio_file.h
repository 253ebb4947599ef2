#pragma once
// Buffered file access for settings and record files: text lines and binary blocks.
//
// Text mode keeps the on-disk convention of settings files: lines written with "\n"
// reach the disk as CR LF, and reading removes the CR LF (or LF) again. Writers never
// touch the target until they succeed: the text goes to a temporary file in the same
// folder, which Close() renames over the target, so a crash or a full disk leaves the
// previous file whole. A temporary is named after its target and the writing process;
// one that a stopped process left is removed by the next save of the same target.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace orvale {

enum class FileMode { ReadText, ReadBinary, WriteText, WriteBinary };

class CStdioFile {
 public:
  // Lines longer than this are cut to it when read (the rest of the line is skipped),
  // so a damaged file without line ends cannot make a reader take unbounded memory.
  static constexpr std::size_t kMaxLineLength = 64 * 1024;

  CStdioFile() = default;
  CStdioFile(const CStdioFile&) = delete;
  CStdioFile& operator=(const CStdioFile&) = delete;
  virtual ~CStdioFile();

  // Opens a library path (drives.h). Writing creates or truncates the target at Close().
  [[nodiscard]] bool Open(std::string_view path, FileMode mode);

  // Finishes the file: a writer renames its temporary file over the target and
  // returns false (leaving the target as it was) when any write failed.
  [[nodiscard]] bool Close();

  bool IsOpen() const { return stream_ != nullptr; }

  // Why the last Open failed ("Permission denied", "not a regular file", ...); empty
  // after one that succeeded.
  const std::string& OpenProblem() const { return open_problem_; }
  bool IsWriting() const { return writing_; }

  // Stores the path reported by GetFilePath(); false for an empty path.
  [[nodiscard]] virtual bool SetFilePath(std::string_view path);
  const std::string& GetFilePath() const { return path_; }

  // Next line without its line end; false at the end of the file.
  [[nodiscard]] virtual bool ReadString(std::string& line);

  // Writes text; in text mode every "\n" goes to disk as CR LF.
  virtual void WriteString(std::string_view text);

  // Reads up to `count` bytes; returns the number read.
  std::size_t Read(void* buffer, std::size_t count);
  void Write(const void* buffer, std::size_t count);

  // Size in bytes of the open file; 0 when closed.
  std::uint64_t GetLength() const;

 private:
  void Discard();
  [[nodiscard]] bool Refuse(int error);

  std::FILE* stream_ = nullptr;
  std::string path_;
  std::string host_target_;
  std::string host_temporary_;
  std::string open_problem_;
  bool writing_ = false;
  bool text_ = false;
  bool write_failed_ = false;
};

}  // namespace orvale
