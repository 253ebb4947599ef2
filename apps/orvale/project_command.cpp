// orvale project: geographical positions to grid co-ordinates and back, for points
// given on the command line or streamed from a file or standard input.

#include <cerrno>
#include <charconv>
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

// Splits a line at blanks, tabs, commas and semicolons without allocating.
std::size_t SplitFields(std::string_view line, std::array<std::string_view, 8>& fields) {
  std::size_t count = 0;
  std::size_t start = std::string_view::npos;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    const bool separator =
        i == line.size() || line[i] == ' ' || line[i] == '\t' || line[i] == ',' || line[i] == ';';
    if (!separator && start == std::string_view::npos) start = i;
    if (separator && start != std::string_view::npos) {
      if (count == fields.size()) return count + 1;
      fields[count++] = line.substr(start, i - start);
      start = std::string_view::npos;
    }
  }
  return count;
}

bool ReadNumber(std::string_view field, double& value) {
  if (field.starts_with('+')) field.remove_prefix(1);
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size() && std::isfinite(value);
}

// Decimal degrees on the fast path; anything else ParseAngle reads (D:M:S, N/S/E/W).
bool ReadDegrees(std::string_view field, int type, double& radians, std::string& error) {
  double degrees = 0.0;
  if (ReadNumber(field, degrees)) {
    radians = degrees / kDegreesPerRadian;
    return true;
  }
  const auto bytes = Utf8ToCp1252(field);
  const AngleParseResult parsed = bytes ? ParseAngle(*bytes, type, ANGLE_PREF_DEGREES)
                                        : AngleParseResult{false, 0.0, "not Windows-1252 text"};
  if (!parsed.ok) {
    error = "'" + std::string(field) + "': " + Cp1252ToUtf8(parsed.error);
    return false;
  }
  radians = parsed.radians;
  return true;
}

void AppendFixed(std::string& out, double value, int decimals) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  out.append(text, result.ec == std::errc() ? result.ptr : text);
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
              "two co-ordinates, found " + std::to_string(count) + " fields";
      return false;
    }
    if (settings_.with_id) position.id = fields[0];
    std::string_view a = fields[first], b = fields[first + 1];
    if (settings_.inverse) {
      if (ReadNumber(a, position.a) && ReadNumber(b, position.b)) return true;
      error =
          "grid co-ordinates must be numbers: '" + std::string(a) + "' '" + std::string(b) + "'";
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
    const char separator = settings_.format == Format::kCsv ? ',' : ' ';
    if (json) out += '{';
    if (settings_.with_id) {
      if (json) {
        out += "\"id\":";
        AppendJsonString(out, id);
        out += ',';
      } else {
        out += id;
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
      AppendFixed(out, values[i].value, values[i].decimals);
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

std::uint64_t RegularFileSize(int descriptor) {
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

int RunProject(const ProjectOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  std::string problem;
  Format format = Format::kText;
  const std::array<NamedValue, 3> formats = {{{"text", 0, ""}, {"csv", 1, ""}, {"json", 2, ""}}};
  int format_value = 0;
  const bool from_catalogue = !options.projection.catalogue.empty();
  if (!SetUpSpheroid(options.projection, spheroid, problem) ||
      !(from_catalogue ? SelectProjection(options.projection.catalogue, projection, problem)
                       : SetUpProjection(options.projection, projection, problem)) ||
      !LookUp(formats, options.format, format_value, problem)) {
    streams.err << "orvale project: " << problem << "\n";
    return kExitUsage;
  }
  format = static_cast<Format>(format_value);
  if (options.describe) streams.err << "orvale project: " << DescribeProjection(projection) << "\n";

  OutputSettings settings{format,          options.inverse,     options.lon_lat,
                          options.with_id, options.convergence, options.scale,
                          options.decimals};
  if (settings.decimals < 0 || settings.decimals > 15) settings.decimals = options.inverse ? 9 : 3;

  StreamOptions stream;
  stream.command = "orvale project";
  stream.workers = options.workers;
  if (format == Format::kCsv) stream.header = CsvHeader(settings);
  auto make = [&] { return std::make_unique<PointConverter>(spheroid, projection, settings); };

  StreamResult result;
  if (!options.points.empty()) {
    std::string lines;
    for (const std::string& point : options.points)
      lines += point + "\n";
    std::istringstream in(lines);
    result = StreamPoints(in, streams.out, streams.err, stream, make);
  } else if (!options.input.empty() && options.input != "-") {
    std::ifstream file(options.input, std::ios::binary);
    if (!file) {
      streams.err << "orvale project: cannot open '" << options.input
                  << "': " << std::strerror(errno) << "\n";
      return kExitUsage;
    }
    stream.show_progress = streams.interactive;
    struct stat info {};
    if (::stat(options.input.c_str(), &info) == 0)
      stream.input_size = static_cast<std::uint64_t>(info.st_size);
    result = StreamPoints(file, streams.out, streams.err, stream, make);
  } else {
    stream.show_progress = streams.interactive;
    if (streams.interactive) stream.input_size = RegularFileSize(STDIN_FILENO);
    result = StreamPoints(streams.in, streams.out, streams.err, stream, make);
  }
  return result.failed == 0 ? kExitOk : kExitBadInput;
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
      "cannot be converted print 'ERROR: reason' in their place; '#' lines and blank\n"
      "lines are copied through.\n"
      "Example: orvale project --type tm --lat0 49 --lon0 -2 --k0 0.9996012717 \\\n"
      "           --fe 400000 --fn -100000 --spheroid \"Airy 1830\" 52.6576,1.7179");
  command->add_option("POINT", options->points, "Points to convert, e.g. 52.5,-1.25");
  command->add_option("-p,--projection", p.catalogue,
                      "A projection of the catalogue instead of the parameters below:\n"
                      "TYPE/ROW[/METHOD] (e.g. tm/0, 12/17), utm:31 or utm:31s, or its name\n"
                      "(\"Ordnance Survey National Grid\"); see 'orvale projections'. Rows bring\n"
                      "their own spheroid, except UTM, which takes --spheroid");
  command->add_option("-t,--type", p.type, "Projection type:\n" + ProjectionTypeHelp())
      ->capture_default_str();
  command->add_option("-m,--method", p.method, "Method (variant) of the type")
      ->capture_default_str();
  command
      ->add_option("-s,--spheroid", p.spheroid,
                   "Spheroid: catalogue index, EPSG:code or name (see 'orvale spheroids')")
      ->capture_default_str();
  command->add_option("--a", p.semi_major_axis,
                      "Semi-major axis (metres) of a spheroid typed by hand");
  command->add_option("--rf", p.inverse_flattening,
                      "Inverse flattening of that spheroid (0 or 1: a sphere)");
  command->add_option("--lat0", p.lat0, "Latitude of origin (degrees)")->capture_default_str();
  command->add_option("--lon0", p.lon0, "Longitude of origin / central meridian (degrees, east +)")
      ->capture_default_str();
  command->add_option("--k0", p.k0, "Scale factor at the origin or on the central line")
      ->capture_default_str();
  command->add_option("--fe", p.fe, "False easting (metres)")->capture_default_str();
  command->add_option("--fn", p.fn, "False northing (metres)")->capture_default_str();
  command->add_option("--sp1", p.sp1, "First standard parallel (degrees)");
  command->add_option("--sp2", p.sp2, "Second standard parallel (degrees)");
  command->add_option("--zone", p.zone, "UTM zone (utm), or the UTM zone of a national grid");
  command->add_flag("--south", p.south, "UTM zone south of the equator (false northing 10000000)");
  command->add_option("--axis", p.axis, "Norwegian axis 1..8 or Danish zone 0..2");
  command->add_option("--param", p.params, "Parameter slot SLOT=VALUE (RSO, state plane tables)");
  command->add_flag("-i,--inverse", options->inverse,
                    "Easting and northing to latitude and longitude");
  command->add_flag("--lon-lat", options->lon_lat,
                    "Longitude first, in input and output (x y order)");
  command->add_flag("--id", options->with_id,
                    "The first field of each line is a point id, copied out");
  command->add_flag("--convergence", options->convergence,
                    "Also print the grid convergence (degrees)");
  command->add_flag("--scale", options->scale, "Also print the point scale factor");
  command->add_option("-d,--decimals", options->decimals,
                      "Decimals of the output (default 3 m, 9 degrees)");
  command
      ->add_option("-f,--format", options->format,
                   "Output: text, csv (with a header) or json (one object a line)")
      ->capture_default_str();
  command->add_option("--input", options->input,
                      "Read points from this file ('-' for standard input)");
  command->add_option("-j,--jobs", options->workers, "Worker threads (default: one per core)");
  command->add_flag("--describe", options->describe,
                    "Print the projection set up to standard error");
  command->callback([options, &streams, &status] { status = RunProject(*options, streams); });
}

}  // namespace orvale::cli
