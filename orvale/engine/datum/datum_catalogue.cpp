// The built-in datum shifts, as published: every parameter is the stored double, digit
// for digit. Spheroid columns are built-in spheroid rows: 0 Airy 1830, 1 Airy (modified
// 1849), 2 Reference 1967, 3 Bessel 1841, 7 Clarke 1866, 10 Clarke 1880 (IGN), 11 Clarke
// 1880 (RGS), 12 Clarke 1880 (Arc), 14 Everest 1830 (1937 Adj), 15 Everest 1830 (1967
// Def), 17 GRS80, 20 International, 21 Krassowsky 1940, 25 War Office, 26 WGS84, 35 NWL
// 10D, 36 Everest (NHO), 42 SAD 1969.

#include "orvale/engine/datum/datum_catalogue.h"

#include <array>
#include <cstddef>

#include "orvale/engine/spheroid/spheroid_catalogue.h"

namespace orvale {
namespace {

constexpr std::array<std::string_view, kShiftTypeCount> kShiftTypeNames = {
    "No datum Shift", "WGS84 Shifts", "Ordnance Survey",     "Norwegian Shifts", "NADCON Shifts",
    "Canada NTv2",    "Other Shifts", "User Defined Shifts", "Lat / Lon Shifts", "Grid Shifts"};

constexpr std::array<int, kShiftTypeCount> kBuiltInEntryCounts = {1, 55, 1, 3, 6, 1, 8, 0, 0, 0};

constexpr std::array<std::string_view, kRotationMethodCount> kRotationMethodNames = {
    "Position Vector", "Co-ordinate Frame"};
// The blank inside the second parenthesis is part of the text as it has always been shown.
constexpr std::array<std::string_view, kRotationMethodCount> kRotationMethodRemarks = {
    "(European Bursa-Wolf)", "( US Dept of Defense)"};

// from, to, variant, own spheroid, target spheroid, dx, dy, dz (m), rx, ry, rz ("),
// scale (ppm), rotation method; commented with the entry number.
// clang-format off
constexpr std::array<HelmertEntry, 55> kWgs84ShiftEntries = {{
    {"WGS 84", "E.D. 50", "Precise Ephemeris", 26, 20, 89.5, 93.8, 127.6, 0.0, 0.0, 0.97, -1.8, 0},  // 0
    {"WGS 84", "E.D. 50", "Broadcast Ephemeris", 26, 20, 83.0, 110.0, 118.0, 0.0, 0.0, 0.0, 0.0, 0},  // 1
    {"WGS 84", "E.D. 50", "UKOOA Recommended", 26, 20, 89.5, 93.8, 123.1, 0.0, 0.0, 0.156, -1.2, 0},  // 2
    {"WGS 84", "E.D. 50", "Algeria to Spain", 26, 20, 88.0, 109.0, 122.0, 0.0, 0.0, 0.156, -1.2, 0},  // 3
    {"WGS 84", "E.D. 50", "Spain National System", 26, 20, 108.282, 106.108, 143.491, 0.0, 0.0, 0.0, 1.0, 0},  // 4
    {"ETRS89/WGS84", "OSGB36", "Helmert transformation", 26, 0, -446.448, 125.157, -542.06, -0.1502, -0.247, -0.8421, 20.4894, 0},  // 5
    {"WGS 84", "Nord Sahara", "Algeria", 26, 11, 195.939, 73.037, -281.822, 0.0, 0.0, 0.0, 0.0, 0},  // 6
    {"WGS 84", "E.D. 87", "", 26, 20, 82.981, 99.719, 110.709, 0.10470001565105842, -0.031001600378948148, -0.08040202147514297, 0.3143, 0},  // 7
    {"WGS 84", "Nahrwan", "Middle East", 26, 11, 233.4, 160.7, -381.5, 0.0, 0.0, 0.5544, -0.2263, 1},  // 8
    {"WGS 84", "Kalyanpur", "South Bassien corrns", 26, 14, -280.0, -720.0, -231.9, 0.0, 0.0, -0.814, 0.38, 0},  // 9
    {"WGS 84", "AGD 1984", "Australian", 26, 2, 116.0, 50.47, -141.69, 0.23, 0.39, 0.344, -0.0983, 1},  // 10
    {"WGS 84", "RD", "Dutch", 26, 3, -565.04, -49.91, -465.84, -0.4094, 0.3597, -1.8685, -4.0772, 1},  // 11
    {"WGS 84", "Portugese", "Portugal", 26, 20, 302.9, 61.84, -105.0, 0.0, 0.0, 0.0, 0.0, 0},  // 12
    {"WGS 84", "Pulkovo", "Azerbaijan", 26, 21, -27.0, 135.0, 84.0, 0.0, 0.0, -0.554, -0.2263, 0},  // 13
    {"WGS 84", "Pulkovo 1940", "Caspian Sea", 26, 21, -926.4, 715.9, 186.4, 10.364, 20.78, -26.452, 7.224, 0},  // 14
    {"WGS 84", "Kuwait", "KTM", 26, 26, -18.5, 17.4, -0.4, 0.0, 0.0, 0.0, 0.0, 0},  // 15
    {"Kuwait", "Ain El Abd", "(1970) Saudi", 26, 20, 117.6, 252.2, -5.39, 0.0, 0.0, 0.0, 0.0, 0},  // 16
    {"Kuwait", "Ain El Abd", "Saudi (2)", 26, 11, 262.7, 198.8, -532.7, 0.0, 0.0, 0.0, 0.0, 0},  // 17
    {"WGS 84", "Everest", "Indian", 26, 14, -280.0, -720.0, -231.9, 0.0, 0.0, -0.814, 0.38, 0},  // 18
    {"WGS 84", "Minna", "Nigeria", 26, 11, 93.2, 93.31, -121.156, 0.0, 0.0, 0.0, 0.0, 0},  // 19
    {"WGS 84", "Minna", "S.Nigeria", 26, 11, 111.92, 87.85, -114.5, -1.875, -0.202, -0.219, -0.032, 0},  // 20
    {"WGS 84", "Timbalai", "North Borneo", 26, 15, 533.4, -669.2, 52.5, 0.0, 0.0, 4.28, -9.4, 1},  // 21
    {"ETRF89", "Ireland 1975", "Ireland", 17, 1, -482.53, 130.596, -564.557, -1.042, -0.214, -0.631, -8.15, 1},  // 22
    {"WGS 84", "Clarke 1866", "Puerto Rico", 26, 7, -11.0, -72.0, 101.0, 0.0, 0.0, 0.0, 0.0, 1},  // 23
    {"WGS 84", "Moudi", "Cameroon (via WGS72)", 26, 10, 56.7, 171.8, 38.7, 0.0, 0.0, -0.814, 0.38, 0},  // 24
    {"WGS 84", "Ebome", "Cameroon", 26, 10, 58.14, 154.7, 36.0, 0.0, 0.0, 0.0, 0.0, 0},  // 25
    {"WGS 84", "M'Poraloko", "Gabon", 26, 10, 80.69, 132.49, -41.14, 0.0, 0.0, 0.0, 0.0, 0},  // 26
    {"WGS 84", "Arc 1950", "Congo (Zaire)", 26, 12, 169.0, 19.0, 278.0, 0.0, 0.0, 0.0, 0.0, 0},  // 27
    {"WGS 84", "La Canoa 1956", "Venezuela", 26, 20, 273.5, -110.6, 357.9, 0.0, 0.0, 0.0, 0.0, 0},  // 28
    {"WGS 84", "ED-77", "Iran", 26, 20, 122.89, 159.08, 168.74, 0.0, 0.0, 0.0, 0.0, 0},  // 29
    {"WGS 84", "Ain Al Abd", "Saudi", 26, 20, 140.1151, 270.0292, -21.4383, 0.4864, 1.6614, 1.5513, -1.7503, 1},  // 30
    {"WGS 84", "Nahrwan", "Zakum", 26, 11, 245.76, 152.12, -382.81, 0.0, 0.0, 0.0, 0.0, 0},  // 31
    {"WGS 84", "Nahrwan", "Qatar", 26, 11, 250.2, 153.09, -391.7, 0.0, 0.0, 0.0, 0.0, 0},  // 32
    {"WGS 84", "NZGD49", "New Zealand", 26, 20, -59.47, 5.04, -187.44, 0.47, -0.1, 1.024, 4.5993, 1},  // 33
    {"WGS 84", "SAD-69", "South America", 26, 42, 66.87, -4.37, 38.52, 0.0, 0.0, 0.0, 0.0, 0},  // 34
    {"ITRF 2000", "QND95", "Qatar", 26, 20, 119.4248, 303.65872, 11.00061, 1.164298, 0.174458, 1.096259, -3.657065, 1},  // 35
    {"ITRF 2000", "QNG-DEL", "Qatar", 26, 20, 121.3213, 267.4665, -7.3981, 0.88568, 0.03031, 0.12509, 1.4615, 1},  // 36
    {"ITRF2008", "ETRS89", "Nord Stream 2", 26, 17, 0.81244, 0.7854, -0.62483, -0.027196, 0.016411, 0.026245, -0.01362, 1},  // 37
    {"WGS 84", "ONGC", "India", 26, 14, -280.0, -720.0, -231.9, 0.0, 0.0, -0.814, 0.38, 0},  // 38
    {"WGS 84", "NHO", "India", 26, 36, -295.02, -677.01, -219.04, 0.0, 0.0, 0.0, 0.0, 0},  // 39
    {"WGS 84", "NHO (New)", "India", 26, 36, -295.0, -736.0, -257.0, 0.0, 0.0, 0.0, 0.0, 0},  // 40
    {"WGS 84", "E.D. 50", "Norway South 62", 26, 20, 90.365, 101.13, 123.384, -0.333, -0.077, -0.894, -1.994, 0},  // 41
    {"WGS 84", "E.D. 50", "Norway North 62", 26, 20, 116.641, 56.931, 110.559, -0.893, -0.921, 0.917, 3.52, 0},  // 42
    {"WGS 84", "Indian 1975", "Thailand - Bongkot", 26, 14, -204.64, -834.74, -293.8, 0.0, 0.0, 0.0, 0.0, 0},  // 43
    {"WGS 84", "Carthage", "DMA-Tunisia", 26, 11, 263.0, -6.0, -431.0, 0.0, 0.0, 0.0, 0.0, 0},  // 44
    {"WGS 84", "Carthage", "ELF-Tunisia", 26, 11, 260.1, -5.5, -432.2, 0.0, 0.0, 0.0, 0.0, 0},  // 45
    {"WGS 84", "Sol-Isr", "Israel", 26, 17, 48.0, -55.0, -52.0, 0.0, 0.0, 0.0, 0.0, 0},  // 46
    {"WGS 84", "Gauss Boaga West", "Italy", 26, 20, 237.2, 57.7, -19.4, 0.0, 0.0, 0.0, 0.0, 0},  // 47
    {"WGS 84", "Adibjan 1987", "Cote d'Ivoire", 26, 11, 124.76, -53.0, -466.79, 0.0, 0.0, 0.0, 0.0, 0},  // 48
    {"WGS 84", "Accra", "Ghana", 26, 25, 199.0, -32.0, -322.0, 0.0, 0.0, 0.0, 0.0, 0},  // 49
    {"WGS 84", "Pulkovo 1942", "Eastern Europe", 26, 21, -686.1, 123.5, 574.4, -8.045, 23.366, -10.791, 2.926, 0},  // 50
    {"WGS 84", "Potsdam", "Germany", 26, 3, -599.4, -72.4, -419.2, 0.062, 0.022, 2.723, 6.46, 0},  // 51
    {"WGS 84", "Pointe-Noire", "Congo 1960", 26, 10, 178.3, 316.7, 131.5, -5.278, -6.077, -10.979, -19.166, 0},  // 52
    {"WGS 84", "MHAST (Monongo 1987)", "Cabinda", 26, 20, 254.1, 5.5, 100.3, 0.0, 0.0, 0.0, 0.0, 0},  // 53
    {"WGS 84", "Camacupa Vumbatumba", "Cabinda", 26, 12, 50.9, 347.6, 231.0, 0.0, 0.0, 0.0, 0.0, 0},  // 54
}};
// clang-format on

// Own spheroid WGS84, target International, Position Vector.
// clang-format off
constexpr std::array<HelmertEntry, 3> kNorwegianShiftEntries = {{
    {"WGS 84", "E.D. 50", "Statens Kartwerk", 26, 20, 82.981, 99.719, 110.709, 0.10470001565105842, -0.031001600378948148, -0.08040202147514297, 0.3143, 0},  // 0
    {"WGS 84", "E.D. 50", "Norway South 62", 26, 20, 90.365, 101.13, 123.384, -0.333, -0.077, -0.894, -1.994, 0},  // 1
    {"WGS 84", "E.D. 50", "Norway North 62", 26, 20, 116.641, 56.931, 110.559, -0.893, -0.921, 0.917, 3.52, 0},  // 2
}};
// clang-format on

// clang-format off
constexpr std::array<HelmertEntry, 8> kOtherShiftEntries = {{
    {"E.D. 50", "RD", "Dutch", 20, 3, -654.54, -143.71, -588.94, -0.4094, 0.3597, -1.7125, -2.8772, 1},  // 0
    {"E.D. 87", "LU(HAY)", "Luxembourg", 20, 20, 0.502, -0.147, 0.515, -2.905217, -7.215093, 5.252694, 0.0, 0},  // 1
    {"Spain ED50", "Medgaz ED50", "Spainish Landfall", 20, 20, -26.248, 7.015, -26.052, 0.0, 0.0, 0.0, 0.0, 0},  // 2
    {"Nord Sahara", "Medgaz ED50", "Algerian Landfall", 11, 20, -42.512, 38.454, 450.168, 0.0, 0.0, 0.0, 0.0, 0},  // 3
    {"Moudi", "WGS72", "Cameroon", 10, 35, -56.7, -171.8, -40.6, 0.0, 0.0, 0.0, 0.0, 0},  // 4
    {"ED87", "E.D. 50", "South of Lat 62N", 20, 20, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0},  // 5
    {"ED87", "E.D. 50", "North of Lat 65N", 20, 20, 1.51, 0.84, 3.5, 0.3904592782258739, 0.14170392189179892, 0.5701159244671503, -0.609, 0},  // 6
    {"MHAST (MALONGO 1987", "CAMAXUPA VUMBA TUMBA", "Cabinda", 20, 12, -203.2, 342.2, 130.7, 0.0, 0.0, 0.0, 0.0, 0},  // 7
}};
// clang-format on

constexpr std::array<NadconEntry, 6> kNadconEntries = {{
    {"NAD27", "NAD83", 7, 17},
    {"NAD83", "NAD27", 17, 7},
    {"NAD83", "HPGN", 17, 17},
    {"HPGN", "NAD83", 17, 17},
    {"NAD27", "HPGN", 7, 17},
    {"HPGN", "NAD27", 17, 7},
}};

static_assert(static_cast<int>(kWgs84ShiftEntries.size()) == kBuiltInEntryCounts[kWgs84Shifts]);
static_assert(static_cast<int>(kNorwegianShiftEntries.size()) ==
              kBuiltInEntryCounts[kNorwegianShifts]);
static_assert(static_cast<int>(kOtherShiftEntries.size()) == kBuiltInEntryCounts[kOtherShifts]);
static_assert(static_cast<int>(kNadconEntries.size()) == kBuiltInEntryCounts[kNadconShifts]);

// Every spheroid an entry names is a built-in row, so loading it cannot fail.
template <typename Entries>
constexpr bool NamesBuiltInSpheroids(const Entries& entries) {
  for (const auto& entry : entries) {
    for (std::int32_t row : {entry.own_spheroid, entry.target_spheroid}) {
      if (row < 0 || row >= kBuiltInSpheroidCount) return false;
    }
  }
  return true;
}
static_assert(NamesBuiltInSpheroids(kWgs84ShiftEntries));
static_assert(NamesBuiltInSpheroids(kNorwegianShiftEntries));
static_assert(NamesBuiltInSpheroids(kOtherShiftEntries));
static_assert(NamesBuiltInSpheroids(kNadconEntries));

template <typename Table>
constexpr auto Entry(const Table& table, int index) -> decltype(table[0]) {
  return table[static_cast<std::size_t>(index)];
}

}  // namespace

std::string_view ShiftTypeName(int type) {
  return type >= 0 && type < kShiftTypeCount ? Entry(kShiftTypeNames, type) : std::string_view();
}

int BuiltInEntryCount(int type) {
  return type >= 0 && type < kShiftTypeCount ? Entry(kBuiltInEntryCounts, type) : 0;
}

std::string_view RotationMethodName(int method) {
  return method >= 0 && method < kRotationMethodCount ? Entry(kRotationMethodNames, method)
                                                      : std::string_view();
}

std::string_view RotationMethodRemark(int method) {
  return method >= 0 && method < kRotationMethodCount ? Entry(kRotationMethodRemarks, method)
                                                      : std::string_view();
}

std::span<const HelmertEntry> HelmertEntries(int type) {
  switch (type) {
    case kWgs84Shifts:
      return kWgs84ShiftEntries;
    case kNorwegianShifts:
      return kNorwegianShiftEntries;
    case kOtherShifts:
      return kOtherShiftEntries;
    default:
      return {};
  }
}

std::span<const NadconEntry> NadconEntries() {
  return kNadconEntries;
}

}  // namespace orvale
