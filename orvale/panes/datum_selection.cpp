// The datum selectors: the shift type, and the datum among the built-in entries and
// record files of that type.

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/panes/selection_properties.h"

namespace orvale {
namespace {

// A WGS84-only selector offers the shift types up to "Canada NTv2", the others up to
// "Other Shifts"; the record-file types follow when they have an entry to offer.
constexpr int kWgs84OnlyBuiltInTypes = kCanadaNtv2 + 1;
constexpr int kBuiltInTypes = kOtherShifts + 1;

// The spheroids a WGS84-only selector accepts as the target of a record file.
constexpr int kGrs80Row = 17;

bool OnWgs84OrGrs80(const CSpheroid& target) {
  for (int row : {kDefaultSpheroidIndex, kGrs80Row}) {
    CSpheroid built_in;
    if (built_in.SetBuiltIn(row) && target.IsSame(built_in)) return true;
  }
  return false;
}

int EntryCount(int type) {
  return DatumRecordKindOfType(type) ? static_cast<int>(DatumRecordFiles(type).size())
                                     : BuiltInEntryCount(type);
}

// Loads every entry of `type` offered under the WGS84-only rule onto a datum of its own
// (with the bound datum's own spheroid and sense, so that the names read as the bound
// datum's would) and hands each to `visit` until it returns true. Its target is a
// scratch spheroid, so naming entries never touches the bound datum's target. Entries
// that cannot be read are passed over. True when `visit` stopped the walk.
template <typename Visit>
bool ForEachEntry(const CDatum& bound, int type, bool wgs84_only, Visit visit) {
  CSpheroid target;
  CDatum candidate;
  candidate.m_Spheroid = bound.m_Spheroid;
  candidate.m_TargetSpheroid = &target;
  const bool record_files = DatumRecordKindOfType(type).has_value();
  const int count = EntryCount(type);
  for (int number = 0; number < count; ++number) {
    if (!candidate.SetFromCatalogue(type, number, bound.m_Direction)) continue;
    if (record_files && wgs84_only && !OnWgs84OrGrs80(target)) continue;
    if (visit(candidate, number)) return true;
  }
  return false;
}

auto Identity(const CDatum& d) {
  return std::make_tuple(d.m_ShiftType, d.m_Number, d.m_Direction, d.m_FileTitle, d.m_FromName,
                         d.m_ToName, d.m_ShiftStatus);
}

}  // namespace

// Type.

CMFCPropertyGridDatumTypeProperty::CMFCPropertyGridDatumTypeProperty(CDatum* datum, bool wgs84_only,
                                                                     bool fill_now, int id)
    : CMFCPropertyGridProperty("Type", std::string(), "Select the type of Datum", id),
      datum_(datum),
      wgs84_only_(wgs84_only) {
  AllowEdit(false);
  SetValue(FormatProperty());
  if (fill_now) SetSelect(true);
}

void CMFCPropertyGridDatumTypeProperty::SetSelect(bool select) {
  select_ = select;
  RemoveAllOptions();
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  const int built_in = wgs84_only_ ? kWgs84OnlyBuiltInTypes : kBuiltInTypes;
  for (int type = 0; type < built_in; ++type)
    AddOption(std::string(ShiftTypeName(type)));
  const int last = wgs84_only_ ? kLatLonShifts : kGridShifts;
  for (int type = kUserDefinedShifts; type <= last; ++type) {
    const bool any =
        ForEachEntry(*datum_, type, wgs84_only_, [](const CDatum&, int) { return true; });
    if (any) AddOption(std::string(ShiftTypeName(type)));
  }
}

void CMFCPropertyGridDatumTypeProperty::Update() {
  SetSelect(select_);
  Redraw();
}

std::string CMFCPropertyGridDatumTypeProperty::FormatProperty() const {
  return std::string(ShiftTypeName(datum_->m_ShiftType));
}

bool CMFCPropertyGridDatumTypeProperty::OnUpdateValue(std::string_view text) {
  const std::vector<std::string>& options = GetOptions();
  if (options.empty()) return Refuse("the datum type is fixed here");
  if (std::find(options.begin(), options.end(), text) == options.end())
    return Refuse("\"" + std::string(text) + "\" is not a datum type offered here");
  int type = 0;
  while (ShiftTypeName(type) != text)
    ++type;
  CDatum& d = *datum_;
  if (type == d.m_ShiftType) return true;
  // The first entry of the type that the list would offer, loaded for real only once
  // it is known to read.
  int first = -1;
  ForEachEntry(d, type, wgs84_only_, [&first](const CDatum&, int number) {
    first = number;
    return true;
  });
  if (first < 0 || !d.SetFromCatalogue(type, first, d.m_Direction))
    return Refuse("no " + std::string(text) + " datum can be read");
  SetValue(FormatProperty());
  NotifyChanged();
  return true;
}

// Name.

CMFCPropertyGridDatumNameProperty::CMFCPropertyGridDatumNameProperty(CDatum* datum, bool wgs84_only,
                                                                     bool fill_now, int id)
    : CMFCPropertyGridProperty("Name", std::string(), "Select Name of the Datum", id),
      datum_(datum),
      wgs84_only_(wgs84_only) {
  AllowEdit(false);
  SetValue(FormatProperty());
  if (fill_now) SetSelect(true);
}

void CMFCPropertyGridDatumNameProperty::SetSelect(bool select) {
  select_ = select;
  RemoveAllOptions();
  SetValue(FormatProperty());
  if (!select || !IsEnabled()) return;
  ForEachEntry(*datum_, datum_->m_ShiftType, wgs84_only_, [this](CDatum& candidate, int) {
    AddOption(candidate.GetName());
    return false;
  });
}

void CMFCPropertyGridDatumNameProperty::Update() {
  SetSelect(select_);
  Redraw();
}

std::string CMFCPropertyGridDatumNameProperty::FormatProperty() const {
  return datum_->GetName();
}

bool CMFCPropertyGridDatumNameProperty::OnUpdateValue(std::string_view text) {
  const std::vector<std::string>& options = GetOptions();
  if (options.empty()) return Refuse("the datum is fixed here");
  if (std::find(options.begin(), options.end(), text) == options.end())
    return Refuse("\"" + std::string(text) + "\" is not a datum offered here");
  CDatum& d = *datum_;
  int chosen = -1;
  std::string title;
  ForEachEntry(d, d.m_ShiftType, wgs84_only_, [&](CDatum& candidate, int number) {
    if (candidate.GetName() != text) return false;
    chosen = number;
    title = candidate.m_FileTitle;
    return true;
  });
  if (chosen < 0) return Refuse("\"" + std::string(text) + "\" cannot be read");
  // The entry the datum already is: loading it again would only undo what the owner
  // made of it since (a target spheroid picked for "No datum Shift").
  if (chosen == d.m_Number && title == d.m_FileTitle) return true;
  const auto before = Identity(d);
  if (!d.SetFromCatalogue(d.m_ShiftType, chosen, d.m_Direction))
    return Refuse("\"" + std::string(text) + "\" cannot be read");
  SetValue(FormatProperty());
  if (Identity(d) != before) NotifyChanged();
  return true;
}

}  // namespace orvale
