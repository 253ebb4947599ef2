#pragma once
// What every kind of record file shares: where it lives, what it is called, and
// which texts can be stored in its lines.

#include <string>
#include <string_view>
#include <vector>

namespace orvale {

// The name of a file without folder and extension.
std::string FileTitle(std::string_view path);

// The key a new record is saved under: its name, or "<name>_<country>".
std::string RecordKey(std::string_view name, std::string_view country);

// "<record folder><title>.<extension>".
std::string RecordPath(std::string_view title, std::string_view extension);

// Names of the record files with this extension, in list order (sorted).
std::vector<std::string> RecordFiles(std::string_view extension);

// A key naming no file inside the record folder: empty, or holding a folder
// separator, a control character or a character the shared file systems refuse.
bool IsUsableFileTitle(std::string_view title);

// A text the line reader would cut or split cannot be stored as a line.
bool IsStorableLine(std::string_view text);

}  // namespace orvale
