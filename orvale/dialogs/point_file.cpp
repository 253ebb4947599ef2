#include "orvale/dialogs/point_file.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "orvale/dialogs/import_selectors.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/platform/xlsx_reader.h"

namespace orvale {
namespace {

constexpr std::array<std::string_view, 9> kGeogNames = {"name",
                                                        "latitude degrees",
                                                        "latitude minutes",
                                                        "latitude seconds",
                                                        "latitude quadrant",
                                                        "longitude degrees",
                                                        "longitude minutes",
                                                        "longitude seconds",
                                                        "longitude quadrant"};
constexpr std::array<std::string_view, 3> kGridNames = {"name", "easting", "northing"};

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> Number(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

class RowReader {
 public:
  RowReader(std::span<const int> columns, PointFileKind kind, PointFileResult& result)
      : columns_(columns), kind_(kind), result_(result) {}

  void Add(std::size_t row, std::span<const std::string> cells) {
    cells_ = cells;
    bool blank = true;
    for (const int column : columns_)
      if (!Trim(Cell(column)).empty()) blank = false;
    if (blank) return;
    const bool first = !seen_row_;
    seen_row_ = true;
    if (first && IsHeading()) return;
    FilePoint point;
    point.row = row;
    point.name = std::string(Trim(Cell(columns_[0])));
    std::string problem;
    const bool read =
        kind_ == PointFileKind::kGrid
            ? ReadGrid(point, problem)
            : ReadAngle(GeogColumns::kLatDeg, 'N', 'S', 90, point.first, problem) &&
                  ReadAngle(GeogColumns::kLonDeg, 'E', 'W', 180, point.second, problem);
    if (read)
      result_.points.push_back(std::move(point));
    else
      result_.problems.push_back({row, std::move(problem)});
  }

 private:
  std::string_view Cell(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= cells_.size()) return {};
    return cells_[static_cast<std::size_t>(column)];
  }
  std::string_view NameOf(std::size_t index) const {
    return kind_ == PointFileKind::kGrid ? kGridNames[index] : kGeogNames[index];
  }

  bool IsHeading() const {
    const std::array<std::size_t, 2> numbers =
        kind_ == PointFileKind::kGrid
            ? std::array<std::size_t, 2>{GridColumns::kEasting, GridColumns::kNorthing}
            : std::array<std::size_t, 2>{GeogColumns::kLatDeg, GeogColumns::kLonDeg};
    for (const std::size_t index : numbers)
      if (Number(Cell(columns_[index]))) return false;
    return true;
  }

  bool Value(std::size_t index, double& value, std::string& problem) const {
    const std::string_view text = Trim(Cell(columns_[index]));
    const auto number = Number(text);
    if (!number) {
      problem = text.empty()
                    ? std::string(NameOf(index)) + " is empty"
                    : std::string(NameOf(index)) + " \"" + std::string(text) + "\" is not a number";
      return false;
    }
    value = *number;
    return true;
  }

  bool ReadGrid(FilePoint& point, std::string& problem) const {
    return Value(GridColumns::kEasting, point.first, problem) &&
           Value(GridColumns::kNorthing, point.second, problem);
  }

  // Degrees, then minutes and seconds (0 when skipped or blank), each part below 60,
  // signed by the quadrant letter or, without one, by the degrees' minus sign.
  bool ReadAngle(std::size_t degrees_index, char positive, char negative, double limit,
                 double& radians, std::string& problem) const {
    double degrees = 0, parts[2] = {0, 0};
    if (!Value(degrees_index, degrees, problem)) return false;
    const bool minus = Trim(Cell(columns_[degrees_index])).starts_with('-');
    for (std::size_t i = 0; i < 2; ++i) {
      const std::size_t index = degrees_index + 1 + i;
      if (Trim(Cell(columns_[index])).empty()) continue;
      if (!Value(index, parts[i], problem)) return false;
      if (parts[i] < 0 || parts[i] >= 60) {
        problem = std::string(NameOf(index)) + " must be from 0 to below 60";
        return false;
      }
    }
    double magnitude = std::fabs(degrees) + parts[0] / 60 + parts[1] / 3600;
    const std::size_t quadrant_index = degrees_index + 3;
    const std::string_view quadrant = Trim(Cell(columns_[quadrant_index]));
    bool south_or_west = minus;
    if (!quadrant.empty()) {
      const char letter = quadrant.size() == 1 ? static_cast<char>(quadrant[0] & ~0x20) : '\0';
      if (letter != positive && letter != negative) {
        problem = std::string(NameOf(quadrant_index)) + " \"" + std::string(quadrant) +
                  "\" is not " + positive + " or " + negative;
        return false;
      }
      if (minus) {
        problem = std::string(NameOf(degrees_index)) + " has a minus sign and a quadrant";
        return false;
      }
      south_or_west = letter == negative;
    }
    if (magnitude > limit) {
      problem = std::string(NameOf(degrees_index)) + " is beyond " +
                std::to_string(static_cast<int>(limit)) + " degrees";
      return false;
    }
    if (south_or_west) magnitude = -magnitude;
    radians = magnitude * kRadiansPerDegree;
    return true;
  }

  std::span<const int> columns_;
  PointFileKind kind_;
  PointFileResult& result_;
  std::span<const std::string> cells_;
  bool seen_row_ = false;
};

PointFileResult Failed(std::string reason) {
  PointFileResult result;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

bool ReadCsvRecord(std::string_view text, std::size_t& position, std::vector<std::string>& fields,
                   std::string* problem) {
  fields.clear();
  if (position >= text.size()) return false;
  std::string field;
  std::size_t i = position;
  for (;;) {
    if (i < text.size() && text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) {
          if (problem) *problem = "a quoted field is not closed";
          position = text.size();
          return false;
        }
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          field += text[i];
        }
      }
    }
    // Unquoted text, or whatever follows a closing quote, up to the field's end.
    while (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n')
      field += text[i++];
    fields.push_back(std::move(field));
    field.clear();
    if (i < text.size() && text[i] == ',') {
      ++i;
      continue;
    }
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    position = i;
    return true;
  }
}

PointFileResult ReadPointFile(std::string_view path, bool spreadsheet, std::string_view sheet,
                              std::span<const int> columns, PointFileKind kind) {
  const std::size_t expected = kind == PointFileKind::kGrid ? kGridNames.size() : kGeogNames.size();
  if (columns.size() != expected)
    return Failed("the columns given are not the " + std::to_string(expected) + " this kind needs");
  const std::array<std::size_t, 2> required =
      kind == PointFileKind::kGrid
          ? std::array<std::size_t, 2>{GridColumns::kEasting, GridColumns::kNorthing}
          : std::array<std::size_t, 2>{GeogColumns::kLatDeg, GeogColumns::kLonDeg};
  for (const std::size_t index : required)
    if (columns[index] < 0)
      return Failed("no column holds the " + std::string(kind == PointFileKind::kGrid
                                                             ? kGridNames[index]
                                                             : kGeogNames[index]));

  PointFileResult result;
  RowReader reader(columns, kind, result);
  if (spreadsheet) {
    const XlsxSheetResult sheet_result =
        ReadXlsxSheet(path, sheet, [&](std::size_t row, std::span<const std::string> cells) {
          reader.Add(row, cells);
          return true;
        });
    if (!sheet_result.ok)
      return Failed(std::string(path) + " cannot be read: " + sheet_result.reason);
    result.ok = true;
    return result;
  }

  std::ifstream in{std::filesystem::path(path), std::ios::binary};
  if (!in) return Failed(std::string(path) + " cannot be opened");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return Failed(std::string(path) + " cannot be read");
  std::size_t position = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  std::vector<std::string> fields;
  std::string problem;
  for (std::size_t row = 1;; ++row) {
    if (!ReadCsvRecord(text, position, fields, &problem)) {
      if (!problem.empty()) result.problems.push_back({row, problem});
      break;
    }
    reader.Add(row, fields);
  }
  result.ok = true;
  return result;
}

PointFileResult ReadPointFile(const CPointImportSelector& selector, bool spreadsheet,
                              std::span<const int> columns, PointFileKind kind) {
  std::string path = selector.m_Path + selector.m_FileName;
  if (spreadsheet) {
    path += ".xlsx";
  } else {
    // The title lost its extension; comma-separated files come in either case.
    std::error_code error;
    path += std::filesystem::exists(path + ".csv", error) ||
                    !std::filesystem::exists(path + ".CSV", error)
                ? ".csv"
                : ".CSV";
  }
  return ReadPointFile(path, spreadsheet, selector.m_SheetName, columns, kind);
}

}  // namespace orvale
