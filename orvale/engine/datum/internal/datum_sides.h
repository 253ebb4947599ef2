#pragma once
// Moving a spheroid or projection definition from one side of a datum to the other:
// the grid-to-grid entry copies the own spheroid to the target, Reverse exchanges them.

#include "orvale/engine/projection/projection.h"
#include "orvale/engine/spheroid/spheroid.h"

namespace orvale {

// Gives `to` the name, country, axes and EPSG number of `from`; file title, index
// and range-and-bearing method stay `to`'s own.
void CopySpheroidDefinition(const CSpheroid& from, CSpheroid& to);

// Exchanges the definitions of two spheroids, as CopySpheroidDefinition each way.
void ExchangeSpheroids(CSpheroid& first, CSpheroid& second);

// Exchanges the name, country, type and method of two projections and reloads each
// from the catalogue or its record files by what it now carries, on its own spheroid.
// A projection that cannot be found that way takes the other's whole definition.
void ExchangeProjections(CProjection& first, CProjection& second);

}  // namespace orvale
