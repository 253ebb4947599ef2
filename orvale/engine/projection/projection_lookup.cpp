// Look-up among the built-in rows and the record files of each projection type. The
// rows come from the catalogue (SetFromCatalogue), the files from projection_records.h,
// in the order ProjectionRecordFilesOfType numbers them.

#include "orvale/engine/projection/internal/projection_lookup.h"

#include <cstddef>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "orvale/engine/projection/projection_records.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

// The Norwegian rows are the UTM zones 31 to 35; a name with another zone is looked
// for in zone 32.
constexpr int kFirstNorwegianZone = 31;
constexpr int kDefaultNorwegianZone = 32;

// MatchSpheroid's answer for a type without a row on the spheroid: UTM zone 31 north.
constexpr int kFallbackUtmZone = 31;

// The zone number written after "Grid Zone " in a zone name; 0 when there is none.
int ZoneInName(const std::string& name) {
  constexpr std::size_t kPrefixLength = 10;
  if (name.size() <= kPrefixLength) return 0;
  const long zone = std::strtol(name.c_str() + kPrefixLength, nullptr, 10);
  if (zone < std::numeric_limits<int>::min() || zone > std::numeric_limits<int>::max()) return -1;
  return static_cast<int>(zone);
}

[[nodiscard]] bool TakeBuiltInRow(CProjection& p, int index, int type, int method) {
  if (!p.SetFromCatalogue(index, type, method)) return false;
  p.m_FileTitle.clear();
  return true;
}

[[nodiscard]] bool FindUtmZone(CProjection& p, const std::string& name) {
  return TakeBuiltInRow(p, ZoneInName(name), PROJECTION_UTM, p.m_Method);
}

// The zone named, on the first axis whose row has the name.
[[nodiscard]] bool FindNorwegianZone(CProjection& p, const std::string& name) {
  const int zone = ZoneInName(name);
  int row = zone >= kFirstNorwegianZone ? zone - kFirstNorwegianZone : -1;
  if (!p.SetFromCatalogue(row, PROJECTION_NORWEGIAN, 0)) {
    row = kDefaultNorwegianZone - kFirstNorwegianZone;
  }
  for (int axis = 0; axis < CProjection::MethodCount(PROJECTION_NORWEGIAN); ++axis) {
    if (TakeBuiltInRow(p, row, PROJECTION_NORWEGIAN, axis) && p.m_Name == name) return true;
  }
  return false;
}

// What FindByName compares a candidate with: its texts, and the spheroid the search
// started with, against the scratch spheroid the candidate was built on.
struct Wanted {
  std::string name;
  std::string country;
  const CSpheroid* spheroid;  // null: any spheroid will do

  bool Names(const CProjection& p) const { return p.m_Name == name && p.m_Country == country; }
  bool OnSpheroid(const CSpheroid& candidate) const {
    return spheroid == nullptr || candidate.IsSame(*spheroid);
  }
};

// The first row with the wanted texts ends the scan: a name and country appear once
// among a type's rows.
[[nodiscard]] bool FindRow(CProjection& p, const Wanted& wanted, int type) {
  const int method = p.m_Method;
  for (int row = 0; p.SetFromCatalogue(row, type, method); ++row) {
    if (!wanted.Names(p)) continue;
    if (!wanted.OnSpheroid(*p.m_Spheroid)) return false;
    p.m_FileTitle.clear();
    return true;
  }
  return false;
}

// The first record file with the wanted texts ends the scan, as a row does.
[[nodiscard]] bool FindRecordFile(CProjection& p, const Wanted& wanted, int type) {
  const std::vector<std::string> files = ProjectionRecordFilesOfType(type);
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (!p.ReadRecordFile(files[k]) || !wanted.Names(p)) continue;
    if (!wanted.OnSpheroid(*p.m_Spheroid)) return false;
    p.m_Index = CProjection::CatalogueRowCount(type) + static_cast<int>(k);
    return true;
  }
  return false;
}

[[nodiscard]] bool FindAmongRowsAndFiles(CProjection& p, const Wanted& wanted, int type) {
  switch (type) {
    case PROJECTION_UTM:
      return FindUtmZone(p, wanted.name);
    case PROJECTION_NORWEGIAN:
      return FindNorwegianZone(p, wanted.name);
    default:
      return FindRow(p, wanted, type) || FindRecordFile(p, wanted, type);
  }
}

}  // namespace

bool SetProjectionFromIndex(CProjection& p, int index, int type, int method) {
  if (TakeBuiltInRow(p, index, type, method)) return true;
  std::string title;
  std::string path;
  if (!FindProjectionUserRecord(index, type, title, path) || !p.ReadRecordFile(path)) {
    return false;
  }
  p.m_Index = index;
  return true;
}

bool FindProjectionUserRecord(int index, int type, std::string& title, std::string& path) {
  const int first = CProjection::CatalogueRowCount(type);
  if (index < first) return false;
  const std::vector<std::string> files = ProjectionRecordFilesOfType(type);
  const auto k = static_cast<std::size_t>(index - first);
  if (k >= files.size()) return false;
  title = FileTitle(files[k]);
  path = RecordFolder() + files[k];
  return true;
}

bool FindProjection(CProjection& p, std::string_view name, std::string_view country, int type) {
  // Copies: the texts may be the record's own, which every candidate overwrites.
  const Wanted wanted{std::string(name), std::string(country), p.m_Spheroid};
  const std::string file_title = p.m_FileTitle;
  // Candidates set their own spheroids; a scratch WGS84 takes them, and the record is
  // set up on its own spheroid again at the end.
  CSpheroid* const own_spheroid = p.m_Spheroid;
  CSpheroid scratch;
  p.m_Spheroid = &scratch;
  const bool found = FindAmongRowsAndFiles(p, wanted, type);
  p.m_Spheroid = own_spheroid;
  if (found) {
    p.Initialise();
    return true;
  }
  p.m_Type = type;
  p.m_Name = wanted.name;
  p.m_Country = wanted.country;
  // The files read on the way must not become the one a later save overwrites.
  p.m_FileTitle = file_title;
  p.SetParameters(0.0, 0.0, 0.0, 0.0, 1.0);
  return false;
}

void MatchProjectionToSpheroid(CProjection& p) {
  if (p.m_Type == PROJECTION_UTM || p.m_Spheroid == nullptr) return;
  const int type = p.m_Type;
  CSpheroid scratch_spheroid;
  CProjection scratch;
  scratch.m_Spheroid = &scratch_spheroid;
  // A row that cannot be built leaves the scratch spheroid at WGS84, the spheroid the
  // projection is then taken to be on.
  static_cast<void>(scratch.SetFromIndex(p.m_Index, type, p.m_Method));
  if (scratch_spheroid.IsSame(*p.m_Spheroid)) return;
  for (int row = 0; scratch.SetFromCatalogue(row, type, 0); ++row) {
    if (scratch_spheroid.IsSame(*p.m_Spheroid) && TakeBuiltInRow(p, row, type, 0)) return;
  }
  static_cast<void>(TakeBuiltInRow(p, kFallbackUtmZone, PROJECTION_UTM, 0));
}

bool CProjection::SetFromIndex(int index, int type, int method) {
  return SetProjectionFromIndex(*this, index, type, method);
}

bool CProjection::FindUserRecord(int index, int type, std::string& title, std::string& path) {
  return FindProjectionUserRecord(index, type, title, path);
}

bool CProjection::FindByName(std::string_view name, std::string_view country, int type) {
  return FindProjection(*this, name, country, type);
}

bool CProjection::FindByName(int type) {
  return FindProjection(*this, m_Name, m_Country, type);
}

void CProjection::MatchSpheroid() {
  MatchProjectionToSpheroid(*this);
}

}  // namespace orvale
