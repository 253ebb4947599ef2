#include "orvale/dialogs/spheroid_editor.h"

#include <array>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "SPD";

struct Column {
  std::string_view heading;
  int format;
  int width;
};
// The headings as the dialog has always shown them, misspellings included: users
// and their exported sheets know the columns by them.
constexpr std::array<Column, 8> kColumns{{
    {"ESPG\nCode", LVCFMT_RIGHT, 50},
    {"\nName", LVCFMT_LEFT, 180},
    {"\nComment", LVCFMT_LEFT, 140},
    {"Semi\nMajor\nAxis", LVCFMT_RIGHT, 100},
    {"Semi\nMinor\nAxis", LVCFMT_RIGHT, 100},
    {"Inverse\nFlattening", LVCFMT_RIGHT, 110},
    {"\nEcentricity", LVCFMT_RIGHT, 110},
    {"2nd\nEcentricity", LVCFMT_RIGHT, 110},
}};

}  // namespace

CSpheroidEditor::CSpheroidEditor(CWnd* parent, const EditorHost& host)
    : CListEditor(parent, host, "Spheroid Editor", "Spheroid", kBuiltInSpheroidCount) {}

void CSpheroidEditor::AddColumns(CListCtrl& list) {
  for (const Column& column : kColumns)
    list.InsertColumn(list.GetColumnCount(), column.heading, column.format, column.width);
}

void CSpheroidEditor::CollectEntries(std::vector<CatalogueEntry>& entries) {
  int number = 0;
  for (const SpheroidRow& row : BuiltInSpheroids()) {
    entries.push_back({NameWithComment(row.name, row.country), number, -1, number, {}, {}});
    ++number;
  }
  for (const std::string& file : SpheroidRecordFiles()) {
    const std::string title = FileTitle(file);
    CSpheroid spheroid;
    const bool read = ReadSpheroidRecord(spheroid, RecordPath(title, kExtension)).ok;
    entries.push_back({read ? NameWithComment(spheroid.m_Name, spheroid.m_Country) : title,
                       number++, -1, -1, title, std::string(kExtension)});
  }
}

void CSpheroidEditor::WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) {
  CSpheroid spheroid;
  RecordStatus status;
  if (IsFileRecord(entry)) {
    status = ReadSpheroidRecord(spheroid, RecordPath(entry.file_title, kExtension));
  } else if (!spheroid.SetBuiltIn(entry.number)) {
    status = RecordStatus::Refused("no such built-in spheroid");
  }
  const auto set = [&](int column, std::string_view text) {
    static_cast<void>(list.SetItemText(item, column, text));
  };
  if (!status.ok) {
    // The row is written all the same, so the file can be found and removed.
    set(1, entry.file_title);
    set(2, "(" + status.reason + ")");
    return;
  }
  set(0, spheroid.m_EPSGNo == 0 ? std::string("n/a") : std::to_string(spheroid.m_EPSGNo));
  set(1, spheroid.m_Name);
  set(2, spheroid.m_Country);
  set(3, FormatNumber("%.2lf", spheroid.m_SemiMajorAxis / UnitFactor()));
  set(4, FormatNumber("%.2lf", spheroid.m_SemiMinorAxis / UnitFactor()));
  if (spheroid.m_SemiMajorAxis != spheroid.m_SemiMinorAxis) {
    set(5, FormatNumber("%.10lf", spheroid.m_InverseFlattening));
    set(6, FormatNumber("%.10lf", spheroid.m_E2));
    set(7, FormatNumber("%.10lf", spheroid.m_Ep2));
  }
}

}  // namespace orvale
