#pragma once
// Builds the spheroid and projection a command works on from its options.

#include <span>
#include <string>
#include <vector>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "text_options.h"

namespace orvale::cli {

struct ProjectionOptions {
  std::string catalogue;  // --projection: a catalogue row, UTM zone or name
  std::string type = "tm";
  int method = 0;
  std::string spheroid = "WGS84";
  double semi_major_axis = 0.0;  // with inverse_flattening: a spheroid typed by hand
  double inverse_flattening = 0.0;
  std::string lat0 = "0";
  std::string lon0 = "0";
  std::string sp1;
  std::string sp2;
  double k0 = 1.0;
  double fe = 0.0;
  double fn = 0.0;
  int zone = 0;
  bool south = false;
  std::vector<std::string> params;  // "P=value", P a slot number 0..16
  int axis = 0;                     // Norwegian axis / Danish zone
  // The options given on the command line ("--k0"), so that one the projection
  // cannot honour is refused rather than ignored; empty: not known, none refused.
  std::vector<std::string> given;
};

// Finds a spheroid by catalogue index, "EPSG:code", or name ("Airy 1830", or with
// its country, "Airy 1830 OSGB"; either case). False with the reason otherwise.
bool SelectSpheroid(const std::string& text, CSpheroid& spheroid, std::string& problem);

// Chooses the spheroid named by the options, or the one typed as a and 1/f.
bool SetUpSpheroid(const ProjectionOptions& options, CSpheroid& spheroid, std::string& problem);

// Sets up `projection` (already pointing at its spheroid) from the options, once
// every parameter is checked: a parameter that defines no projection (a scale factor
// of 0, a one-parallel cone on the equator) is refused, naming its option.
bool SetUpProjection(const ProjectionOptions& options, CProjection& projection,
                     std::string& problem);

// Checks a projection taken from the catalogue or a record file (`name` as the user
// gave it) as SetUpProjection checks typed parameters; false with the reason.
bool CheckSelectedProjection(const CProjection& projection, const std::string& name,
                             std::string& problem);

// A one-line description of a set-up projection, for --describe and messages.
std::string DescribeProjection(const CProjection& projection);

// One line per projection type name, for --help.
std::string ProjectionTypeHelp();

// The projection types by their keys, for option look-up.
std::span<const NamedValue> ProjectionTypeNames();

}  // namespace orvale::cli
