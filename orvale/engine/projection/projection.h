#pragma once
// The map-projection record: which family (type) and variant (method), the defining
// parameters, the spheroid it is computed on, and the constants its set-up derives.
// Every setter that changes a defining value runs the set-up before it returns, so
// a record handed to GeogToGrid or GridToGeog is always consistent.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "orvale/engine/projection/projection_status.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

namespace projection {
struct GridOutputs;
struct GeogOutputs;
struct ProjectionMaths;
}  // namespace projection

// Iterations stop when a step is at most 0.001 second of arc, and bounded ones
// after 100 rounds.
inline constexpr double kIterationTolerance = 4.848136811095278e-09;
inline constexpr int kIterationLimit = 100;

class CProjection {
 public:
  CProjection() = default;
  // A copy holds a spheroid of its own with its source's contents, so that nothing
  // done to the copy reaches the source's spheroid.
  CProjection(const CProjection& other);
  // Assign: the spheroid's contents go into the spheroid this record refers to.
  CProjection& operator=(const CProjection& other);

  std::string m_FileTitle;
  std::int32_t m_Index = 0;
  std::string m_Name;
  std::string m_Country;
  // The 64 bytes from m_Type to m_StandardParallel2 are the binary block of a
  // projection record file, in this order.
  std::int32_t m_Type = PROJECTION_UTM;
  std::int32_t m_Method = 0;
  double m_OriginLatitude = 0.0;   // radians
  double m_CentralMeridian = 0.0;  // radians, east positive
  double m_FalseEasting = 0.0;     // metres
  double m_FalseNorthing = 0.0;    // metres
  double m_ScaleFactor = 1.0;
  double m_StandardParallel1 = 0.0;  // radians
  double m_StandardParallel2 = 0.0;  // radians
  std::string m_Extra;
  std::int32_t m_Reserved = 0;
  bool m_NamedRow = false;
  CSpheroid* m_Spheroid = nullptr;  // owned by whoever owns the projection; may be null
  std::array<double, 17> m_Param{};
  std::int32_t m_Zone = 0;
  double m_ScaleRatio = 1.0;
  double m_SinLat0 = 0.0;
  double m_CosLat0 = 1.0;
  double m_TanLat0 = 0.0;
  double m_Nu0 = 0.0;
  double m_Rho0 = 0.0;
  double m_M0 = 0.0;
  double m_Psi0 = 0.0;
  // Constants a method works out once at set-up for its own use (the transverse
  // Mercator's series); derived like the values above, never part of a record file.
  alignas(double) std::array<std::byte, 320> m_MethodConstants{};

  // Setters. Angles in radians unless the name ends in Deg (degrees); lengths in metres.
  void SetParameters(double origin_latitude, double central_meridian, double false_easting,
                     double false_northing, double scale_factor);
  void SetParametersDeg(double origin_latitude, double central_meridian, double false_easting,
                        double false_northing, double scale_factor);
  // Degrees. With a method other than 0 sets both parallels, else the origin latitude
  // from `first`; recomputes only the Lambert constants.
  void SetStandardParallels(double first, double second);
  // Stores P0..P5 of an oblique projection; the caller runs Initialise afterwards.
  void SetRsoParameters(double p0, double p1, double p2, double p3, double p4, double p5);
  // Zone constants of the state-plane table methods (P0..P5 or P0..P10), then set-up.
  void SetStateParameters6(const std::array<double, 6>& values);
  void SetStateParameters11(const std::array<double, 11>& values);
  // Parameter slot as the edit dialog numbers it: 1 -> P0 ... 11 -> P10; 0 outside.
  double GetParameter(int number) const;
  // A null text empties the member.
  void SetNames(const char* name, const char* country);
  // Polar stereographic variants: A at the north or south pole, B with its standard
  // parallel as the first parallel, C with it as the second.
  void SetPolar(bool north);
  void SetPolarB(double latitude);
  void SetPolarBDeg(double latitude);
  void SetPolarC(double latitude);
  void SetPolarCDeg(double latitude);
  // Copies every member (the spheroid by contents into this record's spheroid), then set-up.
  void Assign(const CProjection& other);

  static double UtmZoneCentralMeridian(int zone);
  static int UtmZoneFromLongitude(double longitude);

  // Derives every constant of the current parameters (see the family sources).
  void Initialise();
  void InitialiseLambert();

  // Latitude and longitude (radians) to grid co-ordinates (metres), convergence
  // (radians) and point scale factor. Null outputs are neither computed nor written.
  // Every position is computed, 0, 0 included; the longitude is taken within half a
  // turn of the central meridian, so 179.9 W is 0.2 degrees from a meridian of 180.
  // The outputs are a result only when the status is kOk; a point whose status is not
  // kOk has NaN in every output given (a latitude or longitude that is not a finite
  // number: kNotANumber; a latitude beyond +-90 degrees: kBeyondPole; no usable
  // projection: kInvalidProjection). A convergence or scale the method cannot give is
  // a quiet NaN with status kOk.
  // Not const: the Norwegian grid records the axis it chose in P0 and m_Country.
  [[nodiscard]] ProjectionStatus GeogToGrid(double latitude, double longitude, double* easting,
                                            double* northing, double* convergence = nullptr,
                                            double* scale = nullptr);

  // Grid co-ordinates to latitude and longitude; both must be given. The incoming
  // latitude seeds the footpoint iterations (pass the previous point's latitude when
  // converting a sequence; 0, NaN or beyond +-pi/2 starts from 1 radian). The longitude
  // comes back in (-pi, pi]. A grid position that is not a finite number gives
  // kNotANumber, one whose latitude would be beyond a pole kBeyondPole; as for the
  // forward, a point whose status is not kOk has NaN in every output, and a
  // convergence or scale the method cannot give is a quiet NaN with status kOk.
  [[nodiscard]] ProjectionStatus GridToGeog(double easting, double northing, double* latitude,
                                            double* longitude, double* convergence = nullptr,
                                            double* scale = nullptr) const;

  // A start for GridToGeog's footpoint iteration taken from the point itself: the
  // footpoint-series latitude of its meridian distance on a Transverse Mercator grid
  // (0 for the other families, where 0 means the default start). It converges in a
  // round or two; unlike the previous point's latitude it keeps every point's result
  // independent of the others.
  double FootpointStart(double northing) const;

  // Latitudes and longitudes to grid co-ordinates for a run of points (the way to
  // convert a file): each point as GeogToGrid gives it, with what the run has in common
  // worked out once. Converts as many points as the shortest span holds; convergences,
  // scales and statuses may be empty (not computed), and a point's outputs are a
  // result only where its status is kOk. Eastings and northings may be the latitudes
  // and longitudes themselves (conversion in place).
  void GeogToGridMany(std::span<const double> latitudes, std::span<const double> longitudes,
                      std::span<double> eastings, std::span<double> northings,
                      std::span<double> convergences = {}, std::span<double> scales = {},
                      std::span<ProjectionStatus> statuses = {});

  // Grid co-ordinates to geographical for a run of points (the way to convert a file):
  // each point as GridToGeog gives it with its latitude primed by FootpointStart, so
  // no point depends on another, but with what the run has in common worked out once.
  // Converts as many points as the shortest span holds; convergences, scales and
  // statuses may be empty (not computed). Latitudes and longitudes may be the
  // eastings and northings themselves (conversion in place).
  void GridToGeogMany(std::span<const double> eastings, std::span<const double> northings,
                      std::span<double> latitudes, std::span<double> longitudes,
                      std::span<double> convergences = {}, std::span<double> scales = {},
                      std::span<ProjectionStatus> statuses = {}) const;

  // The Norwegian and Danish grids keep two int32 in the first parameter slot: the
  // grid's own axis (Norwegian, 1..8) or zone (Danish, 0..2), then the number of the
  // UTM zone the grid is built on. Neither is checked here; the grids flag a value
  // they do not have.
  std::int32_t NorwegianAxis() const;
  std::int32_t DanishZone() const;
  std::int32_t NationalGridUtmZone() const;
  void SetNorwegianAxis(std::int32_t axis, std::int32_t utm_zone);
  void SetDanishZone(std::int32_t zone, std::int32_t utm_zone);

  // Catalogue (projection_catalogue.cpp). Fills the record from built-in row `index`
  // of `type` (with `method` where the family takes one) and sets it up; false for a
  // type above 14 or an index beyond the family. The spheroid is set only when one is
  // attached.
  [[nodiscard]] bool SetFromCatalogue(int index, int type, int method);
  // Built-in rows that come before the user records of a type (0 for types 0, 12, 13).
  static int CatalogueRowCount(int type);
  // "Grid Zone 31 (3° E)" (Windows-1252).
  static std::string GridZoneName(int zone);

  // Look-up among the built-in rows and the record files (projection_lookup.cpp).

  // A built-in row, else the user record standing for `index` of the type.
  [[nodiscard]] bool SetFromIndex(int index, int type, int method);
  // The record file standing for `index` of `type` (index counts after the built-in
  // rows), in folder order; false when there is none.
  [[nodiscard]] static bool FindUserRecord(int index, int type, std::string& title,
                                           std::string& path);
  // Loads the row or record file of `type` with this name and country (case-sensitive)
  // whose spheroid is the one attached; the record's own texts when none are given.
  // Candidates are built on a spheroid of the search's own, so the attached one is
  // never changed. The first row with the name and country ends the scan of the rows,
  // and the first record file with them the scan of the files: taken when its spheroid
  // is the attached one, rejected otherwise. UTM and Norwegian zones are found by the
  // zone number in the name. Without a match: false, the texts searched for, origin and
  // false origin 0, k0 1, and the file title the record had.
  [[nodiscard]] bool FindByName(std::string_view name, std::string_view country, int type);
  [[nodiscard]] bool FindByName(int type);
  // Brings the projection to a row of its type that uses the attached spheroid.
  void MatchSpheroid();

  // Record files (projection_records.h): four text lines and the 64-byte block.
  [[nodiscard]] bool WriteRecordFile(std::string_view path = {});
  // False for a file that cannot be opened or read whole (the record keeps its texts,
  // with origin and false origin 0 and k0 1).
  [[nodiscard]] bool ReadRecordFile(std::string_view path = {});
  // The type in the block of the record file of the path's title; 15 (no type) for a
  // file that ReadRecordFile would refuse.
  static std::int32_t ReadRecordType(std::string_view path);
  void WriteSettingsSection(std::string_view title = {}) const;

  // Display texts of the projection types and their methods; empty outside the tables
  // (projection_types.h has the rest of what the table knows of each type).
  static std::string_view TypeText(int type);
  static std::string_view MethodText(int type, int method);
  // Number of methods a type offers in its method list (0 for types without one).
  static int MethodCount(int type);

 private:
  // A spheroid with a finite, non-zero semi-major axis, a finite non-zero scale factor
  // and finite parameters: what every projection needs.
  bool CanProject() const;
  // The longitude a forward of this record's method computes with.
  double ForwardLongitude(const projection::ProjectionMaths& maths, double longitude) const;
  // The entries' work, before a point without result has its outputs set to NaN.
  ProjectionStatus ComputeGrid(double latitude, double longitude,
                               const projection::GridOutputs& out);
  ProjectionStatus ComputeGeog(double easting, double northing,
                               const projection::GeogOutputs& out) const;
  // Every member but the spheroid.
  void CopyValues(const CProjection& other);
  void SetNationalGridPair(std::int32_t first, std::int32_t utm_zone);
  std::int32_t NationalGridFirst() const;

  // The spheroid of a copy made without one to copy into; m_Spheroid points at it.
  std::unique_ptr<CSpheroid> m_OwnSpheroid;
};

}  // namespace orvale
