#include "orvale/engine/datum/internal/datum_sides.h"

#include <cstdint>
#include <string>

namespace orvale {
namespace {

// SetAxes's band of earth ellipsoids (it replaces a 1/f outside it by 297).
constexpr double kLowestInverseFlattening = 290.0;
constexpr double kHighestInverseFlattening = 310.0;

// The definition of a spheroid, taken before either side is overwritten.
struct SpheroidDefinition {
  std::string name;
  std::string country;
  double a;
  double b;
  double rf;
  std::uint32_t epsg;
};

SpheroidDefinition DefinitionOf(const CSpheroid& s) {
  return {s.m_Name,          s.m_Country,           s.m_SemiMajorAxis,
          s.m_SemiMinorAxis, s.m_InverseFlattening, s.m_EPSGNo};
}

void Apply(const SpheroidDefinition& d, CSpheroid& to) {
  to.m_Name = d.name;
  to.m_Country = d.country;
  to.m_EPSGNo = d.epsg;
  if (d.rf >= kLowestInverseFlattening && d.rf <= kHighestInverseFlattening) {
    to.SetAxes(d.a, d.rf);
    return;
  }
  // SetAxes stands 297 in for a flattening outside its band, which suits a value
  // typed by hand but would turn a catalogue sphere (1/f stored as 1) into an
  // ellipsoid on the other side of the datum; a spheroid that is only being moved
  // keeps the axes it has.
  to.m_SemiMajorAxis = d.a;
  to.m_SemiMinorAxis = d.b;
  to.m_InverseFlattening = d.rf;
  to.ComputeConstants();
}

// What a projection carries to the other side.
struct ProjectionKey {
  std::string name;
  std::string country;
  std::int32_t type;
  std::int32_t method;
};

void Reload(CProjection& p, const ProjectionKey& key, const CProjection& fallback) {
  p.m_Name = key.name;
  p.m_Country = key.country;
  p.m_Type = key.type;
  // The method goes with the name: UTM zone names are the same north and south of
  // the equator, and only the method keeps the hemisphere of the zone moved across.
  p.m_Method = key.method;
  if (p.FindByName(key.name, key.country, key.type)) return;
  // A projection the catalogue and the record files do not hold on this spheroid
  // (typed in an editor, or a record file since removed) would be left with a zero
  // origin and k0 1 by the search: it takes the other side's whole definition
  // instead, set up on its own spheroid, so the two sides are truly exchanged.
  CProjection definition = fallback;
  definition.m_Spheroid = nullptr;  // values only: the spheroid stays this side's
  p.Assign(definition);
}

}  // namespace

void CopySpheroidDefinition(const CSpheroid& from, CSpheroid& to) {
  if (&from != &to) Apply(DefinitionOf(from), to);
}

void ExchangeSpheroids(CSpheroid& first, CSpheroid& second) {
  if (&first == &second) return;
  const SpheroidDefinition first_definition = DefinitionOf(first);
  Apply(DefinitionOf(second), first);
  Apply(first_definition, second);
}

void ExchangeProjections(CProjection& first, CProjection& second) {
  if (&first == &second) return;
  const CProjection first_before = first;
  const CProjection second_before = second;
  Reload(first, {second.m_Name, second.m_Country, second.m_Type, second.m_Method}, second_before);
  Reload(second,
         {first_before.m_Name, first_before.m_Country, first_before.m_Type, first_before.m_Method},
         first_before);
}

}  // namespace orvale
