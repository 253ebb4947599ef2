#pragma once
// The NADCON regions, in the order they are searched: the first region whose grids
// hold a point is the one used, so where two overlap the earlier row wins. A code is
// the file name stem of the region's .las/.los pair.

#include <array>
#include <string_view>

namespace orvale {

struct NadconRegion {
  std::string_view code;         // at most 10 characters
  std::string_view description;  // at most 80 characters
};

// NAD 27 / NAD 83: the conterminous states, Alaska and three Alaskan islands.
inline constexpr std::array<NadconRegion, 5> kNadconRegions = {{
    {"CONUS", "Conterminous U S (lower 48 states)"},
    {"ALASKA", "Alaska, incl. Aleutian Islands"},
    {"STLRNC", "St. Lawrence Is., Old Island Datum within Alaska"},
    {"STGEORGE", "St. George Is., Old Island Datum within Alaska"},
    {"STPAUL", "St. Paul Is., Old Island Datum within Alaska"},
}};

// The HPGN state regions.
inline constexpr std::array<NadconRegion, 46> kHpgnRegions = {{
    {"ALHPGN", "Alabama"},
    {"ARHPGN", "Arkansas"},
    {"AZHPGN", "Arizona"},
    {"CNHPGN", "California (Above 37 degrees latitude)"},
    {"CSHPGN", "California  (Below 37 degrees latitude)"},
    {"COHPGN", "Colorado"},
    {"FLHPGN", "Florida"},
    {"GAHPGN", "Georgia"},
    {"GUHPGN", "Guam"},
    {"HIHPGN", "Hawaii"},
    {"EMHPGN", "Idaho-Montana (East of 113 degrees longitude)"},
    {"WMHPGN", "Idaho-Montana (West of 113 degrees longitude)"},
    {"IAHPGN", "Iowa"},
    {"ILHPGN", "Illinois"},
    {"INHPGN", "Indiana"},
    {"KSHPGN", "Kansas"},
    {"KYHPGN", "Kentucky"},
    {"LAHPGN", "Louisiana"},
    {"MDHPGN", "Maryland - Delaware"},
    {"MEHPGN", "Maine"},
    {"MIHPGN", "Michigan"},
    {"MNHPGN", "Minnesota"},
    {"MSHPGN", "Mississippi"},
    {"MOHPGN", "Missouri"},
    {"NBHPGN", "Nebraska"},
    {"NVHPGN", "Nevada"},
    {"NEHPGN", "New England"},
    {"NJHPGN", "New Jersey"},
    {"NMHPGN", "New Mexico"},
    {"NYHPGN", "New York"},
    {"NDHPGN", "North Dakota"},
    {"OHHPGN", "Ohio"},
    {"OKHPGN", "Oklahoma"},
    {"PVHPGN", "Puerto Rico-Virgin Isands"},
    {"ESHPGN", "Samoa (Eastern Islands)"},
    {"WSHPGN", "Samoa (Western Islands)"},
    {"SDHPGN", "South Dakota"},
    {"TNHPGN", "Tennessee"},
    {"ETHPGN", "Texas (East of 100 degrees longitude)"},
    {"WTHPGN", "Texas (West of 100 degrees longitude)"},
    {"UTHPGN", "Utah"},
    {"VAHPGN", "Virginia"},
    {"WOHPGN", "Washington-Oregon"},
    {"WVHPGN", "West Virginia"},
    {"WIHPGN", "Wisconsin"},
    {"WYHPGN", "Wyoming"},
}};

}  // namespace orvale
