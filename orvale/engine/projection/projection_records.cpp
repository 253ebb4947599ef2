// Projection record files and the selection settings file.
//
// A record file is four lines, each ended by one line feed (the projection's name and
// country, its spheroid's name and country), then the 64 bytes from m_Type to
// m_StandardParallel2 as little-endian numbers. The parameter block and the derived
// constants are not stored.

#include "orvale/engine/projection/projection_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection_types.h"
#include "orvale/engine/spheroid/spheroid.h"
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

// Bounds of the stored angles. Latitudes (the origin and the standard parallels) lie
// within a quarter turn of the equator. A central meridian may be written east
// positive from 0 to 360 degrees as well as from -180 to 180, so a whole turn either
// way is allowed; beyond that it is no longitude. False eastings and northings are
// bounded by 100 000 km, far beyond any grid on the earth, so that a stray exponent
// is caught.
constexpr double kLatitudeBound = kHalfPi;
constexpr double kLongitudeBound = 2.0 * std::numbers::pi;
constexpr double kFalseOriginBound = 1.0e8;

std::string Shortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string MethodProblem(std::int32_t type, std::int32_t method) {
  const ProjectionTypeInfo* info = FindProjectionType(type);
  if (info == nullptr) return "type " + std::to_string(type) + " is no projection type (0 to 14)";
  // A type without a method list, or with one text for every method, takes any method
  // value the record holds, as its catalogue rows do; still, none is negative.
  const auto count = static_cast<std::int32_t>(info->methods.size());
  const bool listed = count > 0 && !info->one_text_for_every_method;
  if (method < 0 || (listed && method >= count)) {
    return "method " + std::to_string(method) + " is not one of type " + std::to_string(type) +
           "'s methods (0 to " + std::to_string(std::max(count, 1) - 1) + ")";
  }
  return {};
}

// Why a block read whole holds no projection; empty when it holds one.
std::string BlockProblem(const RecordBlock& block) {
  if (std::string problem = MethodProblem(block.type, block.method); !problem.empty()) {
    return problem;
  }
  const struct {
    const char* name;
    double value;
    double bound;
    const char* unit;
  } values[] = {
      {"origin latitude", block.origin_latitude, kLatitudeBound, " rad (90 degrees)"},
      {"central meridian", block.central_meridian, kLongitudeBound, " rad (360 degrees)"},
      {"false easting", block.false_easting, kFalseOriginBound, " m"},
      {"false northing", block.false_northing, kFalseOriginBound, " m"},
      {"first standard parallel", block.standard_parallel1, kLatitudeBound, " rad (90 degrees)"},
      {"second standard parallel", block.standard_parallel2, kLatitudeBound, " rad (90 degrees)"},
  };
  for (const auto& v : values) {
    if (!std::isfinite(v.value)) return std::string(v.name) + " is not a finite number";
    if (std::fabs(v.value) > v.bound) {
      return std::string(v.name) + " " + Shortest(v.value) + " lies beyond " + Shortest(v.bound) +
             v.unit;
    }
  }
  if (!std::isfinite(block.scale_factor) || !(block.scale_factor > 0.0)) {
    return "scale factor " + Shortest(block.scale_factor) + " is not a number above 0";
  }
  return {};
}

// Decodes a block read whole (kBlockSize bytes).
RecordBlock DecodeBlock(std::string_view block_bytes) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(block_bytes.data());
  RecordBlock block;
  block.type = LoadInt32Le(bytes + kTypeOffset);
  block.method = LoadInt32Le(bytes + kMethodOffset);
  block.origin_latitude = LoadDoubleLe(bytes + kOriginLatitudeOffset);
  block.central_meridian = LoadDoubleLe(bytes + kCentralMeridianOffset);
  block.false_easting = LoadDoubleLe(bytes + kFalseEastingOffset);
  block.false_northing = LoadDoubleLe(bytes + kFalseNorthingOffset);
  block.scale_factor = LoadDoubleLe(bytes + kScaleFactorOffset);
  block.standard_parallel1 = LoadDoubleLe(bytes + kStandardParallel1Offset);
  block.standard_parallel2 = LoadDoubleLe(bytes + kStandardParallel2Offset);
  return block;
}

// A spheroid the file names must be one the catalogue or a spheroid record knows:
// a projection on an unknown spheroid would compute on none.
std::string SpheroidProblem(const std::string& name, const std::string& country) {
  if (name.empty() && country.empty()) return {};
  CSpheroid scratch;
  if (scratch.FindByName(name, country)) return {};
  return "its spheroid '" + (country.empty() ? name : name + "' '" + country) +
         "' is neither built in nor a readable spheroid record";
}

std::string ContentsProblem(const RecordContents& contents) {
  if (contents.lines_read < kLineCount) {
    return "ends after " + std::to_string(contents.lines_read) + " of its " +
           std::to_string(kLineCount) + " lines, before its values";
  }
  if (contents.block.size() < kBlockSize) {
    return "ends " + std::to_string(kBlockSize - contents.block.size()) +
           " bytes short of its values";
  }
  if (contents.bytes_after_block) return "goes on after its values, which end a projection record";
  return {};
}

// The one reader behind both ReadRecordFile and ReadRecordType, so that a file counts
// for a type exactly when it can be loaded.
RecordStatus ReadProjectionRecord(std::string_view title, ProjectionRecord& record) {
  RecordContents contents;
  if (RecordStatus status = ReadRecord(title, kExtension, kLineCount, kBlockSize, contents);
      !status.ok) {
    return status;
  }
  std::string problem = ContentsProblem(contents);
  if (problem.empty()) {
    record.block = DecodeBlock(contents.block);
    problem = BlockProblem(record.block);
  }
  if (problem.empty()) problem = SpheroidProblem(contents.lines[2], contents.lines[3]);
  if (!problem.empty()) return RecordStatus::Refused(std::move(problem));
  record.lines = std::move(contents.lines);
  return RecordStatus::Read();
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

RecordListing ListProjectionRecordFiles() {
  return ListRecordFiles(kExtension);
}

ProjectionRecordsByType ListProjectionRecords() {
  ProjectionRecordsByType records;
  for (std::string& file : ProjectionRecordFiles()) {
    ProjectionRecord record;
    RecordStatus status = ReadProjectionRecord(FileTitle(file), record);
    if (!status.ok) {
      records.unreadable.push_back(file);
      records.reasons.push_back(std::move(status.reason));
    } else {
      records.files[static_cast<std::size_t>(record.block.type)].push_back(std::move(file));
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

RecordStatus ReadProjectionRecordFile(CProjection& p, std::string_view path) {
  p.SetParameters(0.0, 0.0, 0.0, 0.0, 1.0);
  if (!path.empty()) p.m_FileTitle = FileTitle(path);
  ProjectionRecord record;
  if (RecordStatus status = ReadProjectionRecord(p.m_FileTitle, record); !status.ok) {
    return status;
  }
  p.m_Name = record.lines[0];
  p.m_Country = record.lines[1];
  const std::string& spheroid_name = record.lines[2];
  const std::string& spheroid_country = record.lines[3];
  // A record saved without a spheroid says nothing about the one attached here; one
  // that names a spheroid names one that was found when the file was read.
  if (p.m_Spheroid != nullptr && (!spheroid_name.empty() || !spheroid_country.empty())) {
    static_cast<void>(p.m_Spheroid->FindByName(spheroid_name, spheroid_country));
  }
  TakeBlock(record.block, p);
  if (p.m_Name.empty() && p.m_Country.empty()) p.m_Name = p.m_FileTitle;
  p.Initialise();
  return RecordStatus::Read();
}

bool LoadProjectionRecord(CProjection& p, std::string_view path) {
  return ReadProjectionRecordFile(p, path).ok;
}

std::int32_t ProjectionRecordType(std::string_view path) {
  ProjectionRecord record;
  return ReadProjectionRecord(FileTitle(path), record).ok ? record.block.type
                                                          : kNoProjectionRecordType;
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
