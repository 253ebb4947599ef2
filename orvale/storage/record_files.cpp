#include "orvale/storage/internal/record_files.h"

#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"

namespace orvale {
namespace {

std::string RecordKey(std::string_view name, std::string_view country) {
  std::string key(name);
  if (!country.empty()) {
    key += '_';
    key += country;
  }
  return key;
}

bool IsUsableFileTitle(std::string_view title) {
  if (title.empty()) return false;
  for (char c : title) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// A text the line reader would cut or split cannot be stored as a line.
bool IsStorableLine(std::string_view text) {
  return text.find('\n') == std::string_view::npos && text.size() <= CStdioFile::kMaxLineLength;
}

}  // namespace

std::string FileTitle(std::string_view path) {
  const std::size_t folder_end = path.find_last_of("\\/:");
  if (folder_end != std::string_view::npos) path.remove_prefix(folder_end + 1);
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) path.remove_suffix(path.size() - dot);
  return std::string(path);
}

std::string SaveTitle(std::string_view path, std::string_view title, std::string_view name,
                      std::string_view country) {
  std::string chosen = path.empty() ? std::string(title) : FileTitle(path);
  if (chosen.empty() && !name.empty()) chosen = RecordKey(name, country);
  return chosen;
}

std::string RecordPath(std::string_view title, std::string_view extension) {
  std::string path = RecordFolder();
  if (path.empty()) return path;
  path += title;
  path += '.';
  path += extension;
  return path;
}

RecordListing ListRecordFiles(std::string_view extension) {
  RecordFolderResult found = FindRecordFolder();
  if (!found.folder.ok) return {{}, found.folder.problem};
  std::string pattern = found.folder.path;
  pattern += "*.";
  pattern += extension;
  FileListing listing = ListFiles(pattern);
  return {std::move(listing.names), std::move(listing.problem)};
}

std::vector<std::string> RecordFiles(std::string_view extension) {
  return ListRecordFiles(extension).files;
}

bool WriteRecord(std::string_view title, std::string_view extension,
                 std::initializer_list<std::string_view> lines, std::string_view block) {
  if (!IsUsableFileTitle(title)) return false;
  std::string bytes;
  for (std::string_view line : lines) {
    if (!IsStorableLine(line)) return false;
    bytes += line;
    bytes += '\n';
  }
  bytes += block;
  CStdioFile file;
  if (!file.Open(RecordPath(title, extension), FileMode::WriteBinary)) return false;
  file.Write(bytes.data(), bytes.size());
  return file.Close();
}

RecordStatus ReadRecord(std::string_view title, std::string_view extension, std::size_t line_count,
                        std::size_t block_size, RecordContents& contents) {
  if (title.empty()) return RecordStatus::Refused("has no file title");
  const std::string path = RecordPath(title, extension);
  if (path.empty()) return RecordStatus::Refused("there is no record folder");
  CStdioFile file;
  if (!file.Open(path, FileMode::ReadBinary)) {
    return RecordStatus::Refused("cannot be opened: " + file.OpenProblem());
  }
  const std::uint64_t largest = line_count * (CStdioFile::kMaxLineLength + 1) + block_size;
  if (const std::uint64_t size = file.GetLength(); size > largest) {
    return RecordStatus::Refused("is " + std::to_string(size) + " bytes, more than a ." +
                                 std::string(extension) + " record can hold (" +
                                 std::to_string(largest) + ")");
  }
  contents = RecordContents{};
  contents.lines.resize(line_count);
  for (std::string& line : contents.lines) {
    if (file.ReadString(line)) ++contents.lines_read;
  }
  contents.block.resize(block_size);
  contents.block.resize(file.Read(contents.block.data(), block_size));
  char extra = 0;
  contents.bytes_after_block = file.Read(&extra, 1) != 0;
  return RecordStatus::Read();
}

}  // namespace orvale
