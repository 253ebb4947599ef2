#include "orvale/dialogs/datum_shift_editor.h"

#include <array>

#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

// Grid shifts first, then latitude/longitude shifts.
constexpr std::array<int, 2> kFileTypes{kGridShifts, kLatLonShifts};

struct Column {
  std::string_view heading;
  int format;
  int width;
};
constexpr std::array<Column, 13> kColumns{{
    {"From", LVCFMT_LEFT, 140},
    {"To", LVCFMT_LEFT, 140},
    {"Comment", LVCFMT_LEFT, 140},
    {"Origin\nEasting", LVCFMT_RIGHT, 90},
    {"Origin\nNorthing", LVCFMT_RIGHT, 90},
    {"Rotation\n(A)", LVCFMT_RIGHT, 90},
    {"   S.F  \n(B).", LVCFMT_RIGHT, 90},
    {"        \n(C)", LVCFMT_RIGHT, 90},
    {"        \n(D)", LVCFMT_RIGHT, 90},
    {"Shift\nLatitude", LVCFMT_RIGHT, 80},
    {"Shift\nLongitude", LVCFMT_RIGHT, 80},
    {"Shift\nHeight", LVCFMT_RIGHT, 80},
    {"", LVCFMT_LEFT, 20},
}};

DatumRecordKind KindOf(const CatalogueEntry& entry) {
  return entry.group == kGridShifts ? DatumRecordKind::kGridShift : DatumRecordKind::kLatLonShifts;
}

}  // namespace

CDatumShiftEditor::CDatumShiftEditor(CWnd* parent, const EditorHost& host)
    : CListEditor(parent, host, "Datum Shift Editor", "Datum", 0),
      m_Datum(std::make_unique<CDatum>()) {}

CDatumShiftEditor::~CDatumShiftEditor() = default;

void CDatumShiftEditor::AddColumns(CListCtrl& list) {
  for (const Column& column : kColumns)
    list.InsertColumn(list.GetColumnCount(), column.heading, column.format, column.width);
}

bool CDatumShiftEditor::Load(const CatalogueEntry& entry, std::string& problem) {
  const DatumRecordKind kind = KindOf(entry);
  const RecordStatus status =
      ReadDatumRecord(*m_Datum, RecordPath(entry.file_title, entry.extension), kind);
  // A, B, C and D come from the rotation and scales the file holds.
  if (kind == DatumRecordKind::kGridShift) m_Datum->DeriveGridShift();
  problem = status.reason;
  return status.ok;
}

void CDatumShiftEditor::CollectEntries(std::vector<CatalogueEntry>& entries) {
  int number = 0;
  for (int type : kFileTypes) {
    const std::string extension(DatumRecordExtension(*DatumRecordKindOfType(type)));
    for (const std::string& file : DatumRecordFiles(type)) {
      CatalogueEntry entry{{}, number++, type, -1, FileTitle(file), extension};
      std::string problem;
      entry.display_name = Load(entry, problem) ? m_Datum->GetName() : entry.file_title;
      entries.push_back(std::move(entry));
    }
  }
}

void CDatumShiftEditor::WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) {
  const auto set = [&](int column, std::string_view text) {
    static_cast<void>(list.SetItemText(item, column, text));
  };
  std::string problem;
  if (!Load(entry, problem)) return WriteUnreadableRow(list, item, entry, problem);
  const CDatum& datum = *m_Datum;
  set(0, datum.m_FromName);
  set(1, datum.m_ToName);
  set(2, datum.m_ShiftStatus);
  if (entry.group == kGridShifts) {
    const GridShiftParameters& grid = datum.m_Grid;
    set(3, FormatTrimmed("%.3lf", grid.m_GridE0 / UnitFactor()));
    set(4, FormatTrimmed("%.3lf", grid.m_GridN0 / UnitFactor()));
    if (grid.m_GridScaleE == grid.m_GridScaleN) {
      // One scale for both axes: the shift is a rotation and a scale, shown as such.
      set(5, FormatTrimmed("%.7lf", grid.m_GridRotation));
      set(6, FormatTrimmed("%.9lf", grid.m_GridScaleE));
    } else {
      set(5, FormatTrimmed("%.9lf", grid.m_GridA));
      set(6, FormatTrimmed("%.9lf", grid.m_GridB));
      set(7, FormatTrimmed("%.9lf", grid.m_GridC));
      set(8, FormatTrimmed("%.9lf", grid.m_GridD));
    }
  } else {
    set(9, FormatTrimmed("%.4lf", datum.m_DLat));
    set(10, FormatTrimmed("%.4lf", datum.m_DLon));
    set(11, FormatTrimmed("%.3lf", datum.m_DHeight / UnitFactor()));
  }
}

}  // namespace orvale
