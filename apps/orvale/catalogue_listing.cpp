#include "catalogue_listing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <utility>

#include "orvale/engine/angles/angles.h"
#include "output_check.h"
#include "output_file.h"

namespace orvale::cli {
namespace {

// The shortest plain-decimal text that reads back as the same double.
std::string ShortestText(double value) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
  return std::string(text, result.ptr);
}

// Characters on screen: every UTF-8 sequence counts once.
std::size_t DisplayWidth(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::size_t FractionWidth(std::string_view number) {
  const std::size_t point = number.find('.');
  return point == std::string_view::npos ? 0 : number.size() - point;
}

using Cells = std::vector<std::string>;

// Pads numbers on the right so that, once right-aligned, their decimal points line up.
void AlignDecimalPoints(std::vector<Cells>& rows, const std::vector<CatalogueColumn>& columns) {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (!columns[c].number) continue;
    std::size_t widest = 0;
    for (std::size_t r = 1; r < rows.size(); ++r)
      widest = std::max(widest, FractionWidth(rows[r][c]));
    for (std::size_t r = 1; r < rows.size(); ++r)
      rows[r][c].append(widest - FractionWidth(rows[r][c]), ' ');
  }
}

}  // namespace

bool CatalogueOptions::Given(std::string_view name) const {
  return std::any_of(named.begin(), named.end(), [name](const CLI::Option* option) {
    return option->get_name() == name && option->count() > 0;
  });
}

void AddCatalogueOptions(CLI::App& command, CatalogueOptions& options, CatalogueValues values) {
  auto* format = command
                     .add_option("-f,--format", options.format,
                                 "text (an aligned table), csv (RFC 4180, with a header) or json\n"
                                 "(one object a line, keyed as the CSV header)")
                     ->capture_default_str();
  auto* csv = command.add_flag("--csv", options.csv, "The same as --format csv")->excludes(format);
  command.add_flag("--json", options.json, "The same as --format json")
      ->excludes(format)
      ->excludes(csv);
  command.add_option("-o,--output", options.output,
                     "Write the listing to this file, whole or not at all");
  if (values.angles) {
    options.named.push_back(command.add_option(
        "--angles", options.angles,
        "Angles as dms, dm, degrees, signed-degrees or gradians (default: decimal\n"
        "degrees in full)"));
  }
  if (values.lengths) {
    options.named.push_back(
        command.add_option("--units", options.units,
                           "Lengths in m, km, ft (international foot), us-ft (US survey\n"
                           "foot) or a name of 'orvale units' (default: metres in full)"));
  }
  if (values.angles || values.lengths) {
    options.named.push_back(command.add_option(
        "-d,--decimals", options.decimals,
        "Decimals of angles and lengths, 0..32 (default: every digit the value has)"));
  }
}

std::string CatalogueHelp(CatalogueValues values) {
  std::string help =
      "The listing is an aligned table, or with --format csv or json the same rows as\n"
      "CSV or JSON lines, which other programs read";
  if (values.angles || values.lengths) {
    help +=
        "; --angles, --units and --decimals write\n"
        "its values as 'orvale project' writes results";
  }
  return help + ".\n";
}

CatalogueWriter::CatalogueWriter(std::string command, std::vector<CatalogueColumn> columns)
    : command_(std::move(command)), columns_(std::move(columns)) {}

bool CatalogueWriter::Configure(const CatalogueOptions& options, std::ostream& err) {
  std::string problem;
  const std::string format = options.csv ? "csv" : options.json ? "json" : options.format;
  bool ok = ReadOutputFormat(format, style_.format, problem);
  if (ok && options.Given("--angles")) {
    ok = ReadAngleNotation(options.angles, style_.angle_notation, problem);
    style_.angle_decimals = -1;  // the notation's own
    exact_angles_ = false;
  }
  if (ok && options.Given("--units")) {
    ok = ReadLengthUnit(options.units, style_.metres_per_unit, problem);
    units_ = options.units;
    exact_lengths_ = false;
  }
  if (ok && options.Given("--decimals")) {
    if (options.decimals < 0 || options.decimals > kMostDecimals) {
      problem = "--decimals must be 0.." + std::to_string(kMostDecimals) + ", not " +
                std::to_string(options.decimals);
      ok = false;
    }
    style_.angle_decimals = options.decimals;
    style_.length_decimals = options.decimals;
    exact_angles_ = exact_lengths_ = false;
  }
  if (!ok) err << command_ << ": " << problem << "\n";
  output_ = options.output;
  return ok;
}

RowWriter& CatalogueWriter::NewRow() {
  return rows_.emplace_back(style_);
}

void CatalogueWriter::Text(RowWriter& row, std::string_view utf8) const {
  row.Text(utf8);
}

void CatalogueWriter::Count(RowWriter& row, long long value) const {
  row.NumberText(std::to_string(value));
}

void CatalogueWriter::Exact(RowWriter& row, double value) const {
  if (std::isfinite(value)) {
    row.NumberText(ShortestText(value));
  } else {
    row.Missing();
  }
}

void CatalogueWriter::Length(RowWriter& row, double metres) const {
  if (exact_lengths_) {
    Exact(row, metres);
  } else {
    row.Length(metres);
  }
}

void CatalogueWriter::Angle(RowWriter& row, double radians, int type) const {
  if (!exact_angles_) {
    row.Angle(radians, type);
    return;
  }
  if (!std::isfinite(radians)) {
    row.Missing();
    return;
  }
  // Dividing by the factor the catalogue multiplied by gives its degrees back exactly;
  // the truncated reverse factor would show 175.5 as 175.5000000001.
  char text[48];
  std::snprintf(text, sizeof text, "%.10f", radians / kRadiansPerDegree);
  std::string degrees = text;
  degrees.erase(degrees.find_last_not_of('0') + 1);
  if (degrees.back() == '.') degrees.pop_back();
  row.NumberText(degrees == "-0" ? "0" : degrees);
}

void CatalogueWriter::WriteTable(std::ostream& out) const {
  std::vector<Cells> cells;
  Cells& heading = cells.emplace_back();
  for (const CatalogueColumn& column : columns_) {
    std::string text = column.heading;
    if (const std::size_t metres = text.find("(m)");
        column.length && !units_.empty() && metres != std::string::npos) {
      text.replace(metres, 3, "(" + units_ + ")");
    }
    // Angles in a notation of their own are no longer decimal degrees.
    if (const std::size_t degrees = text.find(" (\xC2\xB0)");
        !exact_angles_ && style_.angle_notation >= 0 && degrees != std::string::npos) {
      text.erase(degrees);
    }
    heading.push_back(std::move(text));
  }
  for (const RowWriter& row : rows_) {
    Cells& line = cells.emplace_back(columns_.size());
    const auto values = row.Values();
    for (std::size_t c = 0; c < values.size() && c < columns_.size(); ++c) {
      if (!values[c].missing) line[c] = EscapedControls(row.Bytes(values[c]));
    }
  }
  AlignDecimalPoints(cells, columns_);
  // A column no row fills says nothing on screen; CSV and JSON keep every column so
  // that their shape never depends on the rows.
  std::vector<bool> shown(columns_.size(), false);
  for (std::size_t r = 1; r < cells.size(); ++r) {
    for (std::size_t c = 0; c < columns_.size(); ++c)
      shown[c] = shown[c] || cells[r][c].find_first_not_of(' ') != std::string::npos;
  }
  if (cells.size() == 1) shown.assign(columns_.size(), true);
  std::vector<std::size_t> widths(columns_.size(), 0);
  for (const Cells& line : cells) {
    for (std::size_t c = 0; c < columns_.size(); ++c)
      widths[c] = std::max(widths[c], DisplayWidth(line[c]));
  }
  for (const Cells& line : cells) {
    std::string text;
    bool first = true;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      if (!shown[c]) continue;
      const std::string padding(widths[c] - DisplayWidth(line[c]), ' ');
      if (!first) text += "  ";
      first = false;
      text += columns_[c].number ? padding + line[c] : line[c] + padding;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out << text << "\n";
  }
}

std::string CatalogueWriter::CsvOrJson() const {
  const LineLayout layout;
  PointShape shape;
  for (const CatalogueColumn& column : columns_)
    shape.outputs.push_back(column.key);
  const RowAssembler assembler(layout, shape, style_);
  std::string text = assembler.Header(false);
  if (!text.empty()) text += '\n';
  for (const RowWriter& row : rows_) {
    assembler.Append({}, row, text);
    text += '\n';
  }
  return text;
}

int CatalogueWriter::Write(int status, const Streams& streams) const {
  AtomicOutputFile file;
  std::string problem;
  if (!output_.empty() && !file.Open(output_, problem)) {
    streams.err << command_ << ": " << problem << "\n";
    return kExitUsage;
  }
  std::ostream& out = output_.empty() ? streams.out : file.stream();
  if (style_.format == OutputFormat::kText) {
    WriteTable(out);
  } else {
    out << CsvOrJson();
  }
  if (!output_.empty() && !file.Commit(problem)) {
    streams.err << command_ << ": " << problem << "\n";
    return kExitBadInput;
  }
  return status;
}

}  // namespace orvale::cli
