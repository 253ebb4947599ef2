#pragma once
// One entry per projection type: everything the engine and its hosts know of the type,
// read from this one table by the dispatcher, the catalogue and the command line.
// Adding or fixing a family is its maths source plus its entry here.

#include <span>

#include "orvale/engine/projection/internal/projection_methods.h"
#include "orvale/engine/projection/projection_types.h"

namespace orvale::projection {

// The built-in catalogue rows of a type.
struct CatalogueRows {
  int count;
  // The catalogue index of the type's first user record: `count`, or 0 where the rows
  // are addressed by zone and shadow the records of the same index.
  int first_record_index;
  // Fills row `index` (0 <= index < count) on a record whose row values are cleared;
  // false when the row cannot be built.
  bool (*load)(CProjection& p, int index);
};

struct ProjectionFamily {
  ProjectionTypeInfo info;
  // The maths of each method, by m_Method. A single entry serves every method value
  // (the family tells its variants apart itself, and flags a value it does not have).
  std::span<const ProjectionMaths* const> maths;
  CatalogueRows rows;

  // Null for a method value the type has no computation for.
  const ProjectionMaths* MathsFor(int method) const {
    if (maths.size() == 1) return maths[0];
    if (method < 0 || static_cast<std::size_t>(method) >= maths.size()) return nullptr;
    return maths[static_cast<std::size_t>(method)];
  }
};

// The family of a type; null for a value that is no type.
const ProjectionFamily* FamilyOf(int type);

}  // namespace orvale::projection
