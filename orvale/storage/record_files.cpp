#include "orvale/storage/internal/record_files.h"

#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"

namespace orvale {

std::string FileTitle(std::string_view path) {
  const std::size_t folder_end = path.find_last_of("\\/:");
  if (folder_end != std::string_view::npos) path.remove_prefix(folder_end + 1);
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) path.remove_suffix(path.size() - dot);
  return std::string(path);
}

std::string RecordKey(std::string_view name, std::string_view country) {
  std::string key(name);
  if (!country.empty()) {
    key += '_';
    key += country;
  }
  return key;
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

bool IsUsableFileTitle(std::string_view title) {
  if (title.empty()) return false;
  for (char c : title) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool IsStorableLine(std::string_view text) {
  return text.find('\n') == std::string_view::npos && text.size() <= CStdioFile::kMaxLineLength;
}

}  // namespace orvale
