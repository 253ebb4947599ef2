#pragma once
// The points of the file an import selector chose: a comma-separated file or a sheet
// of an Excel workbook, with the columns the user picked. Rows that cannot be read are
// reported, each with its number and why; the others become points.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class CPointImportSelector;

enum class PointFileKind {
  kGeographical,  // columns in GeogColumns order; latitude and longitude in radians
  kGrid,          // columns in GridColumns order; easting and northing in metres
};

struct FilePoint {
  std::size_t row = 0;  // as the file numbers it, from 1
  std::string name;
  double first = 0;   // latitude, or easting
  double second = 0;  // longitude, or northing
};

struct PointFileProblem {
  std::size_t row = 0;
  std::string reason;
};

struct PointFileResult {
  bool ok = false;     // false when the file itself could not be read
  std::string reason;  // why, when !ok
  std::vector<FilePoint> points;
  std::vector<PointFileProblem> problems;
};

// Reads the file at `path`: an Excel workbook's sheet `sheet` (see ReadXlsxSheet) when
// `spreadsheet`, else RFC 4180 comma-separated values in UTF-8 (a byte-order mark is
// skipped). `columns` holds the zero-based column of each value, -1 where the file has
// none: a skipped name is empty, skipped minutes, seconds or quadrant count 0 or the
// sign of the degrees; degrees, eastings and northings must have a column. Blank rows
// are skipped, and so is a first row whose every number column holds no number (the
// headings). Quadrants are N or S, E or W, in either case.
[[nodiscard]] PointFileResult ReadPointFile(std::string_view path, bool spreadsheet,
                                            std::string_view sheet, std::span<const int> columns,
                                            PointFileKind kind);

// The file `selector` chose: its folder and title with ".xlsx" (spreadsheet selectors)
// or ".csv", and its sheet.
[[nodiscard]] PointFileResult ReadPointFile(const CPointImportSelector& selector, bool spreadsheet,
                                            std::span<const int> columns, PointFileKind kind);

// One comma-separated record's fields, quotes removed and doubled quotes made single.
// `text` holds whole records; `position` moves past the record and its line end.
// False at the end of `text`, or (with `problem`) on a quote left open.
bool ReadCsvRecord(std::string_view text, std::size_t& position, std::vector<std::string>& fields,
                   std::string* problem = nullptr);

}  // namespace orvale
