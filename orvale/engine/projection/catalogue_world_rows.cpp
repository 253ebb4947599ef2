// Named rows of the catalogue outside the US state-plane systems: national and
// project grids by projection type, with their spheroids, as published.

#include <array>

#include "orvale/engine/projection/internal/catalogue_rows.h"

namespace orvale::catalogue {
namespace {

// "\xB0" is the degree sign (Windows-1252); a letter right after it starts a new
// literal so that it is not read as part of the escape.
// clang-format off
constexpr auto kTransverseMercator = std::to_array<NamedRow>({
    {"Ordnance Survey", "National Grid", kAiry1830, kCallerMethod, 49, -2, 400000, -100000, 0.9996012717},
    {"OSGRS80 Grid", "", kGrs80, kCallerMethod, 49, -2, 400000, -100000, 0.9996012717},
    {"Irish", "National Grid", kAiryModified1849, kCallerMethod, 53.5, -8, 200000, 250000, 1.000035},
    {"Irish", "GPS Grid", kGrs80, kCallerMethod, 53.5, -8, 200000, 250000, 1.000035},
    {"Shell North Sea", "(0\xB0 C.M.)", kInternational, kCallerMethod, 0, 0, 500000, 0, 0.9996},
    {"(0\xB0 C.M.)", "GPS Based", kWgs84, kCallerMethod, 0, 0, 500000, 0, 0.9996},
    {"NAM North Sea", "(5\xB0" "E C.M.)", kInternational, kCallerMethod, 0, 5, 500000, 0, 0.9996},
    {"(5\xB0" "E C.M.)", "GPS Based", kWgs84, kCallerMethod, 0, 5, 500000, 0, 0.9996},
    {"German UTM31", "(3\xB0" "E C.M.)", kInternational, kCallerMethod, 0, 3, 3150000, 0, 0.9996},
    {"German UTM32", "(9\xB0" "E C.M.)", kInternational, kCallerMethod, 0, 9, 3250000, 0, 0.9996},
    {"German UTM33", "(12\xB0" "E C.M.)", kInternational, kCallerMethod, 0, 12, 3350000, 0, 0.9996},
    {"Italy (Zone 1)", "West of 12\xB0" "E", kInternational, kCallerMethod, 0, 9, 1500000, 0, 0.9996},
    {"Italy (Zone 2)", "East of 12\xB0" "E", kInternational, kCallerMethod, 0, 15, 2520000, 0, 0.9996},
    {"Gauss", "Luxemburg", kInternational, kCallerMethod, 49.8333333333, 6.1666666667, 80000, 100000, 1},
    {"Portugal", "", kInternational, kCallerMethod, 39.6666666667, -8.1319055556, 200000, 300000, 1},
    {"Red Belt", "Egyptian", kHelmert1906, kCallerMethod, 30, 31, 615000, 810000, 1},
    {"Blue Belt", "Egyptian", kHelmert1906, kCallerMethod, 30, 35, 300000, 1100000, 1},
    {"Purple Belt", "Egyptian", kHelmert1906, kCallerMethod, 30, 27, 700000, 200000, 1},
    {"Purple Extended", "Egyptian", kHelmert1906, kCallerMethod, 30, 27, 700000, 1200000, 1},
    {"Pulkovo 1942 - Bursa", "GK Zone 9", kKrassowsky1940, kCallerMethod, 0, 51, 500000, 0, 1},
    {"West Belt", "Nigeria", kClarke1880Rgs, kCallerMethod, 4, 4.5, 230738.266, 0, 0.99975},
    {"Mid Belt", "Nigeria", kClarke1880Rgs, kCallerMethod, 4, 8.5, 670553.984, 0, 0.99975},
    {"East Belt", "Nigeria", kClarke1880Rgs, kCallerMethod, 4, 12.5, 1110369.702, 0, 0.99975},
    {"KTM", "Kuwait", kWgs84, kCallerMethod, 0, 48, 500000, 0, 1},
    {"KUDAMS", "Kuwait", kWgs84, kCallerMethod, 0, 48, 500000, -3000000, 1},
    {"TM83", "(SC-42)", kKrassowsky1940, kCallerMethod, 0, 39, 75000000, 0, 1},
    {"Bombay High", "India (ONGC)", kEverest1937Adjustment, kCallerMethod, 0, 69, 500175, 5, 0.9996},
    {"MbPT", "India", kEverest1937Adjustment, kCallerMethod, 18.9655916667, 72.8443166667, 17525, 25000, 0.9996},
    {"North Island", "New Zealand", kInternational, kCallerMethod, -39, 175.5, 274319.5244, 365759.3658, 1},
    {"South Island", "New Zealand", kInternational, kCallerMethod, -44, 171.5, 457199.2073, 457199.2073, 1},
    {"National Grid", "Qatar (QNG)", kInternational, kCallerMethod, 24.45, 51.2166666667, 200000, 300000, 0.99999},
    {"ITM (Old)", "Israel", kGrs80, kCallerMethod, 31.7343936111, 35.2045169444, 219529.584, 626907.39, 1.0000067},
    {"ITM (New)", "Israel", kGrs80, kCallerMethod, 31.7343936111, 35.2045169444, 219529.584, 626907.39, 1.0000067},
    {"PetroBaltic", "Poland", kWgs84, kCallerMethod, 0, 18, 500000, 0, 1},
    {"Abidjan 1987", "Cote d'Ivoire", kClarke1880Rgs, kCallerMethod, 0, -5, 500000, 0, 0.9996},
    {"Accra", "Ghana National Grid", kWarOffice, kCallerMethod, 4.6666666667, -1, 274319.7392, 0, 0.99975},
    {"Accra", "Ghana TM", kWarOffice, kCallerMethod, 0, -1, 500000, 0, 0.9996},
    {"Gauss Kruger 9N", "Eastern Europe", kKrassowsky1940, kCallerMethod, 0, 51, 500000, 0, 1},
    {"Gauss Kruger 9N", "WGS 84", kWgs84, kCallerMethod, 0, 51, 500000, 0, 1},
});

constexpr auto kMercator = std::to_array<NamedRow>({
    {"General", "", kWgs84, 0, 0, 0, 0, 0, 1},
    {"Portugal", "", kWgs84, 0, 33, -20, 0, 0, 1},
    {"Mercator", "Origin Unknown", kBessel1841, 0, 0, 98, 500000, 0, 1},
    {"NZ 168.55", "New Zealnd", kInternational, 1, -41, 168.9166666667, 500000, 10000000, 1},
    {"LP Changi North", "Singapore", kWgs84, 1, 23, 180, 12000000, 0, 1},
});

constexpr auto kLambertNamed = std::to_array<NamedRow>({
    {"Jamaican National Grid", "Jamaica 1969", kClarke1866, 0, 18, -77, 250000, 150000, 1},
    {"Nord Tunisie", "North of 38.5g", kClarke1880Rgs, 0, 36, 9.9, 500000, 300000, 0.999625544},
    {"Sud Tunisie", "South of 38.5g", kClarke1880Rgs, 0, 33.3, 9.9, 500000, 300000, 0.9996258},
    {"Syrian Arab Republic", "", kClarke1880Rgs, 0, 36, 37.35, 300000, 450000, 1},
    {"Iraq Zone", "", kClarke1880Rgs, 0, 32.5, 45, 1500000, 1166200, 0.9987864078},
    {"Puerto Rico", "CS27", kClarke1866, 0, 18.2333333333, -66.4333333333, 152400.3048, 44270.0452, 0.9999939449},
    {"China", "", kNwl10d, 1, 0, 114, 500000, 501138.398, 1, 18, 24},
    {"South Stream", "Black Sea", kWgs84, 1, 43, 34, 0, 0, 1, 30, 50},
});

constexpr auto kCassini = std::to_array<NamedRow>({
    {"Modified Grid", "Qatar", kHelmert1906, kCallerMethod, 25.3823611111, 50.7613888889, 100000, 1100000, 1},
    {"Grid", "Singapore", kEverestModified, kCallerMethod, 1.2876466667, 103.8530022222, 30000, 30000, 1},
});

constexpr auto kAzimuthal = std::to_array<NamedRow>({
    {"Agana Monument 1945", "Guam", kClarke1866, kCallerMethod, 13.4724663528, 144.7487507056, 50000, 50000, 1},
});

constexpr auto kStereographic = std::to_array<NamedRow>({
    {"Levant Oblique", "", kClarke1880, 0, 34.2, 39.15, 0, 0, 0.9995341},
    {"Levant II", "", kClarke1880, 0, 34.2, 39.15, 500000, 100000, 0.9995341},
    {"Amersfoot", "(RD) System", kBessel1841, 0, 52.1561605556, 5.3876388889, 155000, 463000, 0.9999079},
});

constexpr auto kPolyconic = std::to_array<NamedRow>({
    {"Polyconic", "Brazil", kSad1969, kCallerMethod, 0, -54, 5000000, 10000000, 1},
});

// The method of an oblique row is its index (the rectification it uses).
constexpr auto kRso = std::to_array<RsoRow>({
    {{"R.S.O.", "Borneo", kEverest1967Definition, 0, 4, 115, 0, 0, 0.99984},
     {0.8, 0.6, 0, 0, 0, 0}},
    {{"R.S.O.", "Malaysia", kEverestModified, 1, 4, 102.25, 0, 0, 0.99984},
     {-0.6, 0.8, 482802.77986502094, -643737.0398200279, 804671.2997750349, 0}},
    {{"Alaska (Zone 1)", "NAD 27", kClarke1866, 2, 57, -133.6666666667, 0, 0, 0.9999},
     {-0.327015517176, 0.945018968871, 7000000, -1000000, 5000000, -5000000}},
    // NAD 83 defines the zone on GRS 80 (EPSG:26931, Hotine variant A with the same
    // false origin as NAD 27, in metres), so its skew gamma0 is that of GRS 80:
    // sin gamma0 = sin alpha_c / D with alpha_c = atan(-3/4) and D from GRS 80 at 57 N.
    // NAD 27's Clarke 1866 value, 2.6e-6 away, puts points metres off.
    {{"Alaska (Zone 1)", "NAD 83", kGrs80, 3, 57, -133.6666666667, 0, 0, 0.9999},
     {-0.32701295544997844, 0.9450198553299662, 7000000, -1000000, 5000000, -5000000}},
});
// clang-format on

static_assert(kTransverseMercator.size() == kTransverseMercatorRowCount);
static_assert(kMercator.size() == kMercatorRowCount);
static_assert(kLambertNamed.size() == kLambertNamedRowCount);
static_assert(kCassini.size() == kCassiniRowCount);
static_assert(kAzimuthal.size() == kAzimuthalRowCount);
static_assert(kStereographic.size() == kStereographicRowCount);
static_assert(kPolyconic.size() == kPolyconicRowCount);
static_assert(kRso.size() == kRsoRowCount);

}  // namespace

std::span<const NamedRow, kTransverseMercatorRowCount> TransverseMercatorRows() {
  return kTransverseMercator;
}
std::span<const NamedRow, kMercatorRowCount> MercatorRows() {
  return kMercator;
}
std::span<const NamedRow, kLambertNamedRowCount> LambertNamedRows() {
  return kLambertNamed;
}
std::span<const NamedRow, kCassiniRowCount> CassiniRows() {
  return kCassini;
}
std::span<const NamedRow, kAzimuthalRowCount> AzimuthalRows() {
  return kAzimuthal;
}
std::span<const NamedRow, kStereographicRowCount> StereographicRows() {
  return kStereographic;
}
std::span<const NamedRow, kPolyconicRowCount> PolyconicRows() {
  return kPolyconic;
}
std::span<const RsoRow, kRsoRowCount> RsoRows() {
  return kRso;
}

}  // namespace orvale::catalogue
