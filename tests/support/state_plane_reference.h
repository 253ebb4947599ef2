#pragma once
// Shared by the catalogue and state-plane tests: the reference files in
// tests/data/state_plane, the NAD 27 zone definitions read from them, records built
// from published definitions, and the worst difference between two records over a zone.
// Header-only, since ORVALE_TEST_DATA_DIR is defined for the test binaries alone.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/projection_fixture.h"
#include "support/text_table.h"

namespace orvale::testing {

inline constexpr double kMichiganEllipsoidScaling = 1.0000382;
inline constexpr int kStatePlaneRowCount = 130;

struct Geog {
  double latitude;   // degrees
  double longitude;  // degrees, east positive
};

using CsvRow = std::vector<std::string>;

// The rows after the header line of a file in tests/data/state_plane.
inline std::vector<CsvRow> ReadStatePlaneCsv(const std::string& name) {
  std::ifstream in(std::filesystem::path(ORVALE_TEST_DATA_DIR) / "state_plane" / name);
  EXPECT_TRUE(in) << "cannot open " << name;
  std::vector<CsvRow> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    if (!line.empty()) rows.push_back(CsvFields(line));
  }
  return rows;
}

// The zone code in a state-plane row's country text ("Code 4904").
inline int CodeOf(const CProjection& row) {
  return std::stoi(row.m_Country.substr(5));
}

// EPSG's sexagesimal DDD.MMSSsss, read from its text so that 30.3 is 30 deg 30 min.
inline double Sexagesimal(std::string text) {
  const double sign = text.starts_with('-') ? -1.0 : 1.0;
  if (sign < 0) text.erase(0, 1);
  const auto point = text.find('.');
  std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  fraction.resize(std::max<std::size_t>(fraction.size(), 4), '0');
  const double minutes = std::stod(fraction.substr(0, 2));
  const double seconds = std::stod(fraction.substr(2, 2) + "." + fraction.substr(4) + "0");
  return sign * (std::stod(text.substr(0, point)) + minutes / 60.0 + seconds / 3600.0);
}

// A NAD 27 zone's EPSG definition (degrees and metres) and its area of use.
struct Nad27Zone {
  std::string name;
  std::string method;
  std::map<std::string, double> values;
  double south = 0.0, north = 0.0, west = 0.0, east = 0.0;

  double operator[](const std::string& key) const { return values.at(key); }
  bool IsTm() const { return method == "Transverse Mercator"; }
  bool OnMichiganSpheroid() const { return method.find("Michigan") != std::string::npos; }
};

// By zone code. The conversion codes are 10000 + the zone code, save those that
// replaced an earlier conversion.
inline const std::map<int, Nad27Zone>& Nad27Zones() {
  static const std::map<int, Nad27Zone> zones = [] {
    const std::map<int, int> renumbered = {{10408, 407}, {6965, 2111}, {6198, 2112}, {6199, 2113},
                                           {4454, 3104}, {4436, 3702}, {15302, 4100}};
    auto code = [&](const std::string& conversion) {
      const auto found = renumbered.find(std::stoi(conversion));
      return found != renumbered.end() ? found->second : std::stoi(conversion) - 10000;
    };
    std::map<int, Nad27Zone> by_code;
    for (const CsvRow& row : ReadStatePlaneCsv("nad27_epsg.csv")) {
      Nad27Zone& z = by_code[code(row[0])];
      z.name = row[1];
      z.method = row[2];
      for (std::size_t i = 3; i + 2 < row.size(); i += 3) {
        if (row[i].empty()) continue;
        const std::string& unit = row[i + 2];  // 9110 sexagesimal, 9003 US foot
        z.values[row[i]] = unit == "9110"   ? Sexagesimal(row[i + 1])
                           : unit == "9003" ? std::stod(row[i + 1]) * kMetresPerUsFoot
                                            : std::stod(row[i + 1]);
      }
    }
    for (const CsvRow& row : ReadStatePlaneCsv("nad27_extents.csv")) {
      Nad27Zone& z = by_code[code(row[0])];
      z.south = std::stod(row[3]);
      z.north = std::stod(row[4]);
      z.west = std::stod(row[5]);
      z.east = std::stod(row[6]);
      // Alaska zone 10 crosses the antimeridian: its west edge is taken beyond 180 W.
      if (z.east < z.west) z.west -= 360.0;
    }
    return by_code;
  }();
  return zones;
}

// A transverse Mercator record; degrees and metres.
inline CProjection TmRecord(CSpheroid* s, double lat0, double lon0, double fe, double fn,
                            double k0) {
  CProjection p;
  p.m_Spheroid = s;
  p.m_Type = PROJECTION_TRANSVERSE_MERCATOR;
  p.SetParametersDeg(lat0, lon0, fe, fn, k0);
  return p;
}

// A two-parallel Lambert record: method 1 the general form, 2 the US form.
inline CProjection LambertRecord(CSpheroid* s, int method, double parallel1, double parallel2,
                                 double lat0, double lon0, double fe, double fn) {
  CProjection p;
  p.m_Spheroid = s;
  p.m_Type = PROJECTION_LAMBERT;
  p.m_Method = method;
  p.m_StandardParallel1 = parallel1 * kRadiansPerDegree;
  p.m_StandardParallel2 = parallel2 * kRadiansPerDegree;
  p.SetParametersDeg(lat0, lon0, fe, fn, 1.0);
  return p;
}

// What a record gives at a point (degrees): grid (metres), convergence (radians) and
// scale; NaN where the record writes nothing.
inline GridOutputs Forward(CProjection& p, Geog at) {
  constexpr double kUnset = std::numeric_limits<double>::quiet_NaN();
  GridOutputs v{kUnset, kUnset, kUnset, kUnset};
  v.status = p.GeogToGrid(Radians(at.latitude), Radians(at.longitude), &v.easting, &v.northing,
                          &v.convergence, &v.scale);
  return v;
}

// Metres between two nearby positions; a meridian may come back 360 degrees away.
inline double GroundDistance(const CSpheroid& s, Geog a, Geog b) {
  const double longitude_difference = std::remainder(a.longitude - b.longitude, 360.0);
  return s.m_SemiMajorAxis * kRadiansPerDegree *
         std::hypot(a.latitude - b.latitude,
                    longitude_difference * std::cos(a.latitude * kRadiansPerDegree));
}

// A grid of points from south-west to north-east, in the given number of steps.
inline std::vector<Geog> PointsAcross(double south, double north, double west, double east,
                                      int latitude_steps, int longitude_steps) {
  std::vector<Geog> points;
  for (int i = 0; i <= latitude_steps; ++i) {
    for (int j = 0; j <= longitude_steps; ++j) {
      points.push_back({south + (north - south) * i / latitude_steps,
                        west + (east - west) * j / longitude_steps});
    }
  }
  return points;
}

// The largest differences between two records' values over a zone's points; a NaN
// difference is the largest of all.
struct Worst {
  double metres = 0.0;  // larger of the easting and northing differences
  Geog at{0.0, 0.0};
  double convergence = 0.0;
  double scale = 0.0;

  // Whether d replaces worst: a NaN, once taken, stays.
  static bool Larger(double d, double worst) { return !std::isnan(worst) && !(d <= worst); }

  void Take(const GridOutputs& a, const GridOutputs& b, Geog where) {
    const double e = std::fabs(a.easting - b.easting), n = std::fabs(a.northing - b.northing);
    if (Larger(e, metres) || Larger(n, metres)) {
      metres = Larger(e, n) ? e : n;
      at = where;
    }
    const double c = std::fabs(a.convergence - b.convergence), k = std::fabs(a.scale - b.scale);
    if (Larger(c, convergence)) convergence = c;
    if (Larger(k, scale)) scale = k;
  }
};

// One line of a per-zone report.
inline void PrintWorst(const std::string& zone, const Worst& w) {
  std::printf("  %-50s %.4f ft at %.4f, %.4f\n", zone.c_str(), w.metres / kMetresPerUsFoot,
              w.at.latitude, w.at.longitude);
}

}  // namespace orvale::testing
