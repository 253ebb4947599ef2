// The spheroid selectors: by name among the built-in rows and the "SPD" record files,
// and by EPSG number among the built-in rows.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

constexpr const char* kSpheroidDescription = "Select Name of the Spheroid";

// "%s %s" of name and country, or the name alone.
std::string DisplayName(std::string_view name, std::string_view country) {
  std::string text(name);
  if (!country.empty()) text.append(" ").append(country);
  return text;
}

std::string DisplayName(const CSpheroid& spheroid) {
  return DisplayName(spheroid.m_Name, spheroid.m_Country);
}

// What tells one selected spheroid from another: a selection that leaves all of it as
// it was is no change for the owner.
auto Identity(const CSpheroid& s) {
  return std::make_tuple(s.m_FileTitle, s.m_Name, s.m_Country, s.m_SemiMajorAxis, s.m_SemiMinorAxis,
                         s.m_InverseFlattening, s.m_EPSGNo);
}

// Loads the first entry `matches` accepts (given its name and display name): built-in
// rows first, then the record files in list order. A record file that cannot be read
// is passed over, so a failed read never reaches the spheroid.
template <typename Matches>
bool LoadFirst(CSpheroid& spheroid, Matches matches) {
  const auto rows = BuiltInSpheroids();
  for (int i = 0; i < kBuiltInSpheroidCount; ++i) {
    const SpheroidRow& row = rows[static_cast<std::size_t>(i)];
    if (matches(row.name, DisplayName(row.name, row.country))) return spheroid.SetBuiltIn(i);
  }
  const std::vector<std::string> files = SpheroidRecordFiles();
  for (std::size_t k = 0; k < files.size(); ++k) {
    CSpheroid record(spheroid);
    if (!record.Load(files[k]) || !matches(record.m_Name, DisplayName(record))) continue;
    spheroid = record;
    spheroid.m_Index = kFirstUserSpheroidIndex + static_cast<std::int32_t>(k);
    return true;
  }
  return false;
}

// The row every WGS84-only selector is fixed to.
void FixToWgs84(CSpheroid& spheroid) {
  static_cast<void>(spheroid.SetBuiltIn(kDefaultSpheroidIndex));
  spheroid.m_DisplayName = DisplayName(spheroid);
}

}  // namespace

CMFCPropertyGridSpheroidNameProperty::CMFCPropertyGridSpheroidNameProperty(std::string label,
                                                                           CSpheroid* spheroid,
                                                                           bool wgs84_only, int id)
    : CMFCPropertyGridProperty(std::move(label), std::string(), kSpheroidDescription, id),
      spheroid_(spheroid),
      wgs84_only_(wgs84_only) {
  AllowEdit(false);
  if (wgs84_only_) {
    FixToWgs84(*spheroid_);
    Enable(false);
  }
  spheroid_->m_DisplayName = DisplayName(*spheroid_);
  SetValue(FormatProperty());
}

void CMFCPropertyGridSpheroidNameProperty::SetSelect(bool select) {
  RemoveAllOptions();
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  for (const SpheroidRow& row : BuiltInSpheroids())
    AddOption(DisplayName(row.name, row.country));
  for (const std::string& file : SpheroidRecordFiles()) {
    CSpheroid record;
    if (record.Load(file)) AddOption(DisplayName(record));
  }
}

std::string CMFCPropertyGridSpheroidNameProperty::FormatProperty() const {
  return DisplayName(*spheroid_);
}

bool CMFCPropertyGridSpheroidNameProperty::OnUpdateValue(std::string_view text) {
  if (GetOptions().empty()) return Refuse("no spheroid can be chosen here");
  if (text.empty()) return Refuse("choose a spheroid from the list");
  const auto before = Identity(*spheroid_);
  // A chosen option names its entry whole; typed text takes the first entry whose name
  // begins with it ("Clarke 1880" finds "Clarke 1880 (Benoit)").
  const bool found =
      LoadFirst(*spheroid_,
                [text](std::string_view, const std::string& display) { return display == text; }) ||
      LoadFirst(*spheroid_, [text](std::string_view name, const std::string&) {
        return name.starts_with(text);
      });
  if (!found) return Refuse("no spheroid is named \"" + std::string(text) + "\"");
  spheroid_->m_DisplayName = DisplayName(*spheroid_);
  SetValue(FormatProperty());
  if (Identity(*spheroid_) != before) NotifyChanged();
  return true;
}

CMFCPropertyGridSpheroidEPSGNoProperty::CMFCPropertyGridSpheroidEPSGNoProperty(CSpheroid* spheroid,
                                                                               bool wgs84_only,
                                                                               int id)
    : CMFCPropertyGridProperty("EPSG Number", std::string(), kSpheroidDescription, id),
      spheroid_(spheroid),
      wgs84_only_(wgs84_only) {
  AllowEdit(false);
  if (wgs84_only_) {
    FixToWgs84(*spheroid_);
    Enable(false);
  }
  SetValue(FormatProperty());
}

void CMFCPropertyGridSpheroidEPSGNoProperty::SetSelect(bool select) {
  RemoveAllOptions();
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  for (const SpheroidRow& row : BuiltInSpheroids())
    AddOption(std::to_string(row.epsg));
}

std::string CMFCPropertyGridSpheroidEPSGNoProperty::FormatProperty() const {
  if (spheroid_->m_EPSGNo == 0) return "n/a";
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(spheroid_->m_EPSGNo));
  return text;
}

bool CMFCPropertyGridSpheroidEPSGNoProperty::OnUpdateValue(std::string_view text) {
  if (GetOptions().empty()) return Refuse("no spheroid can be chosen here");
  std::uint32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number == 0)
    return Refuse("\"" + std::string(text) + "\" is no EPSG number");
  const auto rows = BuiltInSpheroids();
  for (int i = 0; i < kBuiltInSpheroidCount; ++i) {
    if (rows[static_cast<std::size_t>(i)].epsg != number) continue;
    const auto before = Identity(*spheroid_);
    static_cast<void>(spheroid_->SetBuiltIn(i));
    spheroid_->m_DisplayName = DisplayName(*spheroid_);
    SetValue(FormatProperty());
    if (Identity(*spheroid_) != before) NotifyChanged();
    return true;
  }
  return Refuse("no built-in spheroid has the EPSG number " + std::string(text));
}

}  // namespace orvale
