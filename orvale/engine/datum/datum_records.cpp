// Datum record files and the selection settings file.
//
// The blocks are encoded and decoded field by field at their offsets, padding and
// reserved bytes included, so a file read and saved again keeps every byte.

#include "orvale/engine/datum/datum_records.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/internal/little_endian.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

// The spheroids a datum falls back to when its record file cannot be read.
constexpr int kFallbackOwnSpheroid = kDefaultSpheroidIndex;  // WGS84
constexpr int kFallbackTargetSpheroid = 20;                  // International

// One field of a block: where it lies and what it is.
enum class FieldKind { kDouble, kInt32, kByte, kBytes };
struct Field {
  std::size_t offset;
  std::size_t size;
  FieldKind kind;
  void* value;
  const char* name;  // for the reason a value is refused
};

// The blocks a record can fill, in a scratch copy: a file's values reach the datum
// only once every one of them has been checked.
struct Blocks {
  DatumShiftParameters shift;
  double lat_lon_height[3] = {0.0, 0.0, 0.0};
  GridShiftParameters grid;
};

std::vector<Field> ShiftFields(DatumShiftParameters& s) {
  using K = FieldKind;
  return {{0, 8, K::kDouble, &s.m_DX, "dx"},
          {8, 8, K::kDouble, &s.m_DY, "dy"},
          {16, 8, K::kDouble, &s.m_DZ, "dz"},
          {24, 8, K::kDouble, &s.m_RX, "rx"},
          {32, 8, K::kDouble, &s.m_RY, "ry"},
          {40, 8, K::kDouble, &s.m_RZ, "rz"},
          {48, 8, K::kDouble, &s.m_Scale, "scale"},
          {56, 4, K::kInt32, &s.m_RotationMethod, "rotation method"},
          {60, 4, K::kBytes, s.m_Padding1, "padding"},
          {64, 8, K::kDouble, &s.m_DXRate, "dx rate"},
          {72, 8, K::kDouble, &s.m_DYRate, "dy rate"},
          {80, 8, K::kDouble, &s.m_DZRate, "dz rate"},
          {88, 8, K::kDouble, &s.m_RXRate, "rx rate"},
          {96, 8, K::kDouble, &s.m_RYRate, "ry rate"},
          {104, 8, K::kDouble, &s.m_RZRate, "rz rate"},
          {112, 8, K::kDouble, &s.m_ScaleRate, "scale rate"},
          {120, 8, K::kDouble, &s.m_ReferenceEpoch, "reference epoch"},
          {128, 8, K::kDouble, &s.m_Epoch, "epoch"},
          {136, 1, K::kByte, &s.m_TimeDependent, "time-dependent flag"},
          {137, 1, K::kByte, &s.m_UseEpoch, "use-epoch flag"},
          {138, 6, K::kBytes, s.m_Padding2, "padding"}};
}

std::vector<Field> LatLonFields(double (&v)[3]) {
  using K = FieldKind;
  return {{0, 8, K::kDouble, &v[0], "latitude shift"},
          {8, 8, K::kDouble, &v[1], "longitude shift"},
          {16, 8, K::kDouble, &v[2], "height shift"}};
}

std::vector<Field> GridFields(GridShiftParameters& g) {
  using K = FieldKind;
  return {{0, 8, K::kDouble, &g.m_GridE0, "easting offset"},
          {8, 8, K::kDouble, &g.m_GridN0, "northing offset"},
          {16, 8, K::kDouble, &g.m_GridRotation, "rotation"},
          {24, 8, K::kDouble, &g.m_GridScaleE, "easting scale"},
          {32, 8, K::kDouble, &g.m_GridScaleN, "northing scale"},
          {40, 8, K::kDouble, &g.m_GridA, "A"},
          {48, 8, K::kDouble, &g.m_GridB, "B"},
          {56, 8, K::kDouble, &g.m_GridC, "C"},
          {64, 8, K::kDouble, &g.m_GridD, "D"},
          {72, 112, K::kBytes, g.m_Reserved, "reserved bytes"}};
}

std::vector<Field> FieldsOf(DatumRecordKind kind, Blocks& blocks) {
  switch (kind) {
    case DatumRecordKind::kHelmert:
      return ShiftFields(blocks.shift);
    case DatumRecordKind::kLatLonShifts:
      return LatLonFields(blocks.lat_lon_height);
    case DatumRecordKind::kGridShift:
      return GridFields(blocks.grid);
  }
  return {};
}

const char* BlockName(DatumRecordKind kind) {
  switch (kind) {
    case DatumRecordKind::kHelmert:
      return "shift parameters";
    case DatumRecordKind::kLatLonShifts:
      return "latitude, longitude and height shifts";
    case DatumRecordKind::kGridShift:
      return "grid-shift parameters";
  }
  return "";
}

Blocks BlocksOf(const CDatum& datum) {
  Blocks blocks;
  blocks.shift = datum.m_Shift;
  blocks.lat_lon_height[0] = datum.m_DLat;
  blocks.lat_lon_height[1] = datum.m_DLon;
  blocks.lat_lon_height[2] = datum.m_DHeight;
  blocks.grid = datum.m_Grid;
  return blocks;
}

void TakeBlock(const Blocks& blocks, DatumRecordKind kind, CDatum& datum) {
  switch (kind) {
    case DatumRecordKind::kHelmert:
      datum.m_Shift = blocks.shift;
      break;
    case DatumRecordKind::kLatLonShifts:
      datum.m_DLat = blocks.lat_lon_height[0];
      datum.m_DLon = blocks.lat_lon_height[1];
      datum.m_DHeight = blocks.lat_lon_height[2];
      break;
    case DatumRecordKind::kGridShift:
      datum.m_Grid = blocks.grid;
      break;
  }
}

std::string Encode(const std::vector<Field>& fields) {
  std::string bytes;
  for (const Field& f : fields) {
    switch (f.kind) {
      case FieldKind::kDouble:
        AppendDoubleLe(bytes, *static_cast<const double*>(f.value));
        break;
      case FieldKind::kInt32:
        AppendInt32Le(bytes, *static_cast<const std::int32_t*>(f.value));
        break;
      case FieldKind::kByte:
      case FieldKind::kBytes:
        bytes.append(static_cast<const char*>(f.value), f.size);
        break;
    }
  }
  return bytes;
}

// Takes every field the tail holds whole; a field it ends inside, and those after,
// keep their values. Says why a value taken is no parameter; empty when all are.
std::string Decode(std::string_view tail, const std::vector<Field>& fields) {
  const auto* data = reinterpret_cast<const unsigned char*>(tail.data());
  for (const Field& f : fields) {
    if (tail.size() < f.offset + f.size) break;
    const unsigned char* at = data + f.offset;
    switch (f.kind) {
      case FieldKind::kDouble: {
        const double value = LoadDoubleLe(at);
        if (!std::isfinite(value)) return std::string(f.name) + " is not a finite number";
        *static_cast<double*>(f.value) = value;
        break;
      }
      case FieldKind::kInt32: {
        const std::int32_t method = LoadInt32Le(at);
        if (RotationMethodName(method).empty()) {
          return "rotation method " + std::to_string(method) + " is neither 0 nor 1";
        }
        *static_cast<std::int32_t*>(f.value) = method;
        break;
      }
      case FieldKind::kByte:
      case FieldKind::kBytes:
        std::memcpy(f.value, at, f.size);
        break;
    }
  }
  return {};
}

// Why a record read as far as it goes is refused whole; empty when its values can
// be taken.
std::string Problem(const RecordContents& contents, DatumRecordKind kind,
                    std::string_view extension) {
  if (contents.lines_read < kDatumRecordLineCount) {
    return "ends after " + std::to_string(contents.lines_read) + " of its " +
           std::to_string(kDatumRecordLineCount) + " lines, before its " + BlockName(kind);
  }
  if (contents.bytes_after_block) {
    return "goes on after its " + std::string(BlockName(kind)) + ", which end a ." +
           std::string(extension) + " record";
  }
  return {};
}

// The datum of a file that cannot be read: reset, on the fallback spheroids.
void FallBack(CDatum& datum) {
  datum.Reset();
  static_cast<void>(datum.m_Spheroid.SetBuiltIn(kFallbackOwnSpheroid));
  if (datum.m_TargetSpheroid != nullptr) {
    static_cast<void>(datum.m_TargetSpheroid->SetBuiltIn(kFallbackTargetSpheroid));
  }
}

// Reads the record into the datum; the caller finishes with the direction and variant.
// A refused record takes nothing from the file and leaves the fallback spheroids,
// except one whose seven lines were read and whose block ends early: it keeps what it
// holds.
RecordStatus ReadInto(CDatum& datum, DatumRecordKind kind) {
  const std::string_view extension = DatumRecordExtension(kind);
  const std::size_t block_size = DatumRecordBlockSize(kind);
  RecordContents contents;
  RecordStatus status =
      ReadRecord(datum.m_FileTitle, extension, kDatumRecordLineCount, block_size, contents);
  if (!status.ok) {
    FallBack(datum);
    return status;
  }
  std::string problem = Problem(contents, kind, extension);
  Blocks blocks = BlocksOf(datum);
  if (problem.empty()) problem = Decode(contents.block, FieldsOf(kind, blocks));
  if (!problem.empty()) {
    FallBack(datum);
    return RecordStatus::Refused(std::move(problem));
  }

  datum.m_FromName = contents.lines[0];
  datum.m_ToName = contents.lines[1];
  datum.m_ShiftStatus = contents.lines[2];
  // A spheroid neither built in nor a spheroid record is left empty (a = b = 0) by the
  // search, which a shift on it then reports; the file is read all the same.
  static_cast<void>(datum.m_Spheroid.FindByName(contents.lines[3], contents.lines[4]));
  if (datum.m_TargetSpheroid != nullptr) {
    static_cast<void>(datum.m_TargetSpheroid->FindByName(contents.lines[5], contents.lines[6]));
  }
  TakeBlock(blocks, kind, datum);
  if (contents.block.size() < block_size) {
    return RecordStatus::Refused("ends " + std::to_string(block_size - contents.block.size()) +
                                 " bytes short of its " + BlockName(kind));
  }
  return RecordStatus::Read();
}

}  // namespace

std::string_view DatumRecordExtension(DatumRecordKind kind) {
  switch (kind) {
    case DatumRecordKind::kHelmert:
      return "DMF";
    case DatumRecordKind::kLatLonShifts:
      return "GSF";
    case DatumRecordKind::kGridShift:
      return "GRD";
  }
  return {};
}

std::size_t DatumRecordBlockSize(DatumRecordKind kind) {
  switch (kind) {
    case DatumRecordKind::kHelmert:
      return kShiftParameterBytes;
    case DatumRecordKind::kLatLonShifts:
      return kLatLonShiftBytes;
    case DatumRecordKind::kGridShift:
      return kGridShiftBytes;
  }
  return 0;
}

std::optional<DatumRecordKind> DatumRecordKindOfType(int type) {
  switch (type) {
    case kUserDefinedShifts:
      return DatumRecordKind::kHelmert;
    case kLatLonShifts:
      return DatumRecordKind::kLatLonShifts;
    case kGridShifts:
      return DatumRecordKind::kGridShift;
    default:
      return std::nullopt;
  }
}

RecordListing ListDatumRecordFiles(int type) {
  const std::optional<DatumRecordKind> kind = DatumRecordKindOfType(type);
  if (!kind) return {};
  return ListRecordFiles(DatumRecordExtension(*kind));
}

std::vector<std::string> DatumRecordFiles(int type) {
  return ListDatumRecordFiles(type).files;
}

bool SaveDatumRecord(CDatum& datum, std::string_view path) {
  if (!path.empty()) {
    datum.m_FileTitle = FileTitle(path);
  } else if (datum.m_FileTitle.empty() &&
             !(datum.m_FromName.empty() && datum.m_ToName.empty() && datum.m_ShiftStatus.empty())) {
    datum.m_FileTitle = datum.m_FromName + "_" + datum.m_ToName;
    if (!datum.m_ShiftStatus.empty()) datum.m_FileTitle += "_" + datum.m_ShiftStatus;
  }
  std::string_view target_name;  // both lines empty without a target
  std::string_view target_country;
  if (datum.m_TargetSpheroid != nullptr) {
    target_name = datum.m_TargetSpheroid->m_Name;
    target_country = datum.m_TargetSpheroid->m_Country;
  }
  Blocks blocks = BlocksOf(datum);
  return WriteRecord(
      datum.m_FileTitle, DatumRecordExtension(DatumRecordKind::kHelmert),
      {datum.m_FromName, datum.m_ToName, datum.m_ShiftStatus, datum.m_Spheroid.m_Name,
       datum.m_Spheroid.m_Country, target_name, target_country},
      Encode(ShiftFields(blocks.shift)));
}

RecordStatus ReadDatumRecord(CDatum& datum, std::string_view path, DatumRecordKind kind) {
  datum.Reset();
  if (path.empty()) return RecordStatus::Refused("no file named");
  datum.m_FileTitle = FileTitle(path);
  RecordStatus status = ReadInto(datum, kind);
  datum.m_Direction = 1;
  if (datum.m_ShiftStatus.empty()) datum.m_ShiftStatus = datum.m_FileTitle;
  return status;
}

void WriteDatumSettings(const CDatum& datum) {
  datum.m_Spheroid.WriteSettings("(From)");
  datum.m_Projection.WriteSettingsSection("(From)");
  if (datum.m_TargetSpheroid != nullptr) datum.m_TargetSpheroid->WriteSettings();
  if (datum.m_TargetProjection != nullptr) datum.m_TargetProjection->WriteSettingsSection();
  CConfigFile file;
  if (!file.OpenForWrite("Datum")) return;
  file.WriteInt("Type", datum.m_ShiftType);
  file.WriteInt("Direction", datum.m_Direction);
  file.WriteInt("Number", datum.m_Number);
  file.WriteString("File Name", datum.m_FileTitle);
  // The selection is a convenience for the host: a file that cannot be written is
  // skipped without a word, as the spheroid's and projection's are.
  static_cast<void>(file.Close());
}

bool CDatum::Save(std::string_view path) {
  return SaveDatumRecord(*this, path);
}

bool CDatum::Load(std::string_view path, DatumRecordKind kind) {
  return ReadDatumRecord(*this, path, kind).ok;
}

bool CDatum::LoadGridShift(std::string_view path) {
  const bool read = Load(path, DatumRecordKind::kGridShift);
  DeriveGridShift();
  return read;
}

void CDatum::WriteSettings() const {
  WriteDatumSettings(*this);
}

}  // namespace orvale
