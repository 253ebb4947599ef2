#pragma once
// Spheroids and projections set up from one line of text, as the case files in
// tests/data/projections write them, so that a test names its projection in a line:
//
//   spheroid    row=N | a=A rf=RF | a=A b=B
//   projection  type=T method=M lat0= lon0= fe= fn= k0= sp1= sp2= p0=..p16= axis= zone=
//               polar=north|south | polarb=ANGLE | polarc=ANGLE
//   projection  type=T row=R method=M    (built-in row R of type T, on its own spheroid)
//
// Angles are decimal degrees, or D:M:S with a hemisphere letter (52:39:27.2531N);
// fe and fn are in units of `unit` metres. What is not given is 0 (k0 is 1), a key
// given twice takes its last value, and the projection is set up (Initialise, or the
// polar setter named). A word that cannot be read is a test failure.

#include <optional>
#include <string>
#include <string_view>

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale::testing {

// A number written in full ("+1.5", "-2e-3"); nothing for any other text.
std::optional<double> ReadNumber(std::string_view text);

// Radians of decimal degrees, or of D:M:S with an optional hemisphere letter.
std::optional<double> ReadAngle(std::string text);

void SetUpSpheroid(CSpheroid& spheroid, std::string_view text);

// `projection` keeps the spheroid it is attached to.
void SetUpProjection(CProjection& projection, std::string_view text, double unit = 1.0);

}  // namespace orvale::testing
