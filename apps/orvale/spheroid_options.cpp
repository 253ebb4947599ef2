#include "spheroid_options.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "text_fields.h"

#include "projection_setup.h"

namespace orvale::cli {

std::string SpheroidOptions::Name(std::string_view option) const {
  return "--" + prefix + std::string(option);
}

void AddSpheroidOptions(CLI::App& command, SpheroidOptions& options, std::string_view what,
                        std::vector<CLI::Option*>& named) {
  const std::string spheroid = std::string(what) + " spheroid";
  named.push_back(command
                      .add_option(options.Name("spheroid"), options.spheroid,
                                  "The " + spheroid +
                                      ": catalogue index, EPSG:code or name (see 'orvale "
                                      "spheroids')")
                      ->capture_default_str());
  named.push_back(
      command.add_option(options.Name("a"), options.semi_major_axis,
                         "Semi-major axis (metres) of a " + spheroid + " typed by hand"));
  named.push_back(command.add_option(options.Name("rf"), options.inverse_flattening,
                                     "Inverse flattening of that spheroid (100 or more)"));
}

bool AnySpheroidOptionGiven(const SpheroidOptions& options, const std::vector<std::string>& given) {
  return std::any_of(given.begin(), given.end(), [&options](const std::string& name) {
    return name == options.Name("spheroid") || name == options.Name("a") ||
           name == options.Name("rf");
  });
}

bool SetUpEllipsoid(const SpheroidOptions& options, const std::vector<std::string>& given,
                    CSpheroid& spheroid, std::string& problem) {
  const auto is_given = [&given](const std::string& name) {
    return std::find(given.begin(), given.end(), name) != given.end();
  };
  const bool by_hand = is_given(options.Name("a")) || is_given(options.Name("rf"));
  if (is_given(options.Name("spheroid")) && by_hand) {
    problem = "give a spheroid by " + options.Name("spheroid") + " or by " + options.Name("a") +
              " and " + options.Name("rf") + ", not both";
    return false;
  }
  if (by_hand && !(is_given(options.Name("a")) && is_given(options.Name("rf")))) {
    problem =
        "a spheroid typed by hand needs both " + options.Name("a") + " and " + options.Name("rf");
    return false;
  }
  // The projection set-up reads the same three values; its messages name the options
  // without the prefix.
  ProjectionOptions same;
  same.spheroid = options.spheroid;
  same.semi_major_axis = by_hand ? options.semi_major_axis : 0.0;
  same.inverse_flattening = by_hand ? options.inverse_flattening : 0.0;
  if (!SetUpSpheroid(same, spheroid, problem)) {
    for (const std::string_view bare : {"--a ", "--rf "}) {
      if (problem.starts_with(bare)) problem.insert(2, options.prefix);
    }
    if (!by_hand) problem = options.Name("spheroid") + ": " + problem;
    return false;
  }
  if (!(spheroid.m_E2 > 0.0)) {
    problem =
        (by_hand ? options.Name("rf") : options.Name("spheroid") + " '" + options.spheroid + "'") +
        ": a sphere has no cartesian position; give a spheroid with a flattening";
    return false;
  }
  return true;
}

std::vector<std::string> PositionNames(PositionKind kind, bool lon_lat) {
  if (kind == PositionKind::kCartesian) return {"x", "y", "z"};
  if (lon_lat) return {"longitude", "latitude", "height"};
  return {"latitude", "longitude", "height"};
}

bool ReadPosition(std::span<const std::string_view> fields, PositionKind kind,
                  const PositionForm& form, PositionRecord& record, FieldProblem& problem) {
  if (kind == PositionKind::kCartesian) {
    double* values[] = {&record.a, &record.b, &record.c};
    for (std::size_t i = 0; i < 3; ++i) {
      problem.input = i;
      if (!ReadLengthField(fields[i], form.metres_per_unit, *values[i], problem.reason)) {
        return false;
      }
    }
    return true;
  }
  const std::size_t lat = form.lon_lat ? 1 : 0;
  problem.input = lat;
  if (!ReadAngleField(fields[lat], ANGLE_LATITUDE, form.input_notation, record.a, problem.reason)) {
    return false;
  }
  if (std::fabs(record.a) > kHalfPi) {
    problem.reason = "'" + Excerpt(fields[lat]) + "': a latitude beyond 90 degrees";
    return false;
  }
  problem.input = 1 - lat;
  if (!ReadAngleField(fields[1 - lat], ANGLE_LONGITUDE, form.input_notation, record.b,
                      problem.reason)) {
    return false;
  }
  if (std::fabs(record.b) > 2.0 * std::numbers::pi) {
    problem.reason = "'" + Excerpt(fields[1 - lat]) + "': a longitude beyond 360 degrees";
    return false;
  }
  problem.input = 2;
  return ReadLengthField(fields[2], form.metres_per_unit, record.c, problem.reason);
}

bool WritePosition(const PositionRecord& record, PositionKind kind, const PositionForm& form,
                   RowWriter& row, std::string& reason) {
  if (!std::isfinite(record.a) || !std::isfinite(record.b) || !std::isfinite(record.c)) {
    reason = "no finite position";
    return false;
  }
  if (kind == PositionKind::kCartesian) {
    row.Length(record.a);
    row.Length(record.b);
    row.Length(record.c);
    return true;
  }
  const double longitude =
      record.b > std::numbers::pi ? record.b - 2.0 * std::numbers::pi : record.b;
  if (form.lon_lat) row.Angle(longitude, ANGLE_LONGITUDE);
  row.Angle(record.a, ANGLE_LATITUDE);
  if (!form.lon_lat) row.Angle(longitude, ANGLE_LONGITUDE);
  row.Length(record.c);
  return true;
}

void PositionColumns::Load(std::span<const PositionRecord> records) {
  a.resize(records.size());
  b.resize(records.size());
  c.resize(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    a[i] = records[i].a;
    b[i] = records[i].b;
    c[i] = records[i].c;
  }
}

void PositionColumns::Store(std::span<PositionRecord> records) const {
  for (std::size_t i = 0; i < records.size(); ++i)
    records[i] = {a[i], b[i], c[i]};
}

}  // namespace orvale::cli
