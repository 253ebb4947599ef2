// orvale project: geographical positions to grid co-ordinates and back, for points
// given on the command line or streamed from a file or standard input.

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "commands.h"
#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/platform/text_encoding.h"
#include "point_stream.h"
#include "projection_select.h"
#include "projection_setup.h"
#include "text_fields.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

enum class Format { kText, kCsv, kJson };

struct ProjectOptions {
  ProjectionOptions projection;
  std::vector<std::string> points;
  std::string input;
  std::string format = "text";
  bool inverse = false;
  bool lon_lat = false;
  bool with_id = false;
  bool convergence = false;
  bool scale = false;
  bool describe = false;
  int decimals = -1;
  int workers = 0;
  // Options given on the command line, by name, as their checks need to know.
  std::vector<std::string> given;
  bool Given(std::string_view name) const {
    return std::find(given.begin(), given.end(), name) != given.end();
  }
};

struct OutputSettings {
  Format format = Format::kText;
  bool inverse = false;
  bool lon_lat = false;
  bool with_id = false;
  bool convergence = false;
  bool scale = false;
  int decimals = 3;
};

constexpr int kMostDecimals = 32;

// Splits a line at blanks, tabs, commas and semicolons without allocating; returns the
// number of fields, of which the first eight are kept.
std::size_t SplitFields(std::string_view line, std::array<std::string_view, 8>& fields) {
  std::size_t count = 0;
  std::size_t start = std::string_view::npos;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    const bool separator =
        i == line.size() || line[i] == ' ' || line[i] == '\t' || line[i] == ',' || line[i] == ';';
    if (!separator && start == std::string_view::npos) start = i;
    if (separator && start != std::string_view::npos) {
      if (count < fields.size()) fields[count] = line.substr(start, i - start);
      ++count;
      start = std::string_view::npos;
    }
  }
  return count;
}

bool ReadNumber(std::string_view field, double& value) {
  // One sign: "+-51" is not a number.
  if (field.starts_with('+') && !field.starts_with("+-")) field.remove_prefix(1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && std::isfinite(value);
}

// A whole number that a double cannot hold ("1e400", "1e-400"): without this it would
// go to the angle reader, which takes the "e" for a quadrant letter.
bool IsOutOfRangeNumber(std::string_view field) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc::result_out_of_range && end == field.data() + field.size();
}

// Decimal degrees on the fast path; anything else ParseAngle reads (D:M:S, N/S/E/W).
bool ReadDegrees(std::string_view field, int type, double& radians, std::string& error) {
  double degrees = 0.0;
  if (ReadNumber(field, degrees)) {
    radians = degrees / kDegreesPerRadian;
    return true;
  }
  if (IsOutOfRangeNumber(field)) {
    error = "'" + Excerpt(field) + "': a number too large or too small for a double";
    return false;
  }
  const auto bytes = Utf8ToCp1252(field);
  if (!bytes) {
    error = EncodingProblem(field);
    return false;
  }
  const AngleParseResult parsed = ParseAngle(*bytes, type, ANGLE_PREF_DEGREES);
  if (!parsed.ok) {
    error = "'" + Excerpt(field) + "': " + Cp1252ToUtf8(parsed.error);
    return false;
  }
  radians = parsed.radians;
  return true;
}

class PointConverter final : public LineConverter {
 public:
  PointConverter(const CSpheroid& spheroid, const CProjection& projection,
                 const OutputSettings& settings)
      : spheroid_(spheroid), projection_(projection), settings_(settings) {
    projection_.m_Spheroid = &spheroid_;
  }

  // The lines go through the projection as a run (much the faster way); Convert then
  // only writes each line's results. A line that does not read is left to Convert,
  // which says why.
  void Prepare(std::span<const std::string_view> lines) override {
    prepared_.clear();
    inputs_a_.clear();
    inputs_b_.clear();
    next_ = 0;
    std::string unused;
    for (const std::string_view line : lines) {
      Position position;
      const bool ok = ReadLine(line, position, unused);
      prepared_.push_back({line.data(), position.id, ok});
      inputs_a_.push_back(ok ? position.a : 0.0);
      inputs_b_.push_back(ok ? position.b : 0.0);
    }
    ConvertPrepared();
  }

  bool Convert(std::string_view line, std::string& out, std::string& error) override {
    if (next_ >= prepared_.size() || prepared_[next_].line != line.data()) {
      // A line Prepare was not given: convert it alone.
      Position position;
      if (!ReadLine(line, position, error)) return false;
      prepared_.assign(1, {line.data(), position.id, true});
      inputs_a_.assign(1, position.a);
      inputs_b_.assign(1, position.b);
      ConvertPrepared();
      next_ = 0;
    }
    const std::size_t i = next_++;
    if (!prepared_[i].ok) {
      Position unused;
      return ReadLine(line, unused, error);  // false, with the reason
    }
    if (statuses_[i] != ProjectionStatus::kOk) {
      error = ProjectionStatusText(statuses_[i]);
      return false;
    }
    // A result the method calls good but that is no number is still no result.
    if (!std::isfinite(outputs_a_[i]) || !std::isfinite(outputs_b_[i])) {
      error = ProjectionStatusText(ProjectionStatus::kOutsideDomain);
      return false;
    }
    const double convergence = settings_.convergence ? convergences_[i] : 0.0;
    const double scale = settings_.scale ? scales_[i] : 0.0;
    if (settings_.inverse) {
      WriteGeographical(prepared_[i].id, outputs_a_[i], outputs_b_[i], convergence, scale, out);
    } else {
      Write(prepared_[i].id, {"easting", outputs_a_[i], settings_.decimals},
            {"northing", outputs_b_[i], settings_.decimals}, convergence, scale, out);
    }
    return true;
  }

 private:
  // A line's id and co-ordinates: easting and northing (metres), or latitude and
  // longitude (radians).
  struct Position {
    std::string_view id;
    double a = 0.0;
    double b = 0.0;
  };

  bool ReadLine(std::string_view line, Position& position, std::string& error) const {
    std::array<std::string_view, 8> fields;
    const std::size_t count = SplitFields(line, fields);
    const std::size_t first = settings_.with_id ? 1 : 0;
    if (count != first + 2) {
      error = "expected " + std::string(settings_.with_id ? "an id and " : "") +
              "two co-ordinates, found " + std::to_string(count) +
              (count == 1 ? " field" : " fields");
      return false;
    }
    if (settings_.with_id) position.id = fields[0];
    std::string_view a = fields[first], b = fields[first + 1];
    if (settings_.inverse) {
      if (ReadNumber(a, position.a) && ReadNumber(b, position.b)) return true;
      error = "grid co-ordinates must be finite numbers: '" + Excerpt(a) + "' '" + Excerpt(b) + "'";
      return false;
    }
    if (settings_.lon_lat) std::swap(a, b);
    if (!ReadDegrees(a, ANGLE_LATITUDE, position.a, error) ||
        !ReadDegrees(b, ANGLE_LONGITUDE, position.b, error)) {
      return false;
    }
    if (std::fabs(position.a) > kHalfPi || std::fabs(position.b) > 2.0 * std::numbers::pi) {
      error = "position out of range: latitude beyond 90 degrees or longitude beyond 360";
      return false;
    }
    return true;
  }

  // Each point of the inverse starts its footpoint iteration from its own estimate,
  // never from the previous line's latitude, so no line's output depends on the lines
  // before it.
  void ConvertPrepared() {
    const std::size_t count = prepared_.size();
    outputs_a_.resize(count);
    outputs_b_.resize(count);
    convergences_.resize(settings_.convergence ? count : 0);
    scales_.resize(settings_.scale ? count : 0);
    statuses_.resize(count);
    if (settings_.inverse) {
      projection_.GridToGeogMany(inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_,
                                 scales_, statuses_);
    } else {
      projection_.GeogToGridMany(inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_,
                                 scales_, statuses_);
    }
  }

  void WriteGeographical(std::string_view id, double latitude, double longitude, double convergence,
                         double scale, std::string& out) const {
    const int decimals = settings_.decimals;
    Value lat{"latitude", latitude * kDegreesPerRadian, decimals};
    Value lon{"longitude", longitude * kDegreesPerRadian, decimals};
    if (settings_.lon_lat) {
      Write(id, lon, lat, convergence, scale, out);
    } else {
      Write(id, lat, lon, convergence, scale, out);
    }
  }

  struct Value {
    const char* name;
    double value;
    int decimals;
  };

  void Write(std::string_view id, const Value& first, const Value& second, double convergence,
             double scale, std::string& out) const {
    std::vector<Value>& values = scratch_;
    values.clear();
    values.push_back(first);
    values.push_back(second);
    if (settings_.convergence)
      values.push_back({"convergence", convergence * kDegreesPerRadian, 9});
    if (settings_.scale) values.push_back({"scale", scale, 10});
    const bool json = settings_.format == Format::kJson;
    const MissingMark missing = json                               ? MissingMark::kNull
                                : settings_.format == Format::kCsv ? MissingMark::kEmpty
                                                                   : MissingMark::kDash;
    const char separator = settings_.format == Format::kCsv ? ',' : ' ';
    if (json) out += '{';
    if (settings_.with_id) {
      if (json) {
        out += "\"id\":";
        AppendJsonString(out, id);
        out += ',';
      } else {
        out += settings_.format == Format::kCsv ? CsvField(id) : std::string(id);
        out += separator;
      }
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out += json ? ',' : separator;
      if (json) {
        out += '"';
        out += values[i].name;
        out += "\":";
      }
      AppendNumber(out, values[i].value, values[i].decimals, missing);
    }
    if (json) out += '}';
  }

  // A line given to Prepare: where it starts (to know it again in Convert), its id,
  // and whether it read.
  struct PreparedLine {
    const char* line;
    std::string_view id;
    bool ok;
  };

  CSpheroid spheroid_;
  CProjection projection_;
  OutputSettings settings_;
  std::vector<PreparedLine> prepared_;
  std::size_t next_ = 0;
  std::vector<double> inputs_a_, inputs_b_, outputs_a_, outputs_b_, convergences_, scales_;
  std::vector<ProjectionStatus> statuses_;
  mutable std::vector<Value> scratch_ = std::vector<Value>(4);
};

std::string CsvHeader(const OutputSettings& settings) {
  std::string header = settings.with_id ? "id," : "";
  if (settings.inverse) {
    header += settings.lon_lat ? "longitude,latitude" : "latitude,longitude";
  } else {
    header += "easting,northing";
  }
  if (settings.convergence) header += ",convergence";
  if (settings.scale) header += ",scale";
  return header;
}

// The options a catalogue projection brings itself, which --projection cannot take
// beside it; the spheroid ones are kept for UTM, whose rows take the spheroid given.
constexpr std::array<std::string_view, 13> kDefiningOptions = {
    "--type", "--method", "--lat0", "--lon0",  "--k0",   "--fe",   "--fn",
    "--sp1",  "--sp2",    "--zone", "--south", "--axis", "--param"};
constexpr std::array<std::string_view, 3> kSpheroidOptions = {"--spheroid", "--a", "--rf"};

std::string GivenAmong(const ProjectOptions& options, std::span<const std::string_view> names) {
  std::string given;
  for (const std::string_view name : names) {
    if (options.Given(name)) given += (given.empty() ? "" : ", ") + std::string(name);
  }
  return given;
}

// Options that cannot be honoured together; false with the reason.
bool CheckOptionsAgree(const ProjectOptions& options, std::string& problem) {
  if (options.Given("--projection") &&
      options.projection.catalogue.find_first_not_of(" \t") == std::string::npos) {
    problem = "--projection needs a projection: TYPE/ROW, utm:ZONE or a name";
    return false;
  }
  if (options.Given("--projection")) {
    if (const std::string given = GivenAmong(options, kDefiningOptions); !given.empty()) {
      problem = "--projection brings its own parameters; it cannot be given with " + given;
      return false;
    }
  }
  if (options.Given("--spheroid") && (options.Given("--a") || options.Given("--rf"))) {
    problem = "give a spheroid by --spheroid or by --a and --rf, not both";
    return false;
  }
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
  return true;
}

bool SetUpFromOptions(const ProjectOptions& options, CSpheroid& spheroid, CProjection& projection,
                      std::string& problem) {
  if (!SetUpSpheroid(options.projection, spheroid, problem)) return false;
  if (options.projection.catalogue.empty()) {
    return SetUpProjection(options.projection, projection, problem);
  }
  if (!SelectProjection(options.projection.catalogue, projection, problem)) return false;
  if (projection.m_Type != PROJECTION_UTM) {
    if (const std::string given = GivenAmong(options, kSpheroidOptions); !given.empty()) {
      problem = "'" + options.projection.catalogue +
                "' brings its own spheroid; it cannot be given with " + given;
      return false;
    }
  }
  return CheckSelectedProjection(projection, options.projection.catalogue, problem);
}

std::uint64_t FileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

int RunProject(const ProjectOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  std::string problem;
  const std::array<NamedValue, 3> formats = {{{"text", 0, ""}, {"csv", 1, ""}, {"json", 2, ""}}};
  int format_value = 0;
  if (!CheckOptionsAgree(options, problem) ||
      !LookUp(formats, options.format, format_value, problem) ||
      !SetUpFromOptions(options, spheroid, projection, problem)) {
    streams.err << "orvale project: " << problem << "\n";
    return kExitUsage;
  }
  const auto format = static_cast<Format>(format_value);
  if (options.describe) streams.err << "orvale project: " << DescribeProjection(projection) << "\n";

  OutputSettings settings{format,          options.inverse,     options.lon_lat,
                          options.with_id, options.convergence, options.scale,
                          options.decimals};
  if (!options.Given("--decimals")) settings.decimals = options.inverse ? 9 : 3;

  StreamOptions stream;
  stream.command = "orvale project";
  stream.workers = options.workers;
  stream.style = format == Format::kJson  ? LineStyle::kJson
                 : format == Format::kCsv ? LineStyle::kCsv
                                          : LineStyle::kText;
  if (format == Format::kCsv) stream.header = CsvHeader(settings);
  auto make = [&] { return std::make_unique<PointConverter>(spheroid, projection, settings); };

  StreamResult result;
  const bool from_file = !options.input.empty() && options.input != "-";
  if (!options.points.empty()) {
    std::string lines;
    for (const std::string& point : options.points)
      lines += point + "\n";
    std::istringstream in(lines);
    result = StreamPoints(in, streams.out, streams.err, stream, make);
  } else if (from_file) {
    std::ifstream file;
    if (IsReadableInput(options.input, -1, problem)) file.open(options.input, std::ios::binary);
    if (!file.is_open()) {
      if (problem.empty()) problem = "cannot open '" + options.input + "': " + std::strerror(errno);
      streams.err << "orvale project: " << problem << "\n";
      return kExitUsage;
    }
    stream.show_progress = streams.interactive;
    stream.input_size = FileSize(options.input);
    result = StreamPoints(file, streams.out, streams.err, stream, make);
  } else {
    if (!IsReadableInput({}, streams.in_descriptor, problem)) {
      streams.err << "orvale project: " << problem << "\n";
      return kExitUsage;
    }
    stream.show_progress = streams.interactive;
    if (streams.interactive && streams.in_descriptor >= 0) {
      struct stat info {};
      if (::fstat(streams.in_descriptor, &info) == 0 && S_ISREG(info.st_mode))
        stream.input_size = static_cast<std::uint64_t>(info.st_size);
    }
    result = StreamPoints(streams.in, streams.out, streams.err, stream, make);
  }
  return result.failed == 0 && !result.input_failed ? kExitOk : kExitBadInput;
}

}  // namespace

void AddProjectCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<ProjectOptions>();
  ProjectionOptions& p = options->projection;
  CLI::App* command = app.add_subcommand(
      "project",
      "Convert latitude and longitude to easting and northing (or back with --inverse)\n"
      "on a projection given by its type and parameters.\n"
      "Points come from POINT arguments (\"LAT,LON\"), --input FILE, or standard input,\n"
      "one per line; fields may be separated by blanks, commas or semicolons. Angles\n"
      "are decimal degrees (east and north positive) or D:M:S with N/S/E/W. Lines that\n"
      "cannot be converted print an error in their place ('ERROR: reason' in text and\n"
      "CSV, {\"error\":\"reason\"} in JSON); '#' lines and blank lines are copied through\n"
      "(in JSON as {\"comment\":\"...\"} and {}), so output stays line for line with input.\n"
      "A convergence or scale factor that the method cannot give prints as '-' in text,\n"
      "an empty field in CSV and null in JSON.\n"
      "Example: orvale project --type tm --lat0 49 --lon0 -2 --k0 0.9996012717 \\\n"
      "           --fe 400000 --fn -100000 --spheroid \"Airy 1830\" 52.6576,1.7179");
  std::vector<CLI::Option*> named;
  const auto keep = [&named](CLI::Option* option) {
    named.push_back(option);
    return option;
  };
  command->add_option("POINT", options->points, "Points to convert, e.g. 52.5,-1.25");
  keep(command->add_option("-p,--projection", p.catalogue,
                           "A projection of the catalogue instead of the parameters below:\n"
                           "TYPE/ROW[/METHOD] (e.g. tm/0, 12/17), utm:31 or utm:31s, or its "
                           "name\n(\"Ordnance Survey National Grid\"); see 'orvale projections'. "
                           "Rows bring\ntheir own spheroid, except UTM, which takes --spheroid"));
  keep(command->add_option("-t,--type", p.type, "Projection type:\n" + ProjectionTypeHelp())
           ->capture_default_str());
  keep(command->add_option("-m,--method", p.method, "Method (variant) of the type")
           ->capture_default_str());
  keep(command
           ->add_option("-s,--spheroid", p.spheroid,
                        "Spheroid: catalogue index, EPSG:code or name (see 'orvale spheroids')")
           ->capture_default_str());
  keep(command->add_option("--a", p.semi_major_axis,
                           "Semi-major axis (metres) of a spheroid typed by hand"));
  keep(command->add_option("--rf", p.inverse_flattening,
                           "Inverse flattening of that spheroid: 100 or more, or 0 or 1 for a "
                           "sphere"));
  keep(
      command->add_option("--lat0", p.lat0, "Latitude of origin (degrees)")->capture_default_str());
  keep(
      command
          ->add_option("--lon0", p.lon0, "Longitude of origin / central meridian (degrees, east +)")
          ->capture_default_str());
  keep(command->add_option("--k0", p.k0, "Scale factor at the origin or on the central line (> 0)")
           ->capture_default_str());
  keep(command->add_option("--fe", p.fe, "False easting (metres)")->capture_default_str());
  keep(command->add_option("--fn", p.fn, "False northing (metres)")->capture_default_str());
  keep(command->add_option("--sp1", p.sp1, "First standard parallel (degrees)"));
  keep(command->add_option("--sp2", p.sp2, "Second standard parallel (degrees)"));
  keep(command->add_option("--zone", p.zone, "UTM zone (utm), or the UTM zone of a national grid"));
  keep(command->add_flag("--south", p.south,
                         "UTM zone south of the equator (false northing 10000000)"));
  keep(command->add_option("--axis", p.axis, "Norwegian axis 1..8 or Danish zone 0..2"));
  keep(command->add_option("--param", p.params,
                           "Parameter slot SLOT=VALUE (RSO, state plane tables)"));
  command->add_flag("-i,--inverse", options->inverse,
                    "Easting and northing to latitude and longitude");
  command->add_flag("--lon-lat", options->lon_lat,
                    "Longitude first, in input and output (x y order)");
  command->add_flag("--id", options->with_id,
                    "The first field of each line is a point id, copied out");
  command->add_flag("--convergence", options->convergence,
                    "Also print the grid convergence (degrees)");
  command->add_flag("--scale", options->scale, "Also print the point scale factor");
  keep(command->add_option("-d,--decimals", options->decimals,
                           "Decimals of the output, 0..32 (default 3 m, 9 degrees)"));
  command
      ->add_option("-f,--format", options->format,
                   "Output: text, csv (RFC 4180, with a header) or json (one object a line)")
      ->capture_default_str();
  keep(command->add_option("--input", options->input,
                           "Read points from this file ('-' for standard input)"));
  keep(command->add_option("-j,--jobs", options->workers,
                           "Worker threads, 1.." + std::to_string(MostWorkers()) +
                               " (256, or four per core on larger machines;\n"
                               "default: one per core)"));
  command->add_flag("--describe", options->describe,
                    "Print the projection set up to standard error");
  command->callback([options, named, &streams, &status] {
    options->given.clear();
    for (const CLI::Option* option : named) {
      if (option->count() > 0) options->given.push_back(option->get_name());
    }
    options->projection.given = options->given;
    status = RunProject(*options, streams);
  });
}

}  // namespace orvale::cli
