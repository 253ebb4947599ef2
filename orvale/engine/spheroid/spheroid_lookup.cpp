// Look-up in the combined spheroid list: the built-in rows, then the record files of
// the Global folder in list order.

#include "orvale/engine/spheroid/internal/spheroid_lookup.h"

#include <cstddef>
#include <string>
#include <vector>

#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"

namespace orvale {

bool SetSpheroidFromIndex(CSpheroid& spheroid, std::int32_t index) {
  spheroid.m_Index = -1;
  if (spheroid.SetBuiltIn(index)) return true;
  if (index >= kFirstUserSpheroidIndex) {
    const std::vector<std::string> files = SpheroidRecordFiles();
    const auto k = static_cast<std::size_t>(index - kFirstUserSpheroidIndex);
    if (k < files.size() && spheroid.Load(files[k])) {
      spheroid.m_Index = index;
      return true;
    }
  }
  spheroid.SetDefault();
  return false;
}

bool FindSpheroid(CSpheroid& spheroid, std::string_view wanted_name,
                  std::string_view wanted_country) {
  // Copies: the texts may be the spheroid's own, which loading a record overwrites.
  const std::string name(wanted_name);
  const std::string country(wanted_country);
  const auto rows = BuiltInSpheroids();
  for (std::int32_t i = 0; i < kBuiltInSpheroidCount; ++i) {
    const SpheroidRow& row = rows[static_cast<std::size_t>(i)];
    // WGS84 is found whatever country the caller remembered with it.
    if (row.name == name && (i == kDefaultSpheroidIndex || row.country == country)) {
      return spheroid.SetBuiltIn(i);
    }
  }
  // Each file is read into a scratch copy, so a failed search leaves no file title
  // behind for a later Save to overwrite.
  const std::vector<std::string> files = SpheroidRecordFiles();
  for (std::size_t k = 0; k < files.size(); ++k) {
    CSpheroid record(spheroid);
    if (record.Load(files[k]) && record.m_Name == name && record.m_Country == country) {
      spheroid = record;
      spheroid.m_Index = kFirstUserSpheroidIndex + static_cast<std::int32_t>(k);
      return true;
    }
  }
  spheroid.m_Name.clear();
  spheroid.m_Country.clear();
  spheroid.SetAxes(0.0, 0.0);
  spheroid.m_EPSGNo = 0;
  spheroid.m_Index = -1;
  return false;
}

bool CSpheroid::SetFromIndex(std::int32_t index) {
  return SetSpheroidFromIndex(*this, index);
}

bool CSpheroid::FindByName(std::string_view name, std::string_view country) {
  return FindSpheroid(*this, name, country);
}

bool CSpheroid::FindByName() {
  const std::string name = m_Name;
  const std::string country = m_Country;
  if (FindSpheroid(*this, name, country)) return true;
  m_Name = name;
  m_Country = country;
  return false;
}

}  // namespace orvale
