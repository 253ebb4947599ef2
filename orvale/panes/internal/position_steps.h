#pragma once
// The projection steps the panes take on a position record. A projection that has no
// result for the point leaves NaN in what it could not give, which the rows show as no
// result; a null projection does nothing.

#include "orvale/engine/coord.h"
#include "orvale/engine/projection/projection.h"

namespace orvale {

// Easting, northing, convergence and scale factor from the latitude and longitude.
inline void ProjectForward(CProjection* projection, tagCOORD& p) {
  if (projection == nullptr) return;
  static_cast<void>(projection->GeogToGrid(p.latitude, p.longitude, &p.easting, &p.northing,
                                           &p.convergence, &p.scale_factor));
}

// Latitude, longitude, convergence and scale factor from the easting and northing.
inline void ProjectInverse(const CProjection* projection, tagCOORD& p) {
  if (projection == nullptr) return;
  static_cast<void>(projection->GridToGeog(p.easting, p.northing, &p.latitude, &p.longitude,
                                           &p.convergence, &p.scale_factor));
}

}  // namespace orvale
