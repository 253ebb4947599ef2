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
  path += title;
  path += '.';
  path += extension;
  return path;
}

std::vector<std::string> RecordFiles(std::string_view extension) {
  std::string pattern = RecordFolder();
  pattern += "*.";
  pattern += extension;
  return FindFiles(pattern);
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

std::optional<RecordContents> ReadRecord(std::string_view title, std::string_view extension,
                                         std::size_t line_count, std::size_t block_size) {
  CStdioFile file;
  if (title.empty() || !file.Open(RecordPath(title, extension), FileMode::ReadBinary)) {
    return std::nullopt;
  }
  RecordContents contents;
  contents.lines.resize(line_count);
  for (std::string& line : contents.lines) {
    if (file.ReadString(line)) ++contents.lines_read;
  }
  contents.block.resize(block_size);
  contents.block.resize(file.Read(contents.block.data(), block_size));
  return contents;
}

}  // namespace orvale
