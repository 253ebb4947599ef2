#include "orvale/dialogs/projection_editor.h"

#include <array>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "PRJ";
constexpr int kFirstGroup = 1;  // Transverse Mercator
constexpr int kLastGroup = 11;  // RSO
constexpr int kBuiltInProjectionCount = 231;
constexpr int kPolarStereographic = 2;  // the third method of the stereographic type

struct Column {
  std::string_view heading;
  int format;
  int width;
};
// "False \nEanging" as the dialog has always shown it: exported sheets are read by it.
constexpr std::array<Column, 11> kColumns{{
    {"\nName", LVCFMT_LEFT, 180},
    {"\nComment", LVCFMT_LEFT, 120},
    {"Spheroid\nName", LVCFMT_LEFT, 150},
    {"\nType", LVCFMT_LEFT, 130},
    {"\nMethod", LVCFMT_LEFT, 130},
    {"Origin Latitude\n1st Standard Parallel", LVCFMT_RIGHT, 130},
    {"2nd Standard\nParallel", LVCFMT_RIGHT, 110},
    {"Origin\nLongitude", LVCFMT_RIGHT, 110},
    {"False \nEanging", LVCFMT_RIGHT, 90},
    {"False\nNorthing", LVCFMT_RIGHT, 90},
    {"Scale\nFactor", LVCFMT_RIGHT, 90},
}};

bool HasTwoStandardParallels(const CProjection& projection) {
  const ProjectionTypeInfo* type = FindProjectionType(projection.m_Type);
  return projection.m_Type == PROJECTION_LAMBERT && type != nullptr &&
         (type->ParametersOf(projection.m_Method) & kUsesStandardParallels) != 0;
}

}  // namespace

CProjectionEditor::CProjectionEditor(CWnd* parent, const EditorHost& host)
    : CListEditor(parent, host, "Projection Editor", "Projection", kBuiltInProjectionCount),
      m_Latitude(GetSavedAngleFormat(ANGLE_LATITUDE)),
      m_Longitude(GetSavedAngleFormat(ANGLE_LONGITUDE)) {}

void CProjectionEditor::ReadDisplaySettings() {
  m_Latitude = GetSavedAngleFormat(ANGLE_LATITUDE);
  m_Longitude = GetSavedAngleFormat(ANGLE_LONGITUDE);
}

void CProjectionEditor::AddColumns(CListCtrl& list) {
  for (const Column& column : kColumns)
    list.InsertColumn(list.GetColumnCount(), column.heading, column.format, column.width);
}

void CProjectionEditor::CollectEntries(std::vector<CatalogueEntry>& entries) {
  CSpheroid spheroid;
  CProjection projection;
  projection.m_Spheroid = &spheroid;
  int number = 0;
  for (int group = kFirstGroup; group <= kLastGroup; ++group) {
    for (int index = 0; projection.SetFromCatalogue(index, group, 0); ++index) {
      entries.push_back({NameWithComment(projection.m_Name, projection.m_Country),
                         number++,
                         group,
                         index,
                         {},
                         {}});
    }
  }
  number = kBuiltInProjectionCount;
  for (const std::string& file : ProjectionRecordFiles()) {
    CatalogueEntry entry{{}, number++, -1, -1, FileTitle(file), std::string(kExtension)};
    const bool read =
        ReadProjectionRecordFile(projection, RecordPath(entry.file_title, kExtension)).ok;
    entry.display_name =
        read ? NameWithComment(projection.m_Name, projection.m_Country) : entry.file_title;
    entries.push_back(std::move(entry));
  }
}

void CProjectionEditor::WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) {
  const auto set = [&](int column, std::string_view text) {
    static_cast<void>(list.SetItemText(item, column, text));
  };
  CSpheroid spheroid;
  CProjection p;
  p.m_Spheroid = &spheroid;
  RecordStatus status;
  if (IsFileRecord(entry)) {
    status = ReadProjectionRecordFile(p, RecordPath(entry.file_title, kExtension));
  } else if (!p.SetFromCatalogue(entry.group_index, entry.group, 0)) {
    status = RecordStatus::Refused("no such built-in projection");
  }
  if (!status.ok) {
    // The row is written all the same, so the file can be found and removed.
    set(0, entry.file_title);
    set(1, "(" + status.reason + ")");
    return;
  }
  const auto latitude = [this](double radians) {
    return FormatAngle(radians, ANGLE_LATITUDE, m_Latitude.notation, m_Latitude.decimals,
                       m_Latitude.quadrant);
  };
  set(0, p.m_Name);
  set(1, p.m_Country);
  set(2, NameWithComment(spheroid.m_Name, spheroid.m_Country));
  set(3, CProjection::TypeText(p.m_Type));
  set(4, CProjection::MethodText(p.m_Type, p.m_Method));
  if (HasTwoStandardParallels(p)) {
    set(5, latitude(p.m_StandardParallel1));
    set(6, latitude(p.m_StandardParallel2));
  } else if (p.m_Type == PROJECTION_STEREOGRAPHIC && p.m_Method == kPolarStereographic &&
             p.m_OriginLatitude == 0.0) {
    // The polar stereographic is defined by its standard parallel, or failing that by
    // the latitude of its false origin, which the record keeps in the second slot.
    set(5, latitude(p.m_StandardParallel1 != 0.0 ? p.m_StandardParallel1 : p.m_StandardParallel2));
  } else {
    set(5, latitude(p.m_OriginLatitude));
  }
  set(7, FormatAngle(p.m_CentralMeridian, ANGLE_LONGITUDE, m_Longitude.notation,
                     m_Longitude.decimals, m_Longitude.quadrant));
  if (p.m_FalseEasting != 0.0) set(8, FormatTrimmed("%15.3lf", p.m_FalseEasting / UnitFactor()));
  if (p.m_FalseNorthing != 0.0) set(9, FormatTrimmed("%15.3lf", p.m_FalseNorthing / UnitFactor()));
  set(10, p.m_ScaleFactor == 1.0 ? std::string("1") : FormatNumber("%.9lf", p.m_ScaleFactor));
}

}  // namespace orvale
