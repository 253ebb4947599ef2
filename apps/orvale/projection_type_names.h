#pragma once
// The names users give projection types on the command line ("tm", "lambert"), with
// the number they stand for and a line of help.

#include <array>

#include "orvale/engine/projection/projection.h"
#include "text_options.h"

namespace orvale::cli {

inline constexpr std::array<NamedValue, kProjectionTypeCount> kProjectionTypeNames = {{
    {"utm", PROJECTION_UTM, "U.T.M (give --zone, and --south below the equator)"},
    {"tm", PROJECTION_TRANSVERSE_MERCATOR, "Transverse Mercator"},
    {"gk", PROJECTION_GAUSS_KRUGER, "Gauss-Kruger TM (Pulkovo 1942)"},
    {"tm-south", PROJECTION_TM_SOUTH_ORIENTATED, "T.M. (South Pole is North)"},
    {"tm-usa", PROJECTION_TM_USA, "T.M. (USA)"},
    {"mercator", PROJECTION_MERCATOR, "Mercator: method 0 equator, 1 standard parallel"},
    {"lambert", PROJECTION_LAMBERT,
     "Lambert Conical: method 0 one parallel, 1 two parallels, 2 two parallels (USA)"},
    {"cassini", PROJECTION_CASSINI_SOLDNER, "Cassini-Soldner"},
    {"azimuthal", PROJECTION_AZIMUTHAL_EQUIDISTANT, "Azimuthal Equidistant"},
    {"stereographic", PROJECTION_STEREOGRAPHIC,
     "Stereographic: method 0 oblique, 1 equatorial, 2 polar"},
    {"polyconic", PROJECTION_POLYCONIC, "Polyconic"},
    {"rso", PROJECTION_RSO,
     "Rectified Skewed Orthomorphic: method 0..3 rectification, --param 0..5"},
    {"state-plane", PROJECTION_STATE_PLANE,
     "State Plane: method 0 TM, 1 Lambert tables, 2 TM tables, 3 RSO (--param)"},
    {"norwegian", PROJECTION_NORWEGIAN, "Norwegian National Grid (--axis 1..8, --zone 31..35)"},
    {"danish", PROJECTION_DANISH,
     "Danish National Grid (--axis 0..2 for the zone, --zone UTM zone)"},
}};

}  // namespace orvale::cli
