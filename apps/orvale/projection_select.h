#pragma once
// Picks a projection of the catalogue (built-in rows and the user's record files)
// from the text a user typed after --projection.

#include <functional>
#include <string>
#include <vector>

#include "orvale/engine/projection/projection.h"

namespace orvale::cli {

// Loads `projection`, which already points at its spheroid, from one of:
//   "TYPE/ROW" or "TYPE/ROW/METHOD": TYPE a number 0..14 or a type name (utm, tm, gk,
//       tm-south, tm-usa, mercator, lambert, cassini, azimuthal, stereographic,
//       polyconic, rso, state-plane, norwegian, danish), ROW its catalogue index;
//   "utm:31", "utm:31n" or "utm:31s": a UTM zone north or south of the equator;
//   a name, compared without regard to case: "Ordnance Survey National Grid" (name
//       and country), or the name alone when only one projection has it.
// UTF-8 text. False with the reason in `problem`, leaving `projection` unchanged.
bool SelectProjection(const std::string& text, CProjection& projection, std::string& problem);

// One entry of the catalogue: a built-in row, or a user record file (`file` its name
// in the record folder) numbered after the built-in rows of its type.
struct CatalogueEntry {
  int type = 0;
  int index = 0;
  std::string file;      // empty for a built-in row
  bool readable = true;  // false for a record file that no longer reads since it was listed
};

// Visits the entries of one type (every type when `type` is negative) in catalogue
// order, each loaded into `scratch` (which must point at a spheroid of its own).
// UTM zones are visited north of the equator. Returns the record files that count
// for no type (they cannot be read whole), which have no entry.
std::vector<std::string> VisitCatalogue(
    int type, CProjection& scratch,
    const std::function<void(const CatalogueEntry&, const CProjection&)>& visit);

// A projection type from its number or name; false with the reason otherwise.
bool ProjectionTypeFromText(const std::string& text, int& type, std::string& problem);

}  // namespace orvale::cli
