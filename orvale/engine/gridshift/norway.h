#pragma once
// The Norwegian band method between the datum's own and target spheroids: south of
// 62°N the datum's Helmert parameters and a fixed fourth-degree polynomial in latitude
// and longitude, north of 65°N those parameters and a fixed Helmert transformation,
// and between the two a blend of the band edges weighted by latitude. Radians and
// metres throughout.

namespace orvale {

class CDatum;

// 62°N, 65°N and the 3° between them, radians.
inline constexpr double kNorwaySouthEdge = 1.082104136236466;
inline constexpr double kNorwayNorthEdge = 1.1344640137962951;
inline constexpr double kNorwayBandWidth = 0.05235987755982907;

// The polynomial about 55°N 0°E, added (sign +1) or taken off (sign −1): ED87 to ED50
// in the North Sea south of 62°N, shifts of about a metre. Far from its centre the
// terms grow with the fourth power of the distance in degrees.
void NorwegianPolynomial(double& latitude_out, double& longitude_out, int sign, double latitude,
                         double longitude);

// The fixed Helmert transformation, Position Vector, with factor `sign` (+1 or −1):
// ED87 to ED50 north of 65°N for +1, EPSG's ED50 to ED87 (2) for −1. Cartesian metres;
// the outputs may be the inputs.
void NorwegianFixedHelmert(int sign, double x, double y, double z, double& out_x, double& out_y,
                           double& out_z);

// The three bands in `direction` (+1 own to target, −1 back; any negative value is
// back, any other forward), with the datum's own Helmert parameters; the polynomial
// and the fixed Helmert take their sign from the datum's m_Direction, so an entry
// loaded reversed runs them backwards. Without a target spheroid every output is 0.
// South and north are meant for latitudes below 62°N and above 65°N, the blend for
// the band between, edges included; each computes wherever it is called.
void NorwegianSouth(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height);
void NorwegianNorth(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height);
void NorwegianBlend(const CDatum& datum, double& latitude_out, double& longitude_out,
                    double& height_out, int direction, double latitude, double longitude,
                    double height);

}  // namespace orvale
