#pragma once
// The position records every computation and pane shares.

namespace orvale {

// A geographical position (x longitude, y latitude, radians) or a grid position
// (x easting, y northing, metres).
struct tagXY {
  double x = 0.0;
  double y = 0.0;
};

// One position in all its forms: metres, radians, unitless. The last double is
// carried with the record and read by no operation.
struct tagCOORD {
  double easting = 0.0;
  double northing = 0.0;
  double longitude = 0.0;
  double latitude = 0.0;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double height = 0.0;
  double convergence = 0.0;
  double scale_factor = 0.0;
  double spare = 0.0;
};

}  // namespace orvale
