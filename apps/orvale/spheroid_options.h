#pragma once
// What the commands on earth-centred positions share: the spheroid options, taken by
// catalogue entry or by hand (--spheroid, --a, --rf, or with a prefix:
// --target-spheroid, --target-a, --target-rf), and a position read and written either
// as latitude, longitude and height or as X, Y, Z.

#include <CLI/CLI.hpp>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "point_pipeline.h"

namespace orvale::cli {

struct SpheroidOptions {
  std::string prefix;  // "" or "target-"
  std::string spheroid = "WGS84";
  double semi_major_axis = 0.0;  // with inverse_flattening: a spheroid typed by hand
  double inverse_flattening = 0.0;

  std::string Name(std::string_view option) const;  // "--" + prefix + option
};

// Adds the three options, naming the spheroid as `what` in their help ("source",
// "target"), and collects them in `named` so that the command knows which were given.
void AddSpheroidOptions(CLI::App& command, SpheroidOptions& options, std::string_view what,
                        std::vector<CLI::Option*>& named);

// Whether any of the three options is among `given`.
bool AnySpheroidOptionGiven(const SpheroidOptions& options, const std::vector<std::string>& given);

// The spheroid of the options; false with the reason, naming the option, when the name
// is unknown, both forms are given, the axes are no spheroid, or it is a sphere (a
// sphere has no cartesian position).
bool SetUpEllipsoid(const SpheroidOptions& options, const std::vector<std::string>& given,
                    CSpheroid& spheroid, std::string& problem);

enum class PositionKind { kGeographical, kCartesian };

// How positions read: which kind comes in, latitude and longitude swapped, bare angles
// in degrees or gradians, lengths in the output unit.
struct PositionForm {
  PositionKind input = PositionKind::kGeographical;
  bool lon_lat = false;
  int input_notation = ANGLE_PREF_DEGREES;
  double metres_per_unit = 1.0;
};

// One point: latitude, longitude (radians) and height, or X, Y, Z (metres).
struct PositionRecord {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
};

// The value names of a kind, in field order.
std::vector<std::string> PositionNames(PositionKind kind, bool lon_lat);

// Reads a position of `kind` from its three fields; false with the problem.
bool ReadPosition(std::span<const std::string_view> fields, PositionKind kind,
                  const PositionForm& form, PositionRecord& record, FieldProblem& problem);

// Writes a position of `kind`; false with the reason when it is no finite position. A
// longitude beyond 180 degrees (the 270 of the X = 0 meridian) is written as its
// equal west of Greenwich, as every other longitude is.
bool WritePosition(const PositionRecord& record, PositionKind kind, const PositionForm& form,
                   RowWriter& row, std::string& reason);

// The records of a batch as three columns, for the engine's run entries; kept by a
// command so that a batch allocates only when it is larger than any before.
struct PositionColumns {
  std::vector<double> a, b, c;
  void Load(std::span<const PositionRecord> records);
  void Store(std::span<PositionRecord> records) const;
};

}  // namespace orvale::cli
