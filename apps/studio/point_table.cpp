#include "apps/studio/point_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "apps/studio/web_host_services.h"
#include "orvale/dialogs/import_selectors.h"
#include "orvale/dialogs/point_file.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/shift_position.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/platform/list_control.h"
#include "orvale/platform/list_export.h"
#include "orvale/platform/xlsx_reader.h"

namespace orvale::studio {
namespace {

using nlohmann::json;

constexpr std::size_t kPreviewRows = 10;
constexpr std::size_t kMaxSheets = 64;
// Rows one conversion answers: every row has a result in the reply, so a bigger file
// is refused whole rather than cut short.
constexpr std::size_t kMaxRows = 100000;
constexpr std::string_view kCsvType = "text/csv; charset=utf-8";
constexpr std::string_view kXlsxType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()),
                    [](char a, char b) { return (a | 0x20) == (b | 0x20); });
}

std::string Metres(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string Degrees(double radians, int type) {
  return ToUtf8(FormatAngle(radians, type, ANGLE_PREF_DMS, 5));
}

std::string Scale(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9f", value);
  return text;
}

// UTF-8 as a list cell (Windows-1252); characters it has no byte for become "?".
std::string ListText(std::string_view utf8) {
  if (auto text = FromUtf8(utf8)) return *text;
  std::string text;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      text += static_cast<char>(byte);
    } else if ((byte & 0xC0) != 0x80) {
      text += '?';
    }
  }
  return text;
}

ApiReply TooLarge(std::size_t limit) {
  return ApiReply::Error(
      413, "the file is larger than the " + std::to_string(limit) + " bytes an upload may have");
}

// A text member of a JSON object; empty when absent or not a text.
std::string Member(const json& body, const char* key) {
  return body.is_object() && body.contains(key) && body[key].is_string()
             ? body[key].get<std::string>()
             : std::string();
}
// Any member; null when absent.
json Any(const json& body, const char* key) {
  return body.is_object() && body.contains(key) ? body[key] : json();
}

// The host's datum and its target, copied: a shift may change its datum (a Norwegian
// entry becomes the other across 62 degrees, grids load), and converting a file must
// leave the panes' datum as they show it. Never moved: the copies point at each other.
struct DatumCopy {
  CSpheroid target_spheroid;
  CProjection target_projection;
  CDatum datum;

  explicit DatumCopy(const CDatum& host) {
    target_projection.m_Spheroid = &target_spheroid;
    if (host.m_TargetSpheroid != nullptr) target_spheroid = *host.m_TargetSpheroid;
    target_projection = *host.m_TargetProjection;
    datum = host;
    datum.m_TargetSpheroid = &target_spheroid;
    datum.m_TargetProjection = &target_projection;
  }
  DatumCopy(const DatumCopy&) = delete;
  DatumCopy& operator=(const DatumCopy&) = delete;
};

struct ResultRow {
  std::size_t line = 0;
  std::vector<std::string> cells;  // UTF-8
  std::string status;              // "ok" or why not
  std::string method;
};

struct Results {
  std::vector<std::string> headings;
  std::vector<ResultRow> rows;
};

std::optional<json> IntegerArray(const json& value, std::size_t size) {
  if (!value.is_array() || value.size() != size) return std::nullopt;
  for (const json& item : value)
    if (!item.is_number_integer() || item.get<long long>() < -1 || item.get<long long>() > 25)
      return std::nullopt;
  return value;
}

std::unique_ptr<CPointImportSelector> MakeSelector(std::string_view kind) {
  if (kind == "geog-csv") return std::make_unique<CGeogCsvSelector>();
  if (kind == "geog-excel") return std::make_unique<CGeogExcelSelector>();
  if (kind == "grid-csv") return std::make_unique<CGridCsvSelector>();
  if (kind == "grid-excel") return std::make_unique<CGridExcelSelector>();
  return nullptr;
}

// Opens a selector as the dialog would, its destinations pointing at `columns`.
std::unique_ptr<CPointImportSelector> OpenSelector(std::string_view kind,
                                                   std::vector<int>& columns) {
  auto selector = MakeSelector(kind);
  if (!selector) return nullptr;
  columns.assign(selector->Destinations().size(), -1);
  for (std::size_t i = 0; i < columns.size(); ++i)
    selector->SetDestination(i, &columns[i]);
  static_cast<void>(selector->OnInitDialog());
  return selector;
}

json SelectorJson(std::string_view kind, CPointImportSelector& selector) {
  json names = json::array(), columns = json::array(), entries = json::array();
  for (std::string_view name : selector.ColumnNames())
    names.push_back(ToUtf8(name));
  for (const CExcelColumnComboBox& chooser : selector.Choosers())
    columns.push_back(chooser.GetColumn());
  if (!selector.Choosers().empty())
    for (const std::string& entry : selector.Choosers().front().Entries())
      entries.push_back(ToUtf8(entry));
  return {{"kind", kind},
          {"caption", ToUtf8(selector.Caption())},
          {"names", std::move(names)},
          {"columns", std::move(columns)},
          {"entries", std::move(entries)},
          {"sheet", ToUtf8(selector.m_SheetName)}};
}

}  // namespace

struct PointTable::Upload {
  std::filesystem::path path;
  std::string name;  // as uploaded, UTF-8
  bool spreadsheet = false;
  std::vector<std::string> sheets;
  Results results;
  std::unique_ptr<WebFileDialogs> exports;

  ~Upload() {
    std::error_code error;
    std::filesystem::remove(path, error);
  }
};

std::optional<std::string> DecodeBase64(std::string_view text) {
  while (!text.empty() && text.back() == '=')
    text.remove_suffix(1);
  if (text.size() % 4 == 1) return std::nullopt;
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3 + 2);
  unsigned buffer = 0;
  int bits = 0;
  for (const char c : text) {
    int value = -1;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    if (c >= '0' && c <= '9') value = c - '0' + 52;
    if (c == '+') value = 62;
    if (c == '/') value = 63;
    if (value < 0) return std::nullopt;
    buffer = (buffer << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((buffer >> bits) & 0xFFu);
    }
  }
  return bytes;
}

PointTable::PointTable(std::filesystem::path folder, std::size_t max_upload_bytes,
                       std::size_t max_files, CProjection* projection, CDatum* datum)
    : folder_(std::move(folder)),
      max_upload_bytes_(max_upload_bytes),
      projection_(projection),
      datum_(datum),
      uploads_(max_files) {}

PointTable::~PointTable() = default;

PointTable::Upload* PointTable::FindUpload(const json& body) {
  if (!body.is_object() || !body.contains("file") || !body["file"].is_string()) return nullptr;
  const std::string token = body["file"].get<std::string>();
  if (token.empty() || token.size() > 9 ||
      !std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return nullptr;
  return uploads_.Find(std::stoi(token));
}

ApiReply PointTable::Preview(const json& body) {
  if (!body.is_object()) return ApiReply::Error(400, "a preview needs a JSON object");
  std::string sheet;
  if (body.contains("sheet") && !body["sheet"].is_null()) {
    if (!body["sheet"].is_string()) return ApiReply::Error(400, "\"sheet\" is a text");
    sheet = body["sheet"].get<std::string>();
  }
  Upload* upload = nullptr;
  int id = 0;
  if (body.contains("content")) {
    if (!body["content"].is_string() || !body.contains("name") || !body["name"].is_string())
      return ApiReply::Error(400, "an upload needs \"name\" and \"content\" (base64)");
    const std::string name = body["name"].get<std::string>();
    const bool spreadsheet = EndsWithIgnoringCase(name, ".xlsx");
    if (!spreadsheet && !EndsWithIgnoringCase(name, ".csv"))
      return ApiReply::Error(400, "only .csv and .xlsx files can be imported");
    const std::string& encoded = body["content"].get_ref<const std::string&>();
    if (encoded.size() / 4 * 3 > max_upload_bytes_ + 2) return TooLarge(max_upload_bytes_);
    auto bytes = DecodeBase64(encoded);
    if (!bytes) return ApiReply::Error(400, "\"content\" is not base64");
    if (bytes->size() > max_upload_bytes_) return TooLarge(max_upload_bytes_);

    auto stored = std::make_unique<Upload>();
    stored->name = SafeUtf8(name);
    stored->spreadsheet = spreadsheet;
    const int next = uploads_.NextId();
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    stored->path = folder_ / ("upload-" + std::to_string(next) + (spreadsheet ? ".xlsx" : ".csv"));
    {
      std::ofstream out(stored->path, std::ios::binary | std::ios::trunc);
      out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
      if (!out) return ApiReply::Error(409, "the file cannot be stored");
    }
    if (spreadsheet) {
      // Sheet names by number until the workbook has no more; the first failing is
      // the workbook failing, which refuses the upload (the file goes with `stored`).
      for (std::size_t n = 1; n <= kMaxSheets; ++n) {
        const XlsxSheetResult result =
            ReadXlsxSheet(stored->path.string(), std::to_string(n),
                          [](std::size_t, std::span<const std::string>) { return false; });
        if (!result.ok) {
          if (n == 1)
            return ApiReply::Error(400, "the workbook cannot be read: " + SafeUtf8(result.reason));
          break;
        }
        if (std::find(stored->sheets.begin(), stored->sheets.end(), result.sheet_name) !=
            stored->sheets.end())
          break;
        stored->sheets.push_back(SafeUtf8(result.sheet_name));
      }
    }
    stored->exports =
        std::make_unique<WebFileDialogs>(folder_ / ("export-" + std::to_string(next)));
    id = uploads_.Add(std::move(stored));
    upload = uploads_.Find(id);
  } else {
    if (!body.contains("file"))
      return ApiReply::Error(400, "a preview needs \"content\" (with \"name\") or \"file\"");
    upload = FindUpload(body);
    if (upload == nullptr) return ApiReply::Error(404, "no such file");
    id = std::stoi(body["file"].get<std::string>());
  }

  json rows = json::array(), lines = json::array();
  std::size_t columns = 0;
  auto add = [&](std::size_t line, std::span<const std::string> cells) {
    json row = json::array();
    for (const std::string& cell : cells)
      row.push_back(SafeUtf8(cell));
    rows.push_back(std::move(row));
    lines.push_back(line);
    columns = std::max(columns, cells.size());
    return rows.size() < kPreviewRows;
  };
  if (upload->spreadsheet) {
    if (sheet.empty() && !upload->sheets.empty()) sheet = upload->sheets.front();
    const XlsxSheetResult result = ReadXlsxSheet(upload->path.string(), sheet, add);
    if (!result.ok)
      return ApiReply::Error(400, "the sheet cannot be read: " + SafeUtf8(result.reason));
  } else {
    std::ifstream in(upload->path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::size_t position = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    std::vector<std::string> fields;
    for (std::size_t line = 1; ReadCsvRecord(text, position, fields); ++line)
      if (!add(line, fields)) break;
  }
  json sheets = json::array();
  for (const std::string& name : upload->sheets)
    sheets.push_back(name);
  return ApiReply::Json({{"file", std::to_string(id)},
                         {"name", upload->name},
                         {"sheets", std::move(sheets)},
                         {"sheet", SafeUtf8(sheet)},
                         {"rows", std::move(rows)},
                         {"lines", std::move(lines)},
                         {"columns", columns}});
}

ApiReply PointTable::Convert(const json& body) {
  Upload* upload = FindUpload(body);
  if (upload == nullptr) return ApiReply::Error(404, "no such file");
  const std::string pane = Member(body, "pane");
  const std::string form = Member(body, "form");
  if (pane != "grid-to-geog" && pane != "datum-shift")
    return ApiReply::Error(400, "\"pane\" is grid-to-geog or datum-shift");
  if (form != "geog" && form != "grid") return ApiReply::Error(400, "\"form\" is geog or grid");
  const bool geog = form == "geog";
  const std::size_t count = geog ? 9 : 3;
  const auto columns_json = IntegerArray(Any(body, "columns"), count);
  if (!columns_json)
    return ApiReply::Error(400, "\"columns\" is " + std::to_string(count) +
                                    " column numbers from -1 to 25, in the selector's order");
  const std::vector<int> columns = columns_json->get<std::vector<int>>();
  int direction = kShiftForward;
  if (body.contains("direction")) {
    if (!body["direction"].is_number_integer() ||
        (body["direction"] != kShiftForward && body["direction"] != kShiftReverse))
      return ApiReply::Error(400, "\"direction\" is 1 or -1");
    direction = body["direction"].get<int>();
  }
  std::string sheet;
  if (upload->spreadsheet) {
    sheet = Member(body, "sheet");
    if (sheet.empty() && !upload->sheets.empty()) sheet = upload->sheets.front();
  }
  CProjection* input_projection = nullptr;
  std::unique_ptr<DatumCopy> copy;
  if (pane == "grid-to-geog") {
    if (projection_ == nullptr) return ApiReply::Error(409, "the host has no projection");
    input_projection = projection_;
  } else {
    if (datum_ == nullptr || datum_->m_TargetProjection == nullptr)
      return ApiReply::Error(409, "the host has no datum with a target");
    copy = std::make_unique<DatumCopy>(*datum_);
    input_projection =
        direction == kShiftForward ? &copy->datum.m_Projection : &copy->target_projection;
  }

  const PointFileResult read =
      ReadPointFile(upload->path.string(), upload->spreadsheet, sheet, columns,
                    geog ? PointFileKind::kGeographical : PointFileKind::kGrid);
  if (!read.ok) {
    // The reader names the scratch file; the user knows it by its own name.
    const auto cut = read.reason.find(" cannot be ");
    return ApiReply::Error(
        400, SafeUtf8(upload->name +
                      (cut == std::string::npos ? ": " + read.reason : read.reason.substr(cut))));
  }

  if (read.points.size() + read.problems.size() > kMaxRows)
    return ApiReply::Error(413, "the file has more than " + std::to_string(kMaxRows) +
                                    " rows, more than one conversion takes");

  Results results;
  const std::vector<std::string> inputs = geog ? std::vector<std::string>{"Latitude", "Longitude"}
                                               : std::vector<std::string>{"Easting", "Northing"};
  results.headings = {"Name", inputs[0], inputs[1]};
  const std::vector<std::string> outputs =
      pane == "grid-to-geog"
          ? (geog
                 ? std::vector<std::string>{"Easting", "Northing", "Convergence", "Scale Factor"}
                 : std::vector<std::string>{"Latitude", "Longitude", "Convergence", "Scale Factor"})
          : std::vector<std::string>{"Latitude", "Longitude", "Height", "Easting", "Northing"};
  const std::string suffix = pane == "datum-shift" ? " (Shifted)" : "";
  for (const std::string& heading : outputs)
    results.headings.push_back(heading + suffix);
  const std::size_t width = results.headings.size();

  // Every row, read or not, in the file's order.
  std::size_t next_point = 0, next_problem = 0;
  while (next_point < read.points.size() || next_problem < read.problems.size()) {
    ResultRow row;
    const bool problem = next_problem < read.problems.size() &&
                         (next_point >= read.points.size() ||
                          read.problems[next_problem].row < read.points[next_point].row);
    if (problem) {
      const PointFileProblem& p = read.problems[next_problem++];
      row.line = p.row;
      row.cells.assign(width, "");
      row.status = SafeUtf8(p.reason);
      results.rows.push_back(std::move(row));
      continue;
    }
    const FilePoint& point = read.points[next_point++];
    row.line = point.row;
    row.cells = {SafeUtf8(point.name),
                 geog ? Degrees(point.first, ANGLE_LATITUDE) : Metres(point.first),
                 geog ? Degrees(point.second, ANGLE_LONGITUDE) : Metres(point.second)};
    tagCOORD from, to;
    tagCOORD& in = pane == "datum-shift" && direction == kShiftReverse ? to : from;
    if (geog)
      SetGeogPoint(in, input_projection, point.first, 0.0, point.second);
    else
      SetGridPoint(in, input_projection, point.second, 0.0, point.first);
    if (pane == "grid-to-geog") {
      row.method = ToUtf8(projection_->m_Name);
      const double a = geog ? in.easting : in.latitude;
      const double b = geog ? in.northing : in.longitude;
      // A projection with no result for a point leaves NaN: a status, never a number.
      if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(in.convergence)) {
        row.status = "No result for this point on this projection";
        row.cells.resize(width);
      } else {
        row.cells.push_back(geog ? Metres(a) : Degrees(a, ANGLE_LATITUDE));
        row.cells.push_back(geog ? Metres(b) : Degrees(b, ANGLE_LONGITUDE));
        row.cells.push_back(Degrees(in.convergence, ANGLE_SIGNED));
        row.cells.push_back(Scale(in.scale_factor));
        row.status = "ok";
      }
    } else {
      CDatum& datum = copy->datum;
      const ShiftStatus status = ShiftPosition(datum, from, to, direction);
      row.method = ToUtf8(datum.GetName());
      const tagCOORD& out = direction == kShiftForward ? to : from;
      const CProjection* out_projection =
          direction == kShiftForward ? datum.m_TargetProjection : &datum.m_Projection;
      if (status != ShiftStatus::kShifted || !std::isfinite(out.latitude) ||
          !std::isfinite(out.longitude)) {
        const char* text = ShiftStatusText(status);
        row.status = *text != '\0' ? ToUtf8(text) : "No result for this point";
        row.cells.resize(width);
      } else {
        row.cells.push_back(Degrees(out.latitude, ANGLE_LATITUDE));
        row.cells.push_back(Degrees(out.longitude, ANGLE_LONGITUDE));
        row.cells.push_back(Metres(out.height));
        const bool grid =
            out_projection != nullptr && std::isfinite(out.easting) && std::isfinite(out.northing);
        row.cells.push_back(grid ? Metres(out.easting) : "");
        row.cells.push_back(grid ? Metres(out.northing) : "");
        row.status = "ok";
      }
    }
    results.rows.push_back(std::move(row));
  }
  upload->results = std::move(results);

  json rows = json::array();
  for (const ResultRow& row : upload->results.rows)
    rows.push_back(
        {{"line", row.line}, {"cells", row.cells}, {"status", row.status}, {"method", row.method}});
  return ApiReply::Json({{"headings", upload->results.headings}, {"rows", std::move(rows)}});
}

ApiReply PointTable::Export(const std::map<std::string, std::string>& query) {
  const auto file = query.find("file");
  Upload* upload = file == query.end() ? nullptr : FindUpload(json{{"file", file->second}});
  if (upload == nullptr) return ApiReply::Error(404, "no such file");
  const auto format = query.find("format");
  const std::string name = format == query.end() ? "" : format->second;
  if (name != "csv" && name != "xlsx") return ApiReply::Error(400, "\"format\" is csv or xlsx");
  if (upload->results.headings.empty())
    return ApiReply::Error(409, "the file has not been converted");

  // The results as a list, so that both files come from the library's own exports:
  // the CSV with its formula guard, the workbook with numbers as numbers.
  CListCtrl list;
  std::vector<std::string> headings = {"Line"};
  headings.insert(headings.end(), upload->results.headings.begin(), upload->results.headings.end());
  headings.insert(headings.end(), {"Status", "Method"});
  for (const std::string& heading : headings)
    static_cast<void>(list.InsertColumn(list.GetColumnCount(), ListText(heading)));
  for (const ResultRow& row : upload->results.rows) {
    const int item = list.InsertItem(list.GetItemCount(), std::to_string(row.line));
    int column = 1;
    for (const std::string& cell : row.cells)
      static_cast<void>(list.SetItemText(item, column++, ListText(cell)));
    static_cast<void>(list.SetItemText(item, column++, ListText(row.status)));
    static_cast<void>(list.SetItemText(item, column, ListText(row.method)));
  }
  const auto path = upload->exports->GetSaveFileName("Points." + name);
  std::string problem;
  const bool written = path && (name == "csv" ? ExportListCsv(list, *path)
                                              : ExportListXlsx(list, *path, "Points", &problem));
  auto reply = upload->exports->Take(name == "csv" ? kCsvType : kXlsxType);
  if (!written || !reply)
    return ApiReply::Error(409, "the results could not be exported " + problem);
  return std::move(*reply);
}

ApiReply PointTable::Selector(std::string_view kind) const {
  std::vector<int> columns;
  auto selector = OpenSelector(kind, columns);
  if (!selector) return ApiReply::Error(404, "no such selector");
  return ApiReply::Json(SelectorJson(kind, *selector));
}

ApiReply PointTable::SaveSelector(std::string_view kind, const json& body) {
  std::vector<int> columns;
  auto selector = OpenSelector(kind, columns);
  if (!selector) return ApiReply::Error(404, "no such selector");
  const auto chosen = IntegerArray(Any(body, "columns"), columns.size());
  if (!chosen)
    return ApiReply::Error(
        400, "\"columns\" is " + std::to_string(columns.size()) + " column numbers from -1 to 25");
  std::size_t i = 0;
  for (CExcelColumnComboBox& chooser : selector->Choosers())
    chooser.SetColumn((*chosen)[i++].get<int>());
  if (body.contains("sheet")) {
    if (!body["sheet"].is_string()) return ApiReply::Error(400, "\"sheet\" is a text");
    const auto sheet = FromUtf8(body["sheet"].get<std::string>());
    if (!sheet) return ApiReply::Error(400, "the sheet name cannot be stored");
    selector->m_SheetName = *sheet;
  }
  selector->OnOK();
  return ApiReply::Json(SelectorJson(kind, *selector));
}

}  // namespace orvale::studio
