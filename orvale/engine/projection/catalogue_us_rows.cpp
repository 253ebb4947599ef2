// The US rows of the catalogue: the NAD 83 state-plane zones of the "T.M. (USA)"
// type and of the Lambert type, and the NAD 27 state-plane zones of the State Plane
// type, in catalogue order (a row's index is its address in saved selections), zone
// names with the spellings users know them by.
//
// NAD 83 parameters are those of the published zone definitions (EPSG, checked
// against NGS). Their scale factors are the exact 1 - 1/N of the definitions, each
// written as the double that 1 - 1/N rounds to; IsOneInN below holds every one of
// them to that.

#include <array>

#include "orvale/engine/projection/internal/catalogue_rows.h"

namespace orvale::catalogue {
namespace {

// clang-format off
// Central meridians in degrees west, as the zone lists print them.
constexpr auto kTmUsa = std::to_array<TmUsaRow>({
    {101, "Alabama East", 30.5, 85.8333333333, 200000, 0, 0.99996},  // 1 - 1/25000
    {102, "Alabama West", 30, 87.5, 600000, 0, 0.9999333333333333},  // 1 - 1/15000
    {5002, "Alaska Zone 2", 54, 142, 500000, 0, 0.9999},  // 1 - 1/10000
    {5003, "Alaska Zone 3", 54, 146, 500000, 0, 0.9999},  // 1 - 1/10000
    {5004, "Alaska Zone 4", 54, 150, 500000, 0, 0.9999},  // 1 - 1/10000
    {5005, "Alaska Zone 5", 54, 154, 500000, 0, 0.9999},  // 1 - 1/10000
    {5006, "Alaska Zone 6", 54, 158, 500000, 0, 0.9999},  // 1 - 1/10000
    {5007, "Alaska Zone 7", 54, 162, 500000, 0, 0.9999},  // 1 - 1/10000
    {5008, "Alaska Zone 8", 54, 166, 500000, 0, 0.9999},  // 1 - 1/10000
    {5009, "Alaska Zone 9", 54, 170, 500000, 0, 0.9999},  // 1 - 1/10000
    {201, "Arizona East", 31, 110.1666666667, 213360, 0, 0.9999},  // 1 - 1/10000
    {202, "Arizona Central", 31, 111.9166666667, 213360, 0, 0.9999},  // 1 - 1/10000
    {203, "Arizona West", 31, 113.75, 213360, 0, 0.9999333333333333},  // 1 - 1/15000
    {700, "Delaware", 38, 75.4166666667, 200000, 0, 0.999995},  // 1 - 1/200000
    {901, "Florida East", 24.3333333333, 81, 200000, 0, 0.9999411764705882},  // 1 - 1/17000
    {902, "Florida West", 24.3333333333, 82, 200000, 0, 0.9999411764705882},  // 1 - 1/17000
    {1001, "Georgia East", 30, 82.1666666667, 200000, 0, 0.9999},  // 1 - 1/10000
    {1002, "Georgia West", 30, 84.1666666667, 700000, 0, 0.9999},  // 1 - 1/10000
    {5101, "Hawaii Zone 1", 18.8333333333, 155.5, 500000, 0, 0.9999666666666667},  // 1 - 1/30000
    {5102, "Hawaii Zone 2", 20.3333333333, 156.6666666667, 500000, 0, 0.9999666666666667},  // 1 - 1/30000
    {5103, "Hawaii Zone 3", 21.1666666667, 158, 500000, 0, 0.99999},  // 1 - 1/100000
    {5104, "Hawaii Zone 4", 21.8333333333, 159.5, 500000, 0, 0.99999},  // 1 - 1/100000
    {5105, "Hawaii Zone 5", 21.6666666667, 160.1666666667, 500000, 0, 1.0},  // exact
    {1101, "Idaho East", 41.6666666667, 112.1666666667, 200000, 0, 0.9999473684210526},  // 1 - 1/19000
    {1102, "Idaho Central", 41.6666666667, 114, 500000, 0, 0.9999473684210526},  // 1 - 1/19000
    {1103, "Idaho West", 41.6666666667, 115.75, 800000, 0, 0.9999333333333333},  // 1 - 1/15000
    {1201, "Illinois East", 36.6666666667, 88.3333333333, 300000, 0, 0.999975},  // 1 - 1/40000
    {1202, "Illinois West", 36.6666666667, 90.1666666667, 700000, 0, 0.9999411764705882},  // 1 - 1/17000
    {1301, "Indiana East", 37.5, 85.6666666667, 100000, 250000, 0.9999666666666667},  // 1 - 1/30000
    {1302, "Indiana West", 37.5, 87.0833333333, 900000, 250000, 0.9999666666666667},  // 1 - 1/30000
    {1801, "Maine East", 43.6666666667, 68.5, 300000, 0, 0.9999},  // 1 - 1/10000
    {1802, "Maine West", 42.8333333333, 70.1666666667, 900000, 0, 0.9999666666666667},  // 1 - 1/30000
    {2301, "Mississippi East", 29.5, 88.8333333333, 300000, 0, 0.99995},  // 1 - 1/20000
    {2302, "Mississippi West", 29.5, 90.3333333333, 700000, 0, 0.99995},  // 1 - 1/20000
    {2401, "Missouri East", 35.8333333333, 90.5, 250000, 0, 0.9999333333333333},  // 1 - 1/15000
    {2402, "Missouri Central", 35.8333333333, 92.5, 500000, 0, 0.9999333333333333},  // 1 - 1/15000
    {2403, "Missouri West", 36.1666666667, 94.5, 850000, 0, 0.9999411764705882},  // 1 - 1/17000
    {2701, "Nevada East", 34.75, 115.5833333333, 200000, 8000000, 0.9999},  // 1 - 1/10000
    {2702, "Nevada Central", 34.75, 116.6666666667, 500000, 6000000, 0.9999},  // 1 - 1/10000
    {2703, "Nevada West", 34.75, 118.5833333333, 800000, 4000000, 0.9999},  // 1 - 1/10000
    {2800, "New Hampshire", 42.5, 71.6666666667, 300000, 0, 0.9999666666666667},  // 1 - 1/30000
    {2900, "New Jersey", 38.8333333333, 74.5, 150000, 0, 0.9999},  // 1 - 1/10000
    {3001, "New Mexico East", 31, 104.3333333333, 165000, 0, 0.9999090909090909},  // 1 - 1/11000
    {3002, "New Mexico Central", 31, 106.25, 500000, 0, 0.9999},  // 1 - 1/10000
    {3003, "New Mexico West", 31, 107.8333333333, 830000, 0, 0.9999166666666667},  // 1 - 1/12000
    {3101, "New York East", 38.8333333333, 74.5, 150000, 0, 0.9999},  // 1 - 1/10000
    {3102, "New York Central", 40, 76.5833333333, 250000, 0, 0.9999375},  // 1 - 1/16000
    {3103, "New York West", 40, 78.5833333333, 350000, 0, 0.9999375},  // 1 - 1/16000
    {3800, "Rhode Island", 41.0833333333, 71.5, 100000, 0, 0.99999375},  // 1 - 1/160000
    {4400, "Vermont", 42.5, 72.5, 500000, 0, 0.9999642857142857},  // 1 - 1/28000
    {4901, "Wyoming East", 40.5, 105.1666666667, 200000, 0, 0.9999375},  // 1 - 1/16000
    {4902, "Wyoming East Central", 40.5, 107.3333333333, 400000, 100000, 0.9999375},  // 1 - 1/16000
    {4903, "Wyoming West Central", 40.5, 108.75, 600000, 0, 0.9999375},  // 1 - 1/16000
    {4904, "Wyoming West", 40.5, 110.0833333333, 800000, 100000, 0.9999375},  // 1 - 1/16000
});

// Standard parallels, latitude of false origin, central meridian (east positive),
// false easting and northing.
constexpr auto kLambertUsa = std::to_array<LambertUsaRow>({
    {5010, "Alaska Zone 10", 51.8333333333, 53.8333333333, 51, -176, 1000000, 0},
    {301, "Arkansas North", 34.9333333333, 36.2333333333, 34.3333333333, -92, 400000, 0},
    {302, "Arkansas South", 33.3, 34.7666666667, 32.6666666667, -92, 400000, 400000},
    {401, "California 1", 40, 41.6666666667, 39.3333333333, -122, 2000000, 500000},
    {402, "California 2", 38.3333333333, 39.8333333333, 37.6666666667, -122, 2000000, 500000},
    {403, "California 3", 37.0666666667, 38.4333333333, 36.5, -120.5, 2000000, 500000},
    {404, "California 4", 36, 37.25, 35.3333333333, -119, 2000000, 500000},
    {405, "California 5", 34.0333333333, 35.4666666667, 33.5, -118, 2000000, 500000},
    {406, "California 6", 32.7833333333, 33.8833333333, 32.1666666667, -116.25, 2000000, 500000},
    {501, "Colorado North", 39.7166666667, 40.7833333333, 39.3333333333, -105.5, 914401.8289, 304800.6096},
    {502, "Colorado Central", 38.45, 39.75, 37.8333333333, -105.5, 914401.8289, 304800.6096},
    {503, "Colorado South", 37.2333333333, 38.4333333333, 36.6666666667, -105.5, 914401.8289, 304800.6096},
    {600, "Connecticut", 41.2, 41.8666666667, 40.8333333333, -72.75, 304800.6096, 152400.3048},
    {903, "Florida North", 29.5833333333, 30.75, 29, -84.5, 600000, 0},
    {1401, "Iowa North", 42.0666666667, 43.2666666667, 41.5, -93.5, 1500000, 1000000},
    {1402, "Iowa South", 40.6166666667, 41.7833333333, 40, -93.5, 500000, 0},
    {1501, "Kansas North", 38.7166666667, 39.7833333333, 38.3333333333, -98, 400000, 0},
    {1502, "Kansas South", 37.2666666667, 38.5666666667, 36.6666666667, -98.5, 400000, 400000},
    {1601, "Kentucky North", 37.9666666667, 38.9666666667, 37.5, -84.25, 500000, 0},
    {1602, "Kentucky South", 36.7333333333, 37.9333333333, 36.3333333333, -85.75, 500000, 500000},
    {1701, "Louisiana North", 31.1666666667, 32.6666666667, 30.5, -92.5, 1000000, 0},
    {1702, "Louisiana South", 29.3, 30.7, 28.5, -91.3333333333, 1000000, 0},
    {1703, "Louisiana Offshore", 26.1666666667, 27.8333333333, 25.5, -91.3333333333, 1000000, 0},
    {1900, "Maryland", 38.3, 39.45, 37.6666666667, -77, 400000, 0},
    {2001, "Mass Mainland", 41.7166666667, 42.6833333333, 41, -71.5, 200000, 750000},
    {2002, "Mass Island", 41.2833333333, 41.4833333333, 41, -70.5, 500000, 0},
    {2111, "Michigan North", 45.4833333333, 47.0833333333, 44.7833333333, -87, 8000000, 0},
    {2112, "Michigan Central", 44.1833333333, 45.7, 43.3166666667, -84.3666666667, 6000000, 0},
    {2113, "Michigan South", 42.1, 43.6666666667, 41.5, -84.3666666667, 4000000, 0},
    {2201, "Minnesota North", 47.0333333333, 48.6333333333, 46.5, -93.1, 800000, 100000},
    {2202, "Minnesota Central", 45.6166666667, 47.05, 45, -94.25, 800000, 100000},
    {2203, "Minnesota South", 43.7833333333, 45.2166666667, 43, -94, 800000, 100000},
    {2500, "Montana", 45, 49, 44.25, -109.5, 600000, 0},
    {2600, "Nebraska", 40, 43, 39.8333333333, -100, 500000, 0},
    {3104, "New York Long Island", 40.6666666667, 41.0333333333, 40.1666666667, -74, 300000, 0},
    {3200, "North Carolina", 34.3333333333, 36.1666666667, 33.75, -79, 609601.22, 0},
    {3301, "North Dakota North", 47.4333333333, 48.7333333333, 47, -100.5, 600000, 0},
    {3302, "North Dakota South", 46.1833333333, 47.4833333333, 45.6666666667, -100.5, 600000, 0},
    {3401, "Ohio North", 40.4333333333, 41.7, 39.6666666667, -82.5, 600000, 0},
    {3402, "Ohio South", 38.7333333333, 40.0333333333, 38, -82.5, 600000, 0},
    {3501, "Oklahoma North", 35.5666666667, 36.7666666667, 35, -98, 600000, 0},
    {3502, "Oklahoma South", 33.9333333333, 35.2333333333, 33.3333333333, -98, 600000, 0},
    {3601, "Oregon North", 44.3333333333, 46, 43.6666666667, -120.5, 2500000, 0},
    {3602, "Oregon South", 42.3333333333, 44, 41.6666666667, -120.5, 1500000, 0},
    {3701, "Pennsylvania North", 40.8833333333, 41.95, 40.1666666667, -77.75, 600000, 0},
    {3702, "Pennsylvania South", 39.9333333333, 40.9666666667, 39.3333333333, -77.75, 600000, 0},
    {3900, "South Carolina", 32.5, 34.8333333333, 31.8333333333, -81, 609600, 0},
    {4001, "South Dakota North", 44.4166666667, 45.6833333333, 43.8333333333, -100, 600000, 0},
    {4002, "South Dakota South", 42.8333333333, 44.4, 42.3333333333, -100.3333333333, 600000, 0},
    {4100, "Tennessee", 35.25, 36.4166666667, 34.3333333333, -86, 600000, 0},
    {4201, "Texas North", 34.65, 36.1833333333, 34, -101.5, 200000, 1000000},
    {4202, "Texas North Central", 32.1333333333, 33.9666666667, 31.6666666667, -98.5, 600000, 2000000},
    {4203, "Texas Central", 30.1166666667, 31.8833333333, 29.6666666667, -100.3333333333, 700000, 3000000},
    {4204, "Texas South Central", 28.3833333333, 30.2833333333, 27.8333333333, -99, 600000, 4000000},
    {4205, "Texas South", 26.1666666667, 27.8333333333, 25.6666666667, -98.5, 300000, 5000000},
    {4301, "Utah North", 40.7166666667, 41.7833333333, 40.3333333333, -111.5, 500000, 1000000},
    {4302, "Utah Central", 39.0166666667, 40.65, 38.3333333333, -111.5, 500000, 2000000},
    {4303, "Utah South", 37.2166666667, 38.35, 36.6666666667, -111.5, 500000, 3000000},
    {4501, "Virginia North", 38.0333333333, 39.2, 37.6666666667, -78.5, 3500000, 2000000},
    {4502, "Virginia South", 36.7666666667, 37.9666666667, 36.3333333333, -78.5, 3500000, 1000000},
    {4601, "Washington North", 47.5, 48.7333333333, 47, -120.8333333333, 500000, 0},
    {4602, "Washington South", 45.8333333333, 47.3333333333, 45.3333333333, -120.5, 500000, 0},
    {4701, "West Virginia North", 39, 40.25, 38.5, -79.5, 600000, 0},
    {4702, "West Virginia South", 37.4833333333, 38.8833333333, 37, -81, 600000, 0},
    {4801, "Wisconsin North", 45.5666666667, 46.7666666667, 45.1666666667, -90, 600000, 0},
    {4802, "Wisconsin Central", 44.25, 45.5, 43.8333333333, -90, 600000, 0},
    {4803, "Wisconsin South", 42.7333333333, 44.0666666667, 42, -90, 600000, 0},
    {5200, "Puerto Rico/Virgin I", 18.0333333333, 18.4333333333, 17.8333333333, -66.4333333333, 200000, 200000},
});

// Zone code, name, method, and for the "TM Tables" zones the published latitude of
// origin (degrees): the tables hold it only as a rectifying latitude.
constexpr auto kStatePlane = std::to_array<StatePlaneRow>({
    {101, "Alabama (East)", 2, 30.5},
    {102, "Alabama (West)", 2, 30},
    {5001, "Alaska (Zone 1)", 3, 0},
    {5002, "Alaska (Zone 2)", 0, 0},
    {5003, "Alaska (Zone 3)", 0, 0},
    {5004, "Alaska (Zone 4)", 0, 0},
    {5005, "Alaska (Zone 5)", 0, 0},
    {5006, "Alaska (Zone 6)", 0, 0},
    {5007, "Alaska (Zone 7)", 0, 0},
    {5008, "Alaska (Zone 8)", 0, 0},
    {5009, "Alaska (Zone 9)", 0, 0},
    {5010, "Alaska (Zone 10)", 1, 0},
    {201, "Arizona (East)", 2, 31},
    {202, "Arizona (Central)", 2, 31},
    {203, "Arizona (West)", 2, 31},
    {301, "Arkansas (North)", 1, 0},
    {302, "Arkansas (South)", 1, 0},
    {401, "California I", 1, 0},
    {402, "California II", 1, 0},
    {403, "California III", 1, 0},
    {404, "California IV", 1, 0},
    {405, "California V", 1, 0},
    {406, "California VI", 1, 0},
    {407, "California VII", 1, 0},
    {501, "Colorado (North)", 1, 0},
    {502, "Colorado (Central)", 1, 0},
    {503, "Colorado (South)", 1, 0},
    {600, "Connecticut", 1, 0},
    {700, "Delaware", 2, 38},
    {901, "Florida (East)", 2, 24.3333333333},
    {902, "Florida (West)", 2, 24.3333333333},
    {903, "Florida (North) ", 1, 0},
    {1001, "Georgia (East)", 2, 30},
    {1002, "Georgia (West)", 2, 30},
    {5101, "Hawaii (Zone 1)", 2, 18.8333333333},
    {5102, "Hawaii (Zone 2)", 2, 20.3333333333},
    {5103, "Hawaii (Zone 3)", 2, 21.1666666667},
    {5104, "Hawaii (Zone 4)", 2, 21.8333333333},
    {5105, "Hawaii (Zone 5)", 2, 21.6666666667},
    {1101, "Idaho (East)", 2, 41.6666666667},
    {1102, "Idaho (Central)", 2, 41.6666666667},
    {1103, "Idaho (West)", 2, 41.6666666667},
    {1201, "Illinois (East)", 2, 36.6666666667},
    {1202, "Illinois (West)", 2, 36.6666666667},
    {1301, "Indiana (East)", 2, 37.5},
    {1302, "Indiana (West)", 2, 37.5},
    {1401, "Iowa (North)", 1, 0},
    {1402, "Iowa (South)", 1, 0},
    {1501, "Kansas (North)", 1, 0},
    {1502, "Kansas (South)", 1, 0},
    {1601, "Kentucky (North)", 1, 0},
    {1602, "Kentucky (South)", 1, 0},
    {1701, "Louisiana (North)", 1, 0},
    {1702, "Louisiana (South)", 1, 0},
    {1703, "Louisiana (Offshore)", 1, 0},
    {1801, "Maine (East)", 2, 43.8333333333},
    {1802, "Maine (West)", 2, 42.8333333333},
    {1900, "Maryland", 1, 0},
    {2001, "Massachusetts M'land", 1, 0},
    {2002, "Massachusetts Island", 1, 0},
    {2101, "Michigan (East)", 2, 41.5},
    {2102, "Michigan (Central)", 2, 41.5},
    {2103, "Michigan (West)", 2, 41.5},
    {2111, "Michigan (North)", 1, 0},
    {2112, "Michigan (Central)", 1, 0},
    {2113, "Michigan (South)", 1, 0},
    {2201, "Minnesota (North)", 1, 0},
    {2202, "Minnesota (Central)", 1, 0},
    {2203, "Minnesota (South)", 1, 0},
    {2301, "Mississippi (East)", 2, 29.6666666667},
    {2302, "Mississippi (West)", 2, 30.5},
    {2401, "Missouri (East)", 2, 35.8333333333},
    {2402, "Missouri (Central)", 2, 35.8333333333},
    {2403, "Missouri (West)", 2, 36.1666666667},
    {2501, "Montana (North)", 1, 0},
    {2502, "Montana (Central)", 1, 0},
    {2503, "Montana (South)", 1, 0},
    {2601, "Nebraska (North)", 1, 0},
    {2602, "Nebraska (South)", 1, 0},
    {2701, "Nevada (East)", 2, 34.75},
    {2702, "Nevada (Central)", 2, 34.75},
    {2703, "Nevada (West)", 2, 34.75},
    {2800, "New Hampshire", 2, 42.5},
    {2900, "New Jersey", 2, 38.8333333333},
    {3001, "New Mexico (East)", 2, 31},
    {3002, "New Mexico (Central)", 2, 31},
    {3003, "New Mexico (West)", 2, 31},
    {3101, "New York (East)", 2, 40},
    {3102, "New York (Central)", 2, 40},
    {3103, "New York (West)", 2, 40},
    {3104, "New York Long Island", 1, 0},
    {3200, "North Carolina", 1, 0},
    {3301, "North Dakota (North)", 1, 0},
    {3302, "North Dakota (South)", 1, 0},
    {3401, "Ohio (North)", 1, 0},
    {3402, "Ohio (South)", 1, 0},
    {3501, "Oklahoma (North)", 1, 0},
    {3502, "Oklahoma (South)", 1, 0},
    {3601, "Oregon (North)", 1, 0},
    {3602, "Oregon (South)", 1, 0},
    {3701, "Pennsylvania North", 1, 0},
    {3702, "Pennsylvania South", 1, 0},
    {3800, "Rhode Island", 2, 41.0833333333},
    {3901, "South Carolina North", 1, 0},
    {3902, "South Carolina South", 1, 0},
    {4001, "South Dakota (North)", 1, 0},
    {4002, "South Dakota (South)", 1, 0},
    {4100, "Tennessee", 1, 0},
    {4201, "Texas (North)", 1, 0},
    {4202, "Texas North Central", 1, 0},
    {4203, "Texas (Central)", 1, 0},
    {4204, "Texas South Central", 1, 0},
    {4205, "Texas (South)", 1, 0},
    {4301, "Utah (North)", 1, 0},
    {4302, "Utah (Central)", 1, 0},
    {4303, "Utah (South)", 1, 0},
    {4400, "Vermont", 2, 42.5},
    {4501, "Virginia (North)", 1, 0},
    {4502, "Virginia (South)", 1, 0},
    {4601, "Washington (North)", 1, 0},
    {4602, "Washington (South)", 1, 0},
    {4701, "West Virginia North", 1, 0},
    {4702, "West Virginia South", 1, 0},
    {4801, "Wisconsin (North)", 1, 0},
    {4802, "Wisconsin (Central)", 1, 0},
    {4803, "Wisconsin (South)", 1, 0},
    {4901, "Wyoming (East)", 2, 40.6666666667},
    {4902, "Wyoming East Central", 2, 40.6666666667},
    {4903, "Wyoming West Central", 2, 40.6666666667},
    {4904, "Wyoming (West)", 2, 40.6666666667},
});
// clang-format on

static_assert(kTmUsa.size() == kTmUsaRowCount);
static_assert(kLambertUsa.size() == kLambertUsaRowCount);
static_assert(kStatePlane.size() == kStatePlaneRowCount);

// True when k is the double nearest 1 - 1/N for a whole N (or k = 1): a scale factor
// copied in a rounded form (0.999933333 for 1 - 1/15000) fails the build.
constexpr bool IsOneInN(double k) {
  if (k == 1.0) return true;
  const double n = 1.0 / (1.0 - k);
  const auto whole = static_cast<long long>(n + 0.5);
  return 1.0 - 1.0 / static_cast<double>(whole) == k;
}

constexpr bool AllScaleFactorsAreOneInN() {
  for (const TmUsaRow& row : kTmUsa) {
    if (!IsOneInN(row.scale_factor)) return false;
  }
  return true;
}
static_assert(AllScaleFactorsAreOneInN());
static_assert(IsOneInN(0.9999642857142857) && !IsOneInN(0.999964286));

}  // namespace

std::span<const TmUsaRow, kTmUsaRowCount> TmUsaRows() {
  return kTmUsa;
}
std::span<const LambertUsaRow, kLambertUsaRowCount> LambertUsaRows() {
  return kLambertUsa;
}
std::span<const StatePlaneRow, kStatePlaneRowCount> StatePlaneRows() {
  return kStatePlane;
}

}  // namespace orvale::catalogue
