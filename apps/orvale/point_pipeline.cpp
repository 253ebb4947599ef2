#include "point_pipeline.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <span>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "number_text.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/platform/xlsx_reader.h"
#include "output_file.h"
#include "text_fields.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

constexpr std::array<NamedValue, 3> kFormats = {{{"text", 0, ""}, {"csv", 1, ""}, {"json", 2, ""}}};
constexpr std::array<NamedValue, 3> kErrorPolicies = {
    {{"mark", 0, ""}, {"skip", 1, ""}, {"stop", 2, ""}}};
constexpr std::array<NamedValue, 5> kAngleNotations = {
    {{"dms", ANGLE_PREF_DMS, ""},
     {"dm", ANGLE_PREF_DM, ""},
     {"degrees", ANGLE_PREF_DEGREES, ""},
     {"signed-degrees", ANGLE_PREF_SIGNED_DEGREES, ""},
     {"gradians", ANGLE_PREF_GRADIANS, ""}}};

constexpr std::array<bool, 256> kTextSeparators = [] {
  std::array<bool, 256> table{};
  for (const unsigned char c : {' ', '\t', ',', ';'})
    table[c] = true;
  return table;
}();

// Bytes that make a value need care on output. Numbers never hold them, so only texts
// are searched, and with a table: find_first_of calls memchr for every byte.
constexpr std::array<bool, 256> ByteSet(std::string_view bytes) {
  std::array<bool, 256> table{};
  for (const char c : bytes)
    table[static_cast<unsigned char>(c)] = true;
  return table;
}
constexpr std::array<bool, 256> kLineBreaks = ByteSet("\r\n");
constexpr std::array<bool, 256> kCsvSpecials = ByteSet(",\"\r\n");

bool HoldsAny(std::string_view bytes, const std::array<bool, 256>& set) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [&set](char c) { return set[static_cast<unsigned char>(c)]; });
}

bool IsTextSeparator(char c) {
  return kTextSeparators[static_cast<unsigned char>(c)];
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number a double cannot hold ("1e400"): without this it would go to the angle
// reader, which takes the "e" for a quadrant letter.
bool IsOutOfRangeNumber(std::string_view field) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc::result_out_of_range && end == field.data() + field.size();
}

// The unit table's name as an option value: lower case, blanks as "-" ("us-survey").
std::string OptionName(std::string_view name) {
  std::string option;
  for (const char c : name)
    option += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return option;
}

bool IsWholeNumber(std::string_view text, std::size_t& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// --columns as given: each a 1-based number or a header name.
std::vector<std::string> ColumnWords(const std::string& columns) {
  std::vector<std::string> words;
  std::stringstream in(columns);
  for (std::string word; std::getline(in, word, ',');)
    words.emplace_back(Trim(word));
  return words;
}

bool ResolveColumns(const std::vector<std::string>& words, const std::vector<std::string>& names,
                    std::vector<std::size_t>& columns, std::string& problem) {
  columns.clear();
  for (const std::string& word : words) {
    std::size_t number = 0;
    if (IsWholeNumber(word, number)) {
      if (number == 0) {
        problem = "--columns counts columns from 1, not 0";
        return false;
      }
      columns.push_back(number - 1);
      continue;
    }
    const auto found = std::find(names.begin(), names.end(), word);
    if (found == names.end()) {
      problem = "--columns: no column '" + word + "' in the header row";
      if (names.empty())
        problem = "--columns: '" + word + "' is a name, and there is no header row";
      return false;
    }
    columns.push_back(static_cast<std::size_t>(found - names.begin()));
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (std::count(columns.begin(), columns.end(), columns[i]) > 1) {
      problem = "--columns names column " + std::to_string(columns[i] + 1) + " twice";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadOutputFormat(const std::string& text, OutputFormat& format, std::string& problem) {
  int value = 0;
  if (!LookUp(kFormats, text, value, problem)) return false;
  format = static_cast<OutputFormat>(value);
  return true;
}

bool ReadAngleNotation(const std::string& text, int& notation, std::string& problem) {
  if (LookUp(kAngleNotations, text, notation, problem)) return true;
  problem = "--angles: " + problem;
  return false;
}

bool ReadLengthUnit(const std::string& text, double& metres_per_unit, std::string& problem) {
  const std::array<std::pair<std::string_view, double>, 4> short_names = {
      {{"m", 1.0}, {"km", 1000.0}, {"ft", 0.3048}, {"us-ft", kMetresPerUsSurveyFoot}}};
  std::string choices;
  for (const auto& [name, factor] : short_names) {
    if (text == name) {
      metres_per_unit = factor;
      return true;
    }
    choices += " " + std::string(name);
  }
  for (const auto table : {MetricUnits(), ImperialUnits()}) {
    for (const LengthUnit& unit : table) {
      const std::string name = OptionName(unit.name);
      if (text == name) {
        metres_per_unit = unit.metres_per_unit;
        return true;
      }
      choices += " " + name;
    }
  }
  problem = "--units: unknown unit '" + text + "'; choose one of:" + choices;
  return false;
}

void RowWriter::Clear() {
  bytes_.clear();
  values_.clear();
}

void RowWriter::Finish(bool text, bool missing) {
  const std::size_t begin = values_.empty() ? 0 : values_.back().end;
  values_.push_back({begin, bytes_.size(), text, missing});
}

void RowWriter::Number(double value, int decimals) {
  const bool missing = !std::isfinite(value);
  if (!missing) AppendFixed(bytes_, value, decimals);
  Finish(false, missing);
}

void RowWriter::Length(double metres) {
  Number(metres / style_.metres_per_unit, style_.length_decimals);
}

void RowWriter::Angle(double radians, int type) {
  if (style_.angle_notation < 0 || !std::isfinite(radians)) {
    Number(radians * kDegreesPerRadian, style_.angle_decimals);
    return;
  }
  bytes_ += Cp1252ToUtf8(FormatAngle(radians, type, style_.angle_notation, style_.angle_decimals));
  Finish(true, false);
}

void RowWriter::Text(std::string_view text) {
  bytes_ += text;
  Finish(true, false);
}

void RowWriter::NumberText(std::string_view digits) {
  bytes_ += digits;
  Finish(false, false);
}

void RowWriter::Missing() {
  Finish(false, true);
}

bool ReadNumberField(std::string_view field, double& value) {
  // One sign: "+-51" is not a number.
  if (field.starts_with('+') && !field.starts_with("+-")) field.remove_prefix(1);
  return ReadDecimal(field, value) && std::isfinite(value);
}

bool ReadAngleField(std::string_view field, int type, int notation, double& radians,
                    std::string& reason) {
  double degrees = 0.0;
  if (notation != ANGLE_PREF_GRADIANS && ReadNumberField(field, degrees)) {
    radians = degrees / kDegreesPerRadian;
    return true;
  }
  if (IsOutOfRangeNumber(field)) {
    reason = "'" + Excerpt(field) + "': a number too large or too small for a double";
    return false;
  }
  const auto bytes = Utf8AngleToCp1252(field);
  if (!bytes) {
    reason = EncodingProblem(field);
    return false;
  }
  const AngleParseResult parsed =
      ParseAngle(*bytes, type, notation == ANGLE_PREF_GRADIANS ? notation : ANGLE_PREF_DEGREES);
  if (!parsed.ok) {
    reason = "'" + Excerpt(field) + "': " + Cp1252ToUtf8(parsed.error);
    return false;
  }
  radians = parsed.radians;
  return true;
}

bool ReadLengthField(std::string_view field, double metres_per_unit, double& metres,
                     std::string& reason) {
  if (ReadNumberField(field, metres)) {
    metres *= metres_per_unit;
    return true;
  }
  reason = "'" + Excerpt(field) + "': not a finite number";
  return false;
}

bool SplitLine(std::string_view line, InputDialect dialect, std::vector<std::string_view>& fields,
               std::string& scratch, std::string& reason) {
  fields.clear();
  if (dialect == InputDialect::kText) {
    const std::size_t size = line.size();
    std::size_t i = 0;
    while (true) {
      while (i < size && IsTextSeparator(line[i]))
        ++i;
      if (i == size) return true;
      const std::size_t start = i;
      while (i < size && !IsTextSeparator(line[i]))
        ++i;
      fields.push_back(line.substr(start, i - start));
    }
  }
  // Unquoted text stays where it is; quoted fields are copied out without their quotes.
  // The room is kept first, so the views into `scratch` stay valid.
  scratch.clear();
  scratch.reserve(line.size());
  std::size_t i = 0;
  while (true) {
    if (i < line.size() && line[i] == '"') {
      const std::size_t begin = scratch.size();
      for (++i;; ++i) {
        if (i >= line.size()) {
          reason = "a quoted field is not closed";
          return false;
        }
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            scratch += '"';
            ++i;
            continue;
          }
          ++i;
          break;
        }
        scratch += line[i];
      }
      fields.push_back(std::string_view(scratch).substr(begin));
      if (i < line.size() && line[i] != ',') {
        reason = "text after the closing quote of field " + std::to_string(fields.size());
        return false;
      }
    } else {
      const std::size_t comma = std::min(line.find(',', i), line.size());
      fields.push_back(line.substr(i, comma - i));
      i = comma;
    }
    if (i >= line.size()) return true;
    ++i;  // the comma
  }
}

bool SelectInputs(const LineLayout& layout, std::span<const std::string> inputs,
                  std::span<const std::string_view> fields, std::vector<std::string_view>& selected,
                  LineError& error) {
  selected.clear();
  if (layout.columns.empty()) {
    const std::size_t first = layout.with_id ? 1 : 0;
    if (fields.size() != first + inputs.size()) {
      // "expected an id, latitude and longitude, found 1 field"
      error.reason = "expected ";
      if (layout.with_id) error.reason += inputs.size() > 1 ? "an id, " : "an id and ";
      for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i > 0) error.reason += i + 1 == inputs.size() ? " and " : ", ";
        error.reason += inputs[i];
      }
      error.reason +=
          ", found " + std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields");
      return false;
    }
    for (std::size_t i = first; i < fields.size(); ++i)
      selected.push_back(Trim(fields[i]));
    return true;
  }
  const std::size_t needed = *std::max_element(layout.columns.begin(), layout.columns.end()) + 1;
  if (fields.size() < needed) {
    error.reason = "expected at least " + std::to_string(needed) + " fields, found " +
                   std::to_string(fields.size());
    return false;
  }
  for (const std::size_t column : layout.columns)
    selected.push_back(Trim(fields[column]));
  return true;
}

std::size_t RowAssembler::ChosenRank(std::size_t field) const {
  if (std::find(layout_.columns.begin(), layout_.columns.end(), field) == layout_.columns.end())
    return static_cast<std::size_t>(-1);
  return static_cast<std::size_t>(
      std::count_if(layout_.columns.begin(), layout_.columns.end(),
                    [field](std::size_t column) { return column < field; }));
}

std::string RowAssembler::FieldName(std::size_t field) const {
  if (kept_names_.empty()) NameKeptFields();
  if (field < kept_names_.size()) return kept_names_[field];
  return "column" + std::to_string(field + 1);
}

// A kept column named as a result ("easting" in, easting out) or as another column
// takes a suffix, so that no JSON object holds a key twice.
void RowAssembler::NameKeptFields() const {
  std::vector<std::string> taken(shape_.outputs.begin(), shape_.outputs.end());
  for (std::size_t field = 0; field < layout_.names.size(); ++field) {
    std::string name = layout_.names[field];
    if (ChosenRank(field) == static_cast<std::size_t>(-1)) {
      for (int k = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++k)
        name = layout_.names[field] + "_" + std::to_string(k);
      taken.push_back(name);
    }
    kept_names_.push_back(std::move(name));
  }
  if (kept_names_.empty()) kept_names_.push_back("column1");  // no header: numbered
}

void RowAssembler::Piece(std::string_view name, std::string_view bytes, bool text, bool missing,
                         bool first, std::string& out) const {
  switch (style_.format) {
    case OutputFormat::kText:
      if (!first) out += ' ';
      if (missing) {
        out += '-';
      } else if (!text || !HoldsAny(bytes, kLineBreaks)) {
        out += bytes;
      } else {
        // A CSV field's line breaks would break the one line of output per record.
        for (const char c : bytes)
          out += c == '\r' || c == '\n' ? ' ' : c;
      }
      break;
    case OutputFormat::kCsv:
      if (!first) out += ',';
      if (!text || !HoldsAny(bytes, kCsvSpecials)) {
        out += bytes;
      } else {
        out += CsvField(bytes);
      }
      break;
    case OutputFormat::kJson:
      if (!first) out += ',';
      AppendJsonString(out, name);
      out += ':';
      if (missing) {
        out += "null";
      } else if (text) {
        AppendJsonString(out, bytes);
      } else {
        out += bytes;
      }
      break;
  }
}

void RowAssembler::Append(std::span<const std::string_view> fields, const RowWriter& row,
                          std::string& out) const {
  const auto values = row.Values();
  const auto value = [&](std::size_t k, bool first) {
    Piece(shape_.outputs[k], row.Bytes(values[k]), values[k].text, values[k].missing, first, out);
  };
  if (style_.format == OutputFormat::kJson) out += '{';
  bool first = true;
  std::size_t next_value = 0;
  if (layout_.columns.empty()) {
    if (layout_.with_id && !fields.empty()) {
      Piece("id", fields[0], true, false, first, out);
      first = false;
    }
  } else {
    // The chosen columns take the values from left to right; the other columns stay as
    // they were.
    for (std::size_t field = 0; field < fields.size(); ++field) {
      const std::size_t rank = ChosenRank(field);
      if (rank < values.size()) {
        value(rank, first);
      } else {
        Piece(FieldName(field), fields[field], true, false, first, out);
      }
      first = false;
    }
    next_value = std::min(layout_.columns.size(), values.size());
  }
  for (std::size_t k = next_value; k < values.size(); ++k, first = false)
    value(k, first);
  if (style_.format == OutputFormat::kJson) out += '}';
}

std::string RowAssembler::Header(bool input_had_header) const {
  if (style_.format == OutputFormat::kJson) return {};
  std::vector<std::string> names;
  if (layout_.columns.empty()) {
    if (layout_.with_id)
      names.push_back(input_had_header && !layout_.names.empty() ? layout_.names[0] : "id");
    names.insert(names.end(), shape_.outputs.begin(), shape_.outputs.end());
  } else {
    const std::size_t count =
        std::max(layout_.names.size(),
                 *std::max_element(layout_.columns.begin(), layout_.columns.end()) + 1);
    for (std::size_t field = 0; field < count; ++field) {
      const std::size_t rank = ChosenRank(field);
      names.push_back(rank < shape_.outputs.size() ? shape_.outputs[rank] : FieldName(field));
    }
    names.insert(names.end(),
                 shape_.outputs.begin() + static_cast<std::ptrdiff_t>(layout_.columns.size()),
                 shape_.outputs.end());
  }
  std::string header;
  for (std::size_t i = 0; i < names.size(); ++i)
    Piece("", names[i], true, false, i == 0, header);
  return header;
}

bool PipelineOptions::Given(std::string_view name) const {
  return std::find(given.begin(), given.end(), name) != given.end();
}

void AddPipelineOptions(CLI::App& command, PipelineOptions& options,
                        std::vector<CLI::Option*>& named) {
  const auto keep = [&named](CLI::Option* option) { named.push_back(option); };
  command.add_option("POINT", options.points, "Points to convert, e.g. 52.5,-1.25");
  keep(command.add_option("--input", options.input,
                          "Read points from this file ('-' for standard input)"));
  keep(command.add_option("--sheet", options.sheet,
                          "With an .xlsx --input, the sheet to read, by name or number from 1\n"
                          "(default: the first); its rows read as CSV with a header row"));
  keep(command.add_option("-o,--output", options.output,
                          "Write the results to this file, whole or not at all"));
  command
      .add_option("-f,--format", options.format,
                  "Output: text, csv (RFC 4180, with a header) or json (one object a line)")
      ->capture_default_str();
  keep(command.add_flag("--csv-in", options.csv_in,
                        "The input is CSV (RFC 4180: quoted fields may hold commas, quotes and\n"
                        "line breaks) whose first row is a header (unless --no-header)"));
  keep(command.add_flag("--header", options.header,
                        "The first input line is a header row (names for --columns)"));
  keep(command.add_flag("--no-header", options.no_header,
                        "No header row in the input, and none in CSV output (later pieces\n"
                        "of a split file)"));
  keep(command.add_option("--columns", options.columns,
                          "The input columns, by header name or number from 1, e.g. lat,lon or\n"
                          "3,2; the other columns are kept and the results replace these"));
  command.add_flag("--lon-lat", options.lon_lat,
                   "Longitude first, in input and output (x y order)");
  keep(command.add_flag("--id", options.with_id,
                        "The first field of each line is a point id, copied out"));
  keep(command.add_option("--angles", options.angles,
                          "Angles out as dms, dm, degrees, signed-degrees or gradians (default:\n"
                          "decimal degrees); with gradians, bare input numbers are gradians"));
  keep(command.add_option("--units", options.units,
                          "Unit of grid lengths in and out: m, km, ft (international foot),\n"
                          "us-ft (US survey foot) or a name of 'orvale units' (indian-1975)"));
  keep(command.add_option("-d,--decimals", options.decimals,
                          "Decimals of the output, 0..32 (default 3 for lengths, 9 for degrees,\n"
                          "the notation's own with --angles)"));
  keep(command
           .add_option("--on-error", options.on_error,
                       "A line that gives no result: mark (an ERROR line in its place),\n"
                       "skip (no line) or stop (stop there); the exit status is 1")
           ->capture_default_str());
  keep(command.add_option("-j,--jobs", options.workers,
                          "Worker threads, 1.." + std::to_string(MostWorkers()) +
                              " (256, or four per core on larger machines;\n"
                              "default: one per core)"));
}

void CollectGivenOptions(const std::vector<CLI::Option*>& named, PipelineOptions& options) {
  options.given.clear();
  for (const CLI::Option* option : named) {
    if (option->count() > 0) options.given.push_back(option->get_name());
  }
}

std::string PipelineHelp() {
  return "Points come from POINT arguments, --input FILE or standard input, one per line:\n"
         "fields separated by blanks, commas or semicolons, or CSV with --csv-in. Angles\n"
         "are read in any form 'orvale angle' reads (51.5, -0.25, 51:30:15.2N, 51 30N in\n"
         "CSV, 57.2g). Lines that give no result print an error in their place ('ERROR:\n"
         "reason' in text and CSV, {\"error\":\"reason\"} in JSON; see --on-error) and are\n"
         "named on standard error with their line and column; '#' lines and blank lines\n"
         "are copied through (in JSON as {\"comment\":\"...\"} and {}), so output stays line\n"
         "for line with input. A value a method cannot give prints as '-' in text, an\n"
         "empty CSV field, null in JSON. The exit status is 1 when a line failed, 2 for a\n"
         "wrong command line.\n";
}

namespace {

struct Checked {
  OutputFormat format = OutputFormat::kText;
  ErrorPolicy on_error = ErrorPolicy::kMark;
  bool header = false;  // the input starts with a header row
  std::vector<std::string> column_words;
};

// A workbook given as --input, by its extension.
bool IsXlsxInput(const std::string& input) {
  if (input.size() < 5) return false;
  std::string extension = input.substr(input.size() - 5);
  for (char& c : extension)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".xlsx";
}

// A workbook sheet's rows as RFC 4180 records, for the CSV reading of the pipeline.
bool SheetAsCsv(const std::string& path, const std::string& sheet, std::string& csv,
                std::string& problem) {
  const XlsxSheetResult result =
      ReadXlsxSheet(path, sheet, [&csv](std::size_t, std::span<const std::string> cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
          if (i > 0) csv += ',';
          if (cells[i].find_first_of(",\"\r\n") == std::string::npos) {
            csv += cells[i];
            continue;
          }
          csv += '"';
          for (const char c : cells[i])
            csv += c == '"' ? std::string("\"\"") : std::string(1, c);
          csv += '"';
        }
        csv += '\n';
        return true;
      });
  if (!result.ok) problem = "cannot read '" + path + "': " + result.reason;
  return result.ok;
}

bool CheckOptions(const PipelineOptions& options, const PipelineSetup& setup, ValueStyle& style,
                  Checked& checked, std::string& problem) {
  if (!ReadOutputFormat(options.format, checked.format, problem)) return false;
  int value = 0;
  if (!LookUp(kErrorPolicies, options.on_error, value, problem)) {
    problem = "--on-error: " + problem;
    return false;
  }
  checked.on_error = static_cast<ErrorPolicy>(value);
  if (!options.points.empty() && options.Given("--input")) {
    problem = "give points as arguments or with --input, not both";
    return false;
  }
  if (options.Given("--jobs") && (options.workers < 1 || options.workers > MostWorkers())) {
    problem = "--jobs must be 1.." + std::to_string(MostWorkers()) + ", not " +
              std::to_string(options.workers);
    return false;
  }
  if (options.Given("--decimals") && (options.decimals < 0 || options.decimals > kMostDecimals)) {
    problem = "--decimals must be 0.." + std::to_string(kMostDecimals) + ", not " +
              std::to_string(options.decimals);
    return false;
  }
  if (options.header && options.no_header) {
    problem = "give --header or --no-header, not both";
    return false;
  }
  checked.column_words = ColumnWords(options.columns);
  if (options.Given("--columns") && checked.column_words.size() != setup.shape.inputs.size()) {
    problem = "--columns takes " + std::to_string(setup.shape.inputs.size()) + " columns (";
    for (std::size_t i = 0; i < setup.shape.inputs.size(); ++i)
      problem += (i > 0 ? ", " : "") + setup.shape.inputs[i];
    problem += "), not '" + options.columns + "'";
    return false;
  }
  if (options.Given("--columns") && options.with_id) {
    problem = "--columns keeps every other column as it is; --id cannot be given with it";
    return false;
  }
  style = setup.style;
  style.format = checked.format;
  if (options.Given("--angles")) {
    if (!ReadAngleNotation(options.angles, style.angle_notation, problem)) return false;
    style.angle_decimals = -1;
  }
  if (options.Given("--units") && !ReadLengthUnit(options.units, style.metres_per_unit, problem))
    return false;
  if (options.Given("--decimals")) {
    style.angle_decimals = options.decimals;
    style.length_decimals = options.decimals;
  }
  if (options.Given("--sheet") && !IsXlsxInput(options.input)) {
    problem = "--sheet needs an .xlsx --input";
    return false;
  }
  checked.header =
      options.header || ((options.csv_in || IsXlsxInput(options.input)) && !options.no_header);
  return true;
}

std::uint64_t RegularFileSize(int descriptor) {
  struct stat info {};
  if (descriptor < 0 || ::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

std::uint64_t RegularFileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace

int RunPipeline(PipelineSetup setup, const PipelineOptions& options, const ConverterMaker& make,
                const Streams& streams) {
  const std::string& command = setup.command;
  ValueStyle style;
  Checked checked;
  std::string problem;
  if (!CheckOptions(options, setup, style, checked, problem)) {
    streams.err << command << ": " << problem << "\n";
    return kExitUsage;
  }
  LineLayout layout;
  const bool xlsx = IsXlsxInput(options.input);
  layout.dialect = options.csv_in || xlsx ? InputDialect::kCsv : InputDialect::kText;
  layout.with_id = options.with_id;
  if (!checked.header && options.Given("--columns") &&
      !ResolveColumns(checked.column_words, {}, layout.columns, problem)) {
    streams.err << command << ": " << problem << "\n";
    return kExitUsage;
  }
  const RowAssembler assembler(layout, setup.shape, style);

  StreamOptions stream;
  stream.command = command;
  stream.workers = options.workers;
  stream.on_error = checked.on_error;
  stream.quoted_line_breaks = layout.dialect == InputDialect::kCsv;
  stream.style = checked.format == OutputFormat::kJson  ? LineStyle::kJson
                 : checked.format == OutputFormat::kCsv ? LineStyle::kCsv
                                                        : LineStyle::kText;
  if (checked.header) {
    stream.read_header = [&](std::string_view line, std::string& header, std::string& why) {
      std::vector<std::string_view> fields;
      std::string scratch;
      if (!SplitLine(line, layout.dialect, fields, scratch, why)) return false;
      layout.names.assign(fields.begin(), fields.end());
      for (std::string& name : layout.names)
        name = std::string(Trim(name));
      if (options.Given("--columns") &&
          !ResolveColumns(checked.column_words, layout.names, layout.columns, why)) {
        return false;
      }
      header = assembler.Header(true);
      return true;
    };
  } else if (checked.format == OutputFormat::kCsv && !options.no_header) {
    stream.header = assembler.Header(false);
  }
  const auto make_converter = [&] { return make(layout, style); };

  // The output: standard output, or a file put in place once whole.
  AtomicOutputFile file_out;
  if (!options.output.empty() && !file_out.Open(options.output, problem)) {
    streams.err << command << ": " << problem << "\n";
    return kExitUsage;
  }
  std::ostream& out = options.output.empty() ? streams.out : file_out.stream();

  StreamResult result;
  if (!options.points.empty()) {
    std::string lines;
    for (const std::string& point : options.points)
      lines += point + "\n";
    std::istringstream in(lines);
    stream.input_name = "arguments";
    result = StreamPoints(in, out, streams.err, stream, make_converter);
  } else if (xlsx) {
    std::string csv;
    if (!SheetAsCsv(options.input, options.sheet, csv, problem)) {
      streams.err << command << ": " << problem << "\n";
      return kExitUsage;
    }
    std::istringstream in(std::move(csv));
    stream.input_name = options.input;
    result = StreamPoints(in, out, streams.err, stream, make_converter);
  } else if (!options.input.empty() && options.input != "-") {
    std::ifstream file;
    if (IsReadableInput(options.input, -1, problem)) file.open(options.input, std::ios::binary);
    if (!file.is_open()) {
      if (problem.empty()) problem = "cannot open '" + options.input + "': " + std::strerror(errno);
      streams.err << command << ": " << problem << "\n";
      return kExitUsage;
    }
    stream.input_name = options.input;
    stream.show_progress = streams.interactive;
    stream.input_size = RegularFileSize(options.input);
    result = StreamPoints(file, out, streams.err, stream, make_converter);
  } else {
    if (!IsReadableInput({}, streams.in_descriptor, problem)) {
      streams.err << command << ": " << problem << "\n";
      return kExitUsage;
    }
    stream.input_size = streams.interactive ? RegularFileSize(streams.in_descriptor) : 0;
    stream.show_progress = stream.input_size > 0;  // a file, and a terminal watching
    result = StreamPoints(streams.in, out, streams.err, stream, make_converter);
  }
  if (!options.output.empty()) {
    if (result.header_refused) return kExitUsage;  // the file is left as it was
    if (!file_out.Commit(problem)) {
      streams.err << command << ": " << problem << "\n";
      return kExitBadInput;
    }
  }
  if (result.header_refused) return kExitUsage;
  return result.failed == 0 && !result.input_failed ? kExitOk : kExitBadInput;
}

}  // namespace orvale::cli
