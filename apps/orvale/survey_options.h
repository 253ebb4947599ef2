#pragma once
// What the survey commands (inverse, direct, traverse) share: the spheroid, an optional
// catalogue projection, the range-and-bearing method, and the reading of a position.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "point_pipeline.h"
#include "projection_setup.h"

namespace orvale::cli {

struct SurveyOptions {
  ProjectionOptions projection;  // only the spheroid and --projection are used
  std::string method = "geodesic";
};

// Adds --spheroid, --a, --rf, --projection and --method; `method_help` says what the
// method selects in this command.
void AddSurveyOptions(CLI::App& command, SurveyOptions& options, std::vector<CLI::Option*>& named,
                      const std::string& method_help);

// The spheroid (with its range-and-bearing method) and, when --projection was given,
// the projection on it; false with the reason otherwise.
[[nodiscard]] bool SetUpSurvey(const SurveyOptions& options, std::span<const std::string> given,
                               CSpheroid& spheroid, CProjection& projection, bool& has_projection,
                               std::string& problem);

// A latitude and a longitude from two fields (inputs `first` and `first + 1`, or the
// other way round with --lon-lat); false with the problem otherwise.
[[nodiscard]] bool ReadPosition(std::span<const std::string_view> fields, std::size_t first,
                                bool lon_lat, int notation, double& latitude, double& longitude,
                                FieldProblem& problem);

// An angle field: a plain decimal number of degrees straight to radians (the angle
// entry's reading goes by way of degrees, minutes and seconds and gives up about 5e-13
// rad, 3 micrometres on the ground, that a range to a tenth of a millimetre over
// thousands of kilometres cannot spare), any other form as the angle entry reads it.
[[nodiscard]] bool ReadSurveyAngle(std::string_view field, int type, int notation, double& radians,
                                   std::string& reason);

// The input notation of bare numbers: degrees, or gradians under --angles gradians.
int InputNotation(const PipelineOptions& options);

// The names of a position's two inputs, latitude first unless --lon-lat.
std::vector<std::string> PositionNames(bool lon_lat, std::string_view suffix);

}  // namespace orvale::cli
