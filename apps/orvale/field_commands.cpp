// orvale sun, orvale gyro and orvale heading: the field sums, one observation a line.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/survey/field_headings.h"
#include "orvale/engine/survey/sun_almanac.h"
#include "orvale/engine/survey/sun_shot.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/stdio_file.h"
#include "output_file.h"
#include "point_pipeline.h"
#include "projection_select.h"
#include "projection_setup.h"
#include "text_fields.h"

namespace orvale::cli {
namespace {

// The options of a command with no options of its own beyond the pipeline's.
struct FieldOptions {
  PipelineOptions pipeline;
  std::string projection;
  std::string spheroid;
};

void Register(CLI::App& command, FieldOptions& options, std::vector<CLI::Option*>& named) {
  AddPipelineOptions(command, options.pipeline, named);
}

int InputNotation(const FieldOptions& options) {
  return options.pipeline.angles == "gradians" ? ANGLE_PREF_GRADIANS : ANGLE_PREF_DEGREES;
}

// ---------------------------------------------------------------------------------
// heading: pitch and roll to tilt and heading

struct HeadingRecord {
  HeadingState state;
};

class HeadingPoints final : public PointCommand<HeadingRecord> {
 public:
  explicit HeadingPoints(int notation) : notation_(notation) {}
  bool Parse(std::span<const std::string_view> fields, HeadingRecord& record,
             FieldProblem& problem) const override {
    double pitch = 0.0, roll = 0.0;
    for (problem.input = 0; problem.input < 2; ++problem.input) {
      double& angle = problem.input == 0 ? pitch : roll;
      if (!ReadAngleField(fields[problem.input], ANGLE_SIGNED, notation_, angle, problem.reason))
        return false;
    }
    record.state.m_Pitch = pitch * kDegreesPerRadian;
    record.state.m_Roll = roll * kDegreesPerRadian;
    return true;
  }
  void Compute(std::span<HeadingRecord> records) override {
    for (HeadingRecord& record : records)
      ComputeHeading(record.state);
  }
  bool Format(const HeadingRecord& record, RowWriter& row, std::string&) const override {
    row.Angle(record.state.m_Tilt * kRadiansPerDegree, ANGLE_BEARING);
    row.Angle(record.state.m_Heading * kRadiansPerDegree, ANGLE_BEARING);
    return true;
  }

 private:
  int notation_;
};

int RunHeading(const FieldOptions& options, const Streams& streams) {
  PipelineSetup setup;
  setup.command = "orvale heading";
  setup.shape = {{"pitch", "roll"}, {"tilt", "heading"}};
  setup.angles_out = true;
  const int notation = InputNotation(options);
  const std::function<std::unique_ptr<PointCommand<HeadingRecord>>(const ValueStyle&)> make =
      [notation](const ValueStyle&) { return std::make_unique<HeadingPoints>(notation); };
  return RunPointPipeline<HeadingRecord>(setup, options.pipeline, make, streams);
}

// ---------------------------------------------------------------------------------
// gyro: a true direction at a position to a grid heading

struct GyroRecord {
  GyroState state;
  ProjectionStatus status = ProjectionStatus::kOk;
};

class GyroPoints final : public PointCommand<GyroRecord> {
 public:
  GyroPoints(const CSpheroid& spheroid, const CProjection& projection, int notation)
      : spheroid_(spheroid), projection_(projection), notation_(notation) {
    projection_.m_Spheroid = &spheroid_;
  }
  bool Parse(std::span<const std::string_view> fields, GyroRecord& record,
             FieldProblem& problem) const override {
    tagCOORD& p = record.state.m_Position;
    double direction = 0.0;
    const int types[3] = {ANGLE_LATITUDE, ANGLE_LONGITUDE, ANGLE_BEARING};
    double* values[3] = {&p.latitude, &p.longitude, &direction};
    for (problem.input = 0; problem.input < 3; ++problem.input) {
      if (!ReadAngleField(fields[problem.input], types[problem.input], notation_,
                          *values[problem.input], problem.reason)) {
        return false;
      }
    }
    record.state.m_TrueDirection = direction * kDegreesPerRadian;
    return true;
  }
  void Compute(std::span<GyroRecord> records) override {
    for (GyroRecord& record : records)
      record.status = ComputeGyro(projection_, record.state);
  }
  bool Format(const GyroRecord& record, RowWriter& row, std::string& reason) const override {
    if (record.status != ProjectionStatus::kOk) {
      reason = ProjectionStatusText(record.status);
      return false;
    }
    const tagCOORD& p = record.state.m_Position;
    row.Length(p.easting);
    row.Length(p.northing);
    row.Number(p.convergence, 9);
    row.Number(p.scale_factor, 10);
    row.Angle(record.state.m_GridHeading * kRadiansPerDegree, ANGLE_BEARING);
    return true;
  }

 private:
  CSpheroid spheroid_;
  CProjection projection_;
  int notation_;
};

int RunGyro(const FieldOptions& options, const Streams& streams) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  std::string problem;
  bool ok = SelectProjection(options.projection, projection, problem) &&
            CheckSelectedProjection(projection, options.projection, problem);
  if (ok && !options.spheroid.empty()) {
    ok = projection.m_Type == PROJECTION_UTM;
    if (!ok)
      problem = "'" + options.projection + "' brings its own spheroid; --spheroid is for UTM";
    ok = ok && SelectSpheroid(options.spheroid, spheroid, problem);
    projection.Initialise();
  }
  if (!ok) {
    streams.err << "orvale gyro: " << problem << "\n";
    return kExitUsage;
  }
  PipelineSetup setup;
  setup.command = "orvale gyro";
  setup.shape = {{"latitude", "longitude", "true_direction"},
                 {"easting", "northing", "convergence", "scale", "grid_heading"}};
  setup.angles_out = true;
  const int notation = InputNotation(options);
  const std::function<std::unique_ptr<PointCommand<GyroRecord>>(const ValueStyle&)> make =
      [&](const ValueStyle&) {
        return std::make_unique<GyroPoints>(spheroid, projection, notation);
      };
  return RunPointPipeline<GyroRecord>(setup, options.pipeline, make, streams);
}

// ---------------------------------------------------------------------------------
// sun: an observation of the sun to the azimuth of the reference object

struct SunRecord {
  double latitude = 0.0;
  double longitude = 0.0;
  int year = 0;
  int day_of_year = 0;
  double time = 0.0;
  double ro_angle = 0.0;
  bool has_almanac = false;
  double declination = 0.0, e = 0.0, gha = 0.0, lha = 0.0, sun_azimuth = 0.0, ro_azimuth = 0.0;
};

bool ReadInteger(std::string_view text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "2026-12-06" to the year and the day of the year.
bool ReadDate(std::string_view text, int& year, int& day_of_year) {
  int month = 0, day = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      !ReadInteger(text.substr(0, 4), year) || !ReadInteger(text.substr(5, 2), month) ||
      !ReadInteger(text.substr(8, 2), day) || month < 1 || month > 12 || day < 1) {
    return false;
  }
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const auto length = [year](int m) {
    return kDays[m - 1] + (m == 2 && IsGregorianLeapYear(year));
  };
  if (day > length(month)) return false;
  day_of_year = day;
  for (int m = 1; m < month; ++m)
    day_of_year += length(m);
  return true;
}

// "13:05", "13:05:20" or "13:05:20.25" to seconds after midnight.
bool ReadTimeOfDay(std::string_view text, double& seconds) {
  int hours = 0, minutes = 0;
  double rest = 0.0;
  if (text.size() < 5 || text[2] != ':' || !ReadInteger(text.substr(0, 2), hours) ||
      !ReadInteger(text.substr(3, 2), minutes) || hours > 23 || minutes > 59) {
    return false;
  }
  if (text.size() > 5) {
    if (text[5] != ':' || !ReadNumberField(text.substr(6), rest) || rest < 0.0 || rest >= 60.0 ||
        text[6] == '+') {
      return false;
    }
  }
  seconds = hours * 3600.0 + minutes * 60.0 + rest;
  return true;
}

class SunPoints final : public PointCommand<SunRecord> {
 public:
  explicit SunPoints(int notation) : shot_(SystemClock()), notation_(notation) {}
  bool Parse(std::span<const std::string_view> fields, SunRecord& r,
             FieldProblem& problem) const override {
    problem.input = 0;
    if (!ReadAngleField(fields[0], ANGLE_LATITUDE, notation_, r.latitude, problem.reason))
      return false;
    problem.input = 1;
    if (!ReadAngleField(fields[1], ANGLE_LONGITUDE, notation_, r.longitude, problem.reason))
      return false;
    problem.input = 2;
    if (!ReadDate(fields[2], r.year, r.day_of_year)) {
      problem.reason = "'" + Excerpt(fields[2]) + "': not a date as 2026-12-06";
      return false;
    }
    problem.input = 3;
    if (!ReadTimeOfDay(fields[3], r.time)) {
      problem.reason = "'" + Excerpt(fields[3]) + "': not a time of day (UT) as 13:05:20.5";
      return false;
    }
    problem.input = 4;
    return ReadAngleField(fields[4], ANGLE_BEARING, notation_, r.ro_angle, problem.reason);
  }
  void Compute(std::span<SunRecord> records) override {
    for (SunRecord& r : records) {
      shot_.m_Latitude = r.latitude;
      shot_.m_Longitude = r.longitude;
      shot_.m_DayOfYear = r.day_of_year;
      shot_.m_Time = r.time;
      shot_.m_ROAngle = r.ro_angle;
      r.has_almanac = shot_.LoadAlmanac(r.year);  // computes once loaded
      r.declination = shot_.m_Declination;
      r.e = shot_.m_E;
      r.gha = shot_.m_GHA;
      r.lha = shot_.m_LHA;
      r.sun_azimuth = shot_.m_SunAzimuth;
      r.ro_azimuth = shot_.m_ROAzimuth;
    }
  }
  bool Format(const SunRecord& r, RowWriter& row, std::string& reason) const override {
    if (!r.has_almanac) {
      const std::string path = CSunShot::AlmanacPath(r.year);
      reason = "no almanac for " + std::to_string(r.year) + ": '" +
               (path.empty() ? CSunShot::AlmanacFileName(r.year) : HostPath(path)) +
               "' cannot be read as one (a heading line and 12 monthly lines)";
      return false;
    }
    row.Angle(r.declination, ANGLE_LATITUDE);
    row.Number(r.e, 2);
    row.Angle(r.gha, ANGLE_BEARING);
    row.Angle(r.lha, ANGLE_BEARING);
    row.Angle(r.sun_azimuth, ANGLE_BEARING);
    row.Angle(r.ro_azimuth, ANGLE_BEARING);
    return true;
  }

 private:
  CSunShot shot_;
  int notation_;
};

int RunSun(const FieldOptions& options, const Streams& streams) {
  PipelineSetup setup;
  setup.command = "orvale sun";
  setup.shape = {{"latitude", "longitude", "date", "time", "ro_angle"},
                 {"declination", "e_seconds", "gha", "lha", "sun_azimuth", "ro_azimuth"}};
  setup.angles_out = true;
  const int notation = InputNotation(options);
  const std::function<std::unique_ptr<PointCommand<SunRecord>>(const ValueStyle&)> make =
      [notation](const ValueStyle&) { return std::make_unique<SunPoints>(notation); };
  return RunPointPipeline<SunRecord>(setup, options.pipeline, make, streams);
}

// ---------------------------------------------------------------------------------
// almanac: a year's sun almanac made from the ephemeris

struct AlmanacOptions {
  int year = 0;
  std::string folder;
  bool force = false;
};

constexpr int kFirstAlmanacYear = 1900;
constexpr int kLastAlmanacYear = 2150;

int RunAlmanac(const AlmanacOptions& options, const Streams& streams) {
  if (options.year < kFirstAlmanacYear || options.year > kLastAlmanacYear) {
    streams.err << "orvale almanac: --year must be " << kFirstAlmanacYear << ".."
                << kLastAlmanacYear << " (where the ephemeris holds to an arc-second), not "
                << options.year << "\n";
    return kExitUsage;
  }
  std::string target;  // a host path
  if (!options.folder.empty()) {
    target = options.folder + (options.folder.ends_with('/') ? "" : "/") +
             CSunShot::AlmanacFileName(options.year);
  } else if (const std::string path = CSunShot::AlmanacPath(options.year); !path.empty()) {
    target = HostPath(path);
  } else {
    streams.err << "orvale almanac: there is no data folder to hold the almanac (see 'orvale "
                   "folders'); give one with --folder\n";
    return kExitBadInput;
  }
  if (!options.force && std::ifstream(target).good()) {
    streams.err << "orvale almanac: '" << target
                << "' is there already (an almanac of this year, or of another year with the "
                   "same last two digits); --force replaces it\n";
    return kExitUsage;
  }
  const SunAlmanac almanac = FitSunAlmanac(options.year);
  AtomicOutputFile file;
  std::string problem;
  if (!file.Open(target, problem)) {
    streams.err << "orvale almanac: " << problem << "\n";
    return kExitBadInput;
  }
  file.stream() << SunAlmanacText(almanac);
  if (!file.Commit(problem)) {
    streams.err << "orvale almanac: " << problem << "\n";
    return kExitBadInput;
  }
  char summary[160];
  std::snprintf(summary, sizeof summary,
                "declination within %.2f\", E within %.3f s of the ephemeris",
                almanac.worst_declination * kDegreesPerRadian * 3600.0, almanac.worst_e);
  streams.out << target << ": the sun for " << options.year << ", " << summary << "\n";
  return kExitOk;
}

}  // namespace

void AddAlmanacCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<AlmanacOptions>();
  CLI::App* command = app.add_subcommand(
      "almanac",
      "Make the sun almanac of a year, which 'orvale sun' (and the sun-shot pane) reads:\n"
      "'sarsunYY.dat' in the data folder 'Star Almanac', or in --folder. The sun comes\n"
      "from Orvale's own ephemeris (the Earth's orbit by VSOP87 as Meeus truncates it,\n"
      "with nutation and aberration; within 2\" of PyEphem from 1950 to 2100); each\n"
      "month's polynomials are fitted to it at every hour of the month, and hold the\n"
      "declination within about 0.6\" and E within 0.1 s of time, which moves a low\n"
      "sun's azimuth by under 2\". The file's heading names its year, so a file made\n"
      "for 2026 is never taken for 2126.\n"
      "Examples:\n"
      "  orvale almanac --year 2026\n"
      "  orvale almanac --year 2027 --folder . --force\n");
  command->add_option("-y,--year", options->year, "The year, 1900..2150")->required();
  command->add_option("--folder", options->folder,
                      "Write into this folder instead of the data folder");
  command->add_flag("--force", options->force, "Replace an almanac that is there");
  command->callback([options, &streams, &status] { status = RunAlmanac(*options, streams); });
}

void AddHeadingCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<FieldOptions>();
  CLI::App* command = app.add_subcommand(
      "heading",
      "The tilt of a platform and the heading of its tilt from its pitch and roll\n"
      "(degrees; the platform is pitched, then rolled about its pitched axis). The\n"
      "heading is the direction the platform leans towards, clockwise from its bow:\n"
      "a roll to starboard heads 90, a bow up 180; a level platform heads 0.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale heading 3,4                 # 4.998536880 126.812615564\n"
          "  orvale heading --angles dms < attitudes.txt\n");
  std::vector<CLI::Option*> named;
  Register(*command, *options, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunHeading(*options, streams);
  });
}

void AddGyroCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<FieldOptions>();
  CLI::App* command = app.add_subcommand(
      "gyro",
      "A true direction (a gyro reading, a shadow's true alignment) at a position to a\n"
      "grid heading: the grid convergence of the projection at the position is taken\n"
      "off. Lines hold LATITUDE LONGITUDE TRUE_DIRECTION; out come the grid position,\n"
      "the convergence (degrees), the point scale factor and the grid heading.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale gyro -p utm:31 60,9,45\n"
          "  orvale gyro -p \"Ordnance Survey National Grid\" --angles dms < gyro.txt\n");
  std::vector<CLI::Option*> named;
  command
      ->add_option("-p,--projection", options->projection,
                   "The projection: TYPE/ROW, utm:ZONE or a name (see 'orvale projections')")
      ->required();
  command->add_option("-s,--spheroid", options->spheroid,
                      "The spheroid of a UTM zone (default WGS84)");
  Register(*command, *options, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunGyro(*options, streams);
  });
}

void AddSunCommand(CLI::App& app, const Streams& streams, int& status) {
  auto options = std::make_shared<FieldOptions>();
  CLI::App* command = app.add_subcommand(
      "sun",
      "The azimuth of a reference object (R.O.) from a sun shot. Lines hold LATITUDE\n"
      "LONGITUDE DATE TIME RO_ANGLE: the observer, the date (2026-12-06), the universal\n"
      "time of the observation (13:05:20.5) and the angle measured clockwise from the\n"
      "R.O. to the sun. Out come the sun's declination, E (the excess of its Greenwich\n"
      "hour angle over UT, seconds of time), GHA, LHA (folded to 0..180), and the\n"
      "azimuths of the sun and of the R.O., clockwise from north. The sun comes from\n"
      "the year's almanac, 'sarsunYY.dat' in the data folder 'Star Almanac' (see\n"
      "'orvale folders'): a heading line, then 12 lines 'MONTH,R0,R1,D0..D4,E0..E4,\n"
      "SD0,SD1' of polynomials in (day + UT/24h)/32; a year without one is an error\n"
      "on its lines.\n" +
          PipelineHelp() +
          "Examples:\n"
          "  orvale sun '51:30N 0:10W 2026-06-21 14:30:00 123:45:10' --angles dms\n"
          "  orvale sun --csv-in --columns lat,lon,date,ut,ro --input shots.csv\n");
  std::vector<CLI::Option*> named;
  Register(*command, *options, named);
  command->callback([options, named, &streams, &status] {
    CollectGivenOptions(named, options->pipeline);
    status = RunSun(*options, streams);
  });
}

}  // namespace orvale::cli
