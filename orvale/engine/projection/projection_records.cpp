// Projection record files and the selection settings file.
//
// A record file is four lines, each ended by one line feed (the projection's name and
// country, its spheroid's name and country), then the 64 bytes from m_Type to
// m_StandardParallel2 as little-endian numbers. The parameter block and the derived
// constants are not stored.

#include "orvale/engine/projection/projection_records.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvale/storage/config_file.h"
#include "orvale/storage/internal/little_endian.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "PRJ";
constexpr std::size_t kLineCount = 4;

constexpr std::size_t kTypeOffset = 0;
constexpr std::size_t kMethodOffset = 4;
constexpr std::size_t kOriginLatitudeOffset = 8;
constexpr std::size_t kCentralMeridianOffset = 16;
constexpr std::size_t kFalseEastingOffset = 24;
constexpr std::size_t kFalseNorthingOffset = 32;
constexpr std::size_t kScaleFactorOffset = 40;
constexpr std::size_t kStandardParallel1Offset = 48;
constexpr std::size_t kStandardParallel2Offset = 56;
constexpr std::size_t kBlockSize = 64;

struct RecordBlock {
  std::int32_t type = 0;
  std::int32_t method = 0;
  double origin_latitude = 0.0;
  double central_meridian = 0.0;
  double false_easting = 0.0;
  double false_northing = 0.0;
  double scale_factor = 1.0;
  double standard_parallel1 = 0.0;
  double standard_parallel2 = 0.0;
};

// A record file read whole: its four lines and its block.
struct ProjectionRecord {
  std::vector<std::string> lines;
  RecordBlock block;
};

std::string EncodeBlock(const CProjection& p) {
  std::string bytes;
  AppendInt32Le(bytes, p.m_Type);
  AppendInt32Le(bytes, p.m_Method);
  AppendDoubleLe(bytes, p.m_OriginLatitude);
  AppendDoubleLe(bytes, p.m_CentralMeridian);
  AppendDoubleLe(bytes, p.m_FalseEasting);
  AppendDoubleLe(bytes, p.m_FalseNorthing);
  AppendDoubleLe(bytes, p.m_ScaleFactor);
  AppendDoubleLe(bytes, p.m_StandardParallel1);
  AppendDoubleLe(bytes, p.m_StandardParallel2);
  return bytes;
}

// A block from a file that was cut short, names no projection type or holds a value
// that is not a number is no record: false.
[[nodiscard]] bool DecodeBlock(std::string_view block_bytes, RecordBlock& block) {
  if (block_bytes.size() < kBlockSize) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(block_bytes.data());
  block.type = LoadInt32Le(bytes + kTypeOffset);
  block.method = LoadInt32Le(bytes + kMethodOffset);
  block.origin_latitude = LoadDoubleLe(bytes + kOriginLatitudeOffset);
  block.central_meridian = LoadDoubleLe(bytes + kCentralMeridianOffset);
  block.false_easting = LoadDoubleLe(bytes + kFalseEastingOffset);
  block.false_northing = LoadDoubleLe(bytes + kFalseNorthingOffset);
  block.scale_factor = LoadDoubleLe(bytes + kScaleFactorOffset);
  block.standard_parallel1 = LoadDoubleLe(bytes + kStandardParallel1Offset);
  block.standard_parallel2 = LoadDoubleLe(bytes + kStandardParallel2Offset);
  const double values[] = {block.origin_latitude,   block.central_meridian,
                           block.false_easting,     block.false_northing,
                           block.scale_factor,      block.standard_parallel1,
                           block.standard_parallel2};
  for (double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return block.type >= 0 && block.type < kProjectionTypeCount;
}

// The one reader behind both ReadRecordFile and ReadRecordType, so that a file counts
// for a type exactly when it can be loaded.
std::optional<ProjectionRecord> ReadProjectionRecord(std::string_view title) {
  auto contents = ReadRecord(title, kExtension, kLineCount, kBlockSize);
  ProjectionRecord record;
  if (!contents || contents->lines_read < kLineCount ||
      !DecodeBlock(contents->block, record.block)) {
    return std::nullopt;
  }
  record.lines = std::move(contents->lines);
  return record;
}

void TakeBlock(const RecordBlock& block, CProjection& p) {
  p.m_Type = block.type;
  p.m_Method = block.method;
  p.m_OriginLatitude = block.origin_latitude;
  p.m_CentralMeridian = block.central_meridian;
  p.m_FalseEasting = block.false_easting;
  p.m_FalseNorthing = block.false_northing;
  p.m_ScaleFactor = block.scale_factor;
  p.m_StandardParallel1 = block.standard_parallel1;
  p.m_StandardParallel2 = block.standard_parallel2;
}

}  // namespace

std::vector<std::string> ProjectionRecordFiles() {
  return RecordFiles(kExtension);
}

ProjectionRecordsByType ListProjectionRecords() {
  ProjectionRecordsByType records;
  for (std::string& file : ProjectionRecordFiles()) {
    const std::int32_t type = ProjectionRecordType(file);
    if (type < 0 || type >= kProjectionTypeCount) {
      records.unreadable.push_back(std::move(file));
    } else {
      records.files[static_cast<std::size_t>(type)].push_back(std::move(file));
    }
  }
  return records;
}

std::vector<std::string> ProjectionRecordFilesOfType(int type) {
  std::vector<std::string> files;
  for (std::string& file : ProjectionRecordFiles()) {
    if (ProjectionRecordType(file) == type) files.push_back(std::move(file));
  }
  return files;
}

bool SaveProjectionRecord(CProjection& p, std::string_view path) {
  p.m_FileTitle = SaveTitle(path, p.m_FileTitle, p.m_Name, p.m_Country);
  std::string_view spheroid_name;  // both lines empty without a spheroid
  std::string_view spheroid_country;
  if (p.m_Spheroid != nullptr) {
    spheroid_name = p.m_Spheroid->m_Name;
    spheroid_country = p.m_Spheroid->m_Country;
  }
  return WriteRecord(p.m_FileTitle, kExtension,
                     {p.m_Name, p.m_Country, spheroid_name, spheroid_country}, EncodeBlock(p));
}

bool LoadProjectionRecord(CProjection& p, std::string_view path) {
  p.SetParameters(0.0, 0.0, 0.0, 0.0, 1.0);
  if (!path.empty()) p.m_FileTitle = FileTitle(path);
  const auto record = ReadProjectionRecord(p.m_FileTitle);
  if (!record) return false;
  p.m_Name = record->lines[0];
  p.m_Country = record->lines[1];
  const std::string& spheroid_name = record->lines[2];
  const std::string& spheroid_country = record->lines[3];
  // A record saved without a spheroid says nothing about the one attached here. A
  // spheroid the file names but no catalogue knows is left as the failed search leaves
  // it (a = 0), which the projection entries then report.
  if (p.m_Spheroid != nullptr && (!spheroid_name.empty() || !spheroid_country.empty())) {
    static_cast<void>(p.m_Spheroid->FindByName(spheroid_name, spheroid_country));
  }
  TakeBlock(record->block, p);
  if (p.m_Name.empty() && p.m_Country.empty()) p.m_Name = p.m_FileTitle;
  p.Initialise();
  return true;
}

std::int32_t ProjectionRecordType(std::string_view path) {
  const auto record = ReadProjectionRecord(FileTitle(path));
  return record ? record->block.type : kNoProjectionRecordType;
}

void WriteProjectionSettings(const CProjection& p, std::string_view title) {
  const std::string topic = title.empty() ? "Projection" : "Projection " + std::string(title);
  CConfigFile file;
  if (file.OpenForWrite(topic)) {
    file.WriteString("Name", p.m_Name);
    file.WriteString("Country", p.m_Country);
    file.WriteInt("Data Type", p.m_Type);
    file.WriteInt("Method", p.m_Method);
    // The selection is a convenience for the host: a file that cannot be written is
    // skipped without a word, as the spheroid's is.
    static_cast<void>(file.Close());
  }
  if (p.m_Spheroid != nullptr) p.m_Spheroid->WriteSettings(title);
}

bool CProjection::WriteRecordFile(std::string_view path) {
  return SaveProjectionRecord(*this, path);
}

bool CProjection::ReadRecordFile(std::string_view path) {
  return LoadProjectionRecord(*this, path);
}

std::int32_t CProjection::ReadRecordType(std::string_view path) {
  return ProjectionRecordType(path);
}

void CProjection::WriteSettingsSection(std::string_view title) const {
  WriteProjectionSettings(*this, title);
}

}  // namespace orvale
