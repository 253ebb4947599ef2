#pragma once
// What every kind of record file shares: where it lives, what it is called, and its
// layout: text lines, each ended by one line feed, then a block of bytes.

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/storage/record_status.h"

namespace orvale {

// The name of a file without folder and extension.
std::string FileTitle(std::string_view path);

// The title a record is saved under: the file title of `path` when one is given, else
// the record's own `title`; when that is empty, its key, the name or "<name>_<country>"
// (empty when the record has no name either).
std::string SaveTitle(std::string_view path, std::string_view title, std::string_view name,
                      std::string_view country);

// "<record folder><title>.<extension>"; empty when there is no record folder.
std::string RecordPath(std::string_view title, std::string_view extension);

// Names of the record files with this extension, in list order (sorted).
std::vector<std::string> RecordFiles(std::string_view extension);

// Writes the lines, each ended by a line feed, then the block as the record file of
// `title`, replacing it whole or not at all. False, with nothing written, when the title
// would name no file inside the record folder (empty, a folder separator, a control
// character or one the shared file systems refuse), when a line holds a line feed or is
// longer than a reader takes, or when the file cannot be written.
[[nodiscard]] bool WriteRecord(std::string_view title, std::string_view extension,
                               std::initializer_list<std::string_view> lines,
                               std::string_view block);

// A record file as far as it goes: the lines asked for, those the file ends before
// left empty, and the bytes after them up to the size asked for.
struct RecordContents {
  std::vector<std::string> lines;
  std::size_t lines_read = 0;
  std::string block;
  bool bytes_after_block = false;  // the file goes on after the block: no record of the kind
};

// Reads `line_count` lines and then up to `block_size` bytes of the record file of
// `title`. Refused, with nothing read, when the title is empty, the record folder
// cannot be had, the file cannot be opened, or it is larger than such a record can
// be (line_count lines of at most CStdioFile::kMaxLineLength bytes and the block),
// so a huge file is never read.
RecordStatus ReadRecord(std::string_view title, std::string_view extension, std::size_t line_count,
                        std::size_t block_size, RecordContents& contents);

// The record files with this extension, or why the record folder cannot be listed.
RecordListing ListRecordFiles(std::string_view extension);

}  // namespace orvale
