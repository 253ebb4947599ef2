#pragma once
// The reference ellipsoid every other computation rests on: its defining axes and
// the constants derived from them once, read as fields by the projection, datum and
// range-and-bearing code.
//
// A spheroid comes from the built-in catalogue (indexes 0 to 52), from a user record
// file in the "Global" data folder (index 53 + k for the k-th file in sorted order),
// or from values typed by the user. Every operation that changes a or 1/f recomputes
// the derived fields before it returns, so a record is always consistent.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvale {

class CSpheroid {
 public:
  // Built-in row 26 (WGS84), range-and-bearing method 0, no file title.
  CSpheroid();

  // A copy-constructed record is the same list entry as its source, so it takes
  // every field, m_Index included.
  CSpheroid(const CSpheroid& other) = default;

  // Takes the other's file title, name, country, axes, 1/f, EPSG number and
  // range-and-bearing method, then recomputes. The target keeps its own m_Index
  // (its place in whatever list it belongs to) and its own m_DisplayName, which the
  // lists re-form whenever they show it.
  CSpheroid& operator=(const CSpheroid& other);

  // Derives every constant from m_SemiMajorAxis and m_InverseFlattening. 1/f <= 0
  // (or not a number) sets all of them to 0. 1/f <= 1 is taken as a sphere, e = 0.
  void ComputeConstants();

  // Loads built-in row `index` (0 to 52); m_FileTitle and m_RangeBearingMethod are
  // kept. Any other index returns false and changes nothing.
  [[nodiscard]] bool SetBuiltIn(std::int32_t index);

  // Look-up in the combined list (spheroid_lookup.cpp).

  // Loads entry `index` of the combined list: a built-in row, or the record file
  // standing for it. An index past the last record file, or a record file that
  // cannot be read whole, gives row 26 and false.
  [[nodiscard]] bool SetFromIndex(std::int32_t index);

  // Finds a spheroid by name and country (case-sensitive) and loads it: built-in
  // rows first (row 26, WGS84, matches on the name alone), then the record files in
  // list order. Without a match: false, a = b = 0, 1/f = 297, EPSG 0, m_Index -1,
  // m_FileTitle kept, and name and country empty.
  [[nodiscard]] bool FindByName(std::string_view name, std::string_view country);

  // The same search for the record's own name and country, which are kept (not
  // emptied) when nothing matches. This is the form for an absent name or country:
  // either one missing means the record's own pair is searched, so a half-given
  // pair has no overload of its own.
  [[nodiscard]] bool FindByName();

  // Sets a (metres) and 1/f, replacing a 1/f outside 290 to 310 by 297, and sets
  // b = a(1 - 1/f). Name, country, index and EPSG number are kept.
  void SetAxes(double semi_major_axis, double inverse_flattening);

  // Same name and same country, compared case-sensitively.
  bool IsSame(const CSpheroid& other) const;

  // Built-in row 26 (WGS84), the spheroid wherever one is needed and none is known.
  void SetDefault();

  // Record files (spheroid_records.h). Paths are library paths ("C:\\x\\Name.SPD").

  // Writes "<Global folder><m_FileTitle>.SPD", replacing the file whole or not at
  // all. A given path only supplies the file title. Without a title the key is
  // "<name>" or "<name>_<country>" and is kept in m_FileTitle. False when there is
  // no key, the key is not a valid file name, a text holds a line feed, or the file
  // cannot be written.
  [[nodiscard]] bool Save(std::string_view path = {});

  // Reads the record file of the path's file title from the Global folder (the
  // path's own folder and extension are not used); m_EPSGNo becomes 0 and m_Index
  // is kept. An empty path or a file that cannot be opened gives row 26 and false
  // (m_FileTitle is still set from the path). A file cut short leaves the values it
  // could not supply as they were and returns false; one whose values are no
  // spheroid (SpheroidAxesProblem), that goes on after them or is larger than a
  // record can be gives row 26 and false. ReadSpheroidRecord says why.
  [[nodiscard]] bool Load(std::string_view path);

  // Range and bearing and the direct problem, defined in orvale/engine/survey/. Angles
  // in radians, lengths in metres, azimuths clockwise from north in [0, 2 pi).

  // Range A to B and the azimuths A to B and B to A by the method m_RangeBearingMethod
  // selects (kRangeBearingEllipticArc, kRangeBearingSeries, kRangeBearingGeodesic of
  // orvale/engine/survey/range_bearing.h). Null outputs are not written. False, with
  // nothing written, when the method has no result: the series' azimuth denominator
  // is 0, a position is not a number, the geodesic's search did not settle, or the
  // selector is none of the three.
  [[nodiscard]] bool InverseRangeAndBearing(double* range, double* azimuth_ab, double* azimuth_ba,
                                            double lat_a, double lon_a, double lat_b,
                                            double lon_b) const;
  // Rhumb-line (loxodrome) length and bearing A to B, exact; A is also given by the
  // sine and cosine of its latitude and nu there. Both outputs are required. False,
  // with NaN written, for a position that is not a number.
  [[nodiscard]] bool RhumbLine(double* range, double* bearing, double lon_a, double lat_b,
                               double lon_b, double sin_lat_a, double cos_lat_a, double nu_a,
                               double lat_a) const;
  // Slope distance between points at heights h_a and h_b whose spheroidal distance is
  // s; s itself when both heights are 0. NaN when s or a height is not a number.
  double SlopeDistance(double s, double h_a, double h_b) const;
  // The point at spheroidal distance s and azimuth `azimuth` from (lat_a, lon_a): the
  // geodesic when m_RangeBearingMethod is kRangeBearingGeodesic, Clarke's best formula
  // otherwise. Both outputs are required. False when there is no result: zeros for a
  // spheroid without eccentricity under Clarke's formula, NaN for input that is not a
  // number.
  [[nodiscard]] bool DirectProblem(double* lat_b, double* lon_b, double lon_a, double s,
                                   double azimuth, double lat_a) const;

  // Records the current name and country in the settings file "Spheroid <suffix>"
  // ("Spheroid" without a suffix) for the host. Silently skipped when the file
  // cannot be written.
  void WriteSettings(std::string_view suffix = {}) const;

  std::string m_FileTitle;
  std::string m_Name;
  std::string m_Country;
  double m_SemiMajorAxis = 0.0;
  double m_SemiMinorAxis = 0.0;
  double m_InverseFlattening = 0.0;
  std::string m_DisplayName;
  std::int32_t m_Index = 0;
  std::uint32_t m_EPSGNo = 0;
  double m_E2 = 0.0;
  double m_E = 0.0;
  double m_HalfE = 0.0;
  double m_PolarK = 0.0;
  double m_E1 = 0.0;
  double m_OneMinusE2 = 0.0;
  double m_Ep2 = 0.0;
  double m_OnePlusEp2 = 0.0;
  double m_A0 = 0.0;
  double m_A2 = 0.0;
  double m_A4 = 0.0;
  double m_A6 = 0.0;
  double m_MeridianA0 = 0.0;
  double m_MeridianSlope0 = 0.0;
  double m_FootE1 = 0.0;
  double m_Foot2 = 0.0;
  double m_Foot4 = 0.0;
  double m_Foot6 = 0.0;
  double m_Foot8 = 0.0;
  std::uint32_t m_RangeBearingMethod = 0;

 private:
  void ClearConstants();
  void ComputeMeridianCoefficients();
  void ComputeFootpointCoefficients();
};

// Why a, b and 1/f (as a record file stores them) are no spheroid, in words for the
// user; empty when they are one. Every value must be finite, a and b above 0, b no
// larger than a, and 1/f at least 1 (1 marks a sphere, b = a). b, which nothing
// computes with, must agree with a(1 - 1/f) (with a for a sphere) to within
// kAxesAgreement, so that the list never shows a b the computations contradict.
inline constexpr double kAxesAgreement = 1.0;  // metres
std::string SpheroidAxesProblem(double semi_major_axis, double semi_minor_axis,
                                double inverse_flattening);

}  // namespace orvale
