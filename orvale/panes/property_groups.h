#pragma once
// The groups of properties several panes share: a position in all its forms, a
// spheroid, and a projection with every parameter its types use. Builders add the
// sub-items in a fixed order (the update functions address them by index); updaters
// refresh values, names, visibility and editability after the record changed.

#include "orvale/engine/coord.h"
#include "orvale/panes/property_grid.h"

namespace orvale {

class CSpheroid;
class CProjection;

// Position: 0 "Latitude", 1 "Longitude", 2 "Easting", 3 "Northing", 4 "Height", 5 "X",
// 6 "Y", 7 "Z", 8 "Convergence", 9 "Point Scale Factor". Inputs take first_id
// onwards; easting and northing are hidden with hide_grid, X, Y and Z without
// cartesian (and then have identifier 0).
void AddPositionGroup(CMFCPropertyGridProperty* group, const tagCOORD& coord, int first_id,
                      bool hide_grid, bool cartesian);
void UpdatePositionGroup(CMFCPropertyGridProperty* group, const tagCOORD& coord);
void UpdatePositionGeographicalGroup(CMFCPropertyGridProperty* group);  // redraws 0 and 1
void UpdatePositionGridGroup(CMFCPropertyGridProperty* group);          // redraws 2 to 7
void UpdatePositionConvergenceGroup(CMFCPropertyGridProperty* group);   // redraws 8

// Spheroid selection: 0 the EPSG-number selector, 1 the name selector, 2 "Country"
// (shown when the spheroid has one). A selector with identifier 0 only shows.
void AddSelectSpheroidGroup(CMFCPropertyGridProperty* group, CSpheroid* spheroid,
                            bool selector_option, int epsg_id, int name_id, bool select);
// The selection, then 3 "Semi Major Axis", 4 "Semi Minor Axis", 5 "Inverse Flattening",
// 6 "Eccentricity" (e²), 7 "Ecentricity" (e), 8 "Epslom" (e'²), all read-only.
void AddSpheroidGroup(CMFCPropertyGridProperty* group, CSpheroid* spheroid, int epsg_id,
                      int name_id, bool select);
void UpdateSpheroidGroup(CMFCPropertyGridProperty* group, const CSpheroid& spheroid);
void UpdateSpheroidGridGroup(CMFCPropertyGridProperty* group);  // redraws 3 and 4

// Projection selection: 0 "Type", 1 "Name" (selectors with select and an identifier,
// else plain text), 2 "Country", 3 the method selector, 4 the stereographic latitude
// origin. `type_option` restricts the lists to the projection's spheroid.
void AddSelectProjectionGroup(CMFCPropertyGridProperty* group, CProjection* projection, int type_id,
                              int name_id, int method_id, int stereo_id, bool select,
                              bool type_option);
// The selection, then the 29 parameter rows 5 to 33 (origin, parallels, false origin,
// scale, the state-plane "L" and "T" constants), read-only.
void AddProjectionGroup(CMFCPropertyGridProperty* group, CProjection* projection, int type_id,
                        int name_id, int method_id, int stereo_id, bool select, bool type_option);
// Shows the rows the projection's type and variant use, with their values. May change
// the projection: a Mercator of variant 0 gets origin latitude 0, a Lambert variant
// above 1 and a stereographic variant above 2 become 0, a polar stereographic without
// parallels becomes north polar. `editable` 1 lets the origin and scale rows be edited
// (the record edit dialog).
void UpdateProjectionGroup(CMFCPropertyGridProperty* group, CProjection& projection, int editable,
                           bool select);
void UpdateProjectionGeographicalGroup(CMFCPropertyGridProperty* group);  // redraws 5-9, 11
void UpdateProjectionGridGroup(CMFCPropertyGridProperty* group);          // redraws 10, 12, 13

}  // namespace orvale
