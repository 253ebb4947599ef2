#include "orvale/dialogs/datum_editor.h"

#include <array>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "DMF";
// The built-in parameter group (55 entries) and the second built-in group (8): 63.
constexpr std::array<int, 2> kBuiltInGroups{kWgs84Shifts, kOtherShifts};
constexpr int kBuiltInDatumCount = 63;

struct Column {
  std::string_view heading;
  int format;
  int width;
};
constexpr std::array<Column, 11> kColumns{{
    {"From", LVCFMT_LEFT, 140},
    {"To", LVCFMT_LEFT, 140},
    {"Comment", LVCFMT_LEFT, 140},
    {"Shift X (dX)", LVCFMT_RIGHT, 80},
    {"Shift Y (dY)", LVCFMT_RIGHT, 80},
    {"Shift Z (dZ)", LVCFMT_RIGHT, 80},
    {"Rotation X (rX)", LVCFMT_RIGHT, 90},
    {"Rotation Y (rY)", LVCFMT_RIGHT, 90},
    {"Rotation Z (rZ)", LVCFMT_RIGHT, 90},
    {"Scale Factor", LVCFMT_RIGHT, 80},
    {"Rotation", LVCFMT_LEFT, 110},
}};

}  // namespace

CDatumEditor::CDatumEditor(CWnd* parent, const EditorHost& host)
    : CListEditor(parent, host, "Datum Editor", "Datum", kBuiltInDatumCount),
      m_Datum(std::make_unique<CDatum>()) {}

CDatumEditor::~CDatumEditor() = default;

void CDatumEditor::AddColumns(CListCtrl& list) {
  for (const Column& column : kColumns)
    list.InsertColumn(list.GetColumnCount(), column.heading, column.format, column.width);
}

bool CDatumEditor::Load(const CatalogueEntry& entry, std::string& problem) {
  if (IsFileRecord(entry)) {
    const RecordStatus status = ReadDatumRecord(*m_Datum, RecordPath(entry.file_title, kExtension),
                                                DatumRecordKind::kHelmert);
    problem = status.reason;
    return status.ok;
  }
  problem = "no such built-in datum";
  return m_Datum->SetFromCatalogue(entry.group, entry.group_index, 1);
}

void CDatumEditor::CollectEntries(std::vector<CatalogueEntry>& entries) {
  int number = 0;
  for (int group : kBuiltInGroups) {
    for (int index = 0; index < BuiltInEntryCount(group); ++index) {
      if (!m_Datum->SetFromCatalogue(group, index, 1)) continue;
      entries.push_back({m_Datum->GetName(), number++, group, index, {}, {}});
    }
  }
  number = kBuiltInDatumCount;
  for (const std::string& file : DatumRecordFiles(kUserDefinedShifts)) {
    CatalogueEntry entry{{}, number++, -1, -1, FileTitle(file), std::string(kExtension)};
    std::string problem;
    entry.display_name = Load(entry, problem) ? m_Datum->GetName() : entry.file_title;
    entries.push_back(std::move(entry));
  }
}

void CDatumEditor::WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) {
  const auto set = [&](int column, std::string_view text) {
    static_cast<void>(list.SetItemText(item, column, text));
  };
  std::string problem;
  if (!Load(entry, problem)) return WriteUnreadableRow(list, item, entry, problem);
  const CDatum& datum = *m_Datum;
  const DatumShiftParameters& shift = datum.m_Shift;
  set(0, datum.m_FromName);
  set(1, datum.m_ToName);
  set(2, datum.m_ShiftStatus);
  set(3, FormatTrimmed("%.3lf", shift.m_DX / UnitFactor()));
  set(4, FormatTrimmed("%.3lf", shift.m_DY / UnitFactor()));
  set(5, FormatTrimmed("%.3lf", shift.m_DZ / UnitFactor()));
  if (shift.m_RX != 0.0 || shift.m_RY != 0.0 || shift.m_RZ != 0.0) {
    set(6, FormatTrimmed("%.5lf", shift.m_RX));
    set(7, FormatTrimmed("%.5lf", shift.m_RY));
    set(8, FormatTrimmed("%.5lf", shift.m_RZ));
    set(10, RotationMethodName(shift.m_RotationMethod));
  }
  if (shift.m_Scale != 0.0) set(9, FormatTrimmed("%.4lf", shift.m_Scale));
}

}  // namespace orvale
