#pragma once
// The rhumb line as its makers printed it (meridional parts by the series to e^6, the
// meridian arc by A0..A6, the length as the arc over the cosine of the bearing), kept
// to measure it against the exact one (tools/geodesic-profile): it loses up to
// decimetres on lines that run nearly east-west, where the arc and the cosine are both
// nearly 0.

#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

void PrintedRhumbLine(const CSpheroid& spheroid, double* range, double* bearing, double lon_a,
                      double lat_b, double lon_b, double sin_lat_a, double cos_lat_a, double nu_a,
                      double lat_a);

}  // namespace orvale
