// Projection record files ("PRJ") in the Global data folder, and the settings file
// that tells the host which projection is selected.
//
// A record file is four lines, each ended by one line feed (the projection's name and
// country, its spheroid's name and country), then the 64 bytes from m_Type to
// m_StandardParallel2 as little-endian numbers. The parameter block and the derived
// constants are not stored.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/projection/projection.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "PRJ";

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
constexpr int kTextLineCount = 4;

// Returned for a file that cannot be read: it matches no projection type.
constexpr std::int32_t kNoRecordType = 15;

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
bool DecodeBlock(const unsigned char* bytes, std::size_t size, RecordBlock& block) {
  if (size < kBlockSize) return false;
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

// Opens the record file of `title` and reads its four lines; false when the file
// cannot be opened or ends before them.
bool OpenAndReadLines(std::string_view title, CStdioFile& file,
                      std::string (&lines)[kTextLineCount]) {
  if (title.empty() || !file.Open(RecordPath(title, kExtension), FileMode::ReadBinary))
    return false;
  for (std::string& line : lines) {
    if (!file.ReadString(line)) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> ProjectionRecordFiles() {
  return RecordFiles(kExtension);
}

bool CProjection::WriteRecordFile(std::string_view path) {
  if (!path.empty()) m_FileTitle = FileTitle(path);
  if (m_FileTitle.empty() && !m_Name.empty()) {
    m_FileTitle = RecordKey(m_Name, m_Country);
  }
  const std::string spheroid_name = m_Spheroid != nullptr ? m_Spheroid->m_Name : std::string();
  const std::string spheroid_country =
      m_Spheroid != nullptr ? m_Spheroid->m_Country : std::string();
  for (std::string_view line :
       {std::string_view(m_Name), std::string_view(m_Country), std::string_view(spheroid_name),
        std::string_view(spheroid_country)}) {
    if (!IsStorableLine(line)) return false;
  }
  if (!IsUsableFileTitle(m_FileTitle)) return false;
  const std::string bytes = m_Name + "\n" + m_Country + "\n" + spheroid_name + "\n" +
                            spheroid_country + "\n" + EncodeBlock(*this);
  CStdioFile file;
  if (!file.Open(RecordPath(m_FileTitle, kExtension), FileMode::WriteBinary)) return false;
  file.Write(bytes.data(), bytes.size());
  return file.Close();
}

bool CProjection::ReadRecordFile(std::string_view path) {
  SetParameters(0.0, 0.0, 0.0, 0.0, 1.0);
  if (!path.empty()) m_FileTitle = FileTitle(path);
  CStdioFile file;
  std::string lines[kTextLineCount];
  if (!OpenAndReadLines(m_FileTitle, file, lines)) return false;
  unsigned char bytes[kBlockSize] = {};
  RecordBlock block;
  if (!DecodeBlock(bytes, file.Read(bytes, kBlockSize), block)) return false;
  file.Close();

  m_Name = lines[0];
  m_Country = lines[1];
  // A record saved without a spheroid says nothing about the one attached here.
  const bool names_spheroid = !lines[2].empty() || !lines[3].empty();
  if (m_Spheroid != nullptr && names_spheroid) m_Spheroid->FindByName(lines[2], lines[3]);
  m_Type = block.type;
  m_Method = block.method;
  m_OriginLatitude = block.origin_latitude;
  m_CentralMeridian = block.central_meridian;
  m_FalseEasting = block.false_easting;
  m_FalseNorthing = block.false_northing;
  m_ScaleFactor = block.scale_factor;
  m_StandardParallel1 = block.standard_parallel1;
  m_StandardParallel2 = block.standard_parallel2;
  if (m_Name.empty() && m_Country.empty()) m_Name = m_FileTitle;
  Initialise();
  return true;
}

std::int32_t CProjection::ReadRecordType(std::string_view path) {
  CStdioFile file;
  std::string lines[kTextLineCount];
  if (!OpenAndReadLines(FileTitle(path), file, lines)) return kNoRecordType;
  unsigned char bytes[sizeof(std::int32_t)] = {};
  if (file.Read(bytes, sizeof bytes) < sizeof bytes) return kNoRecordType;
  return LoadInt32Le(bytes + kTypeOffset);
}

void CProjection::WriteSettingsSection(std::string_view title) const {
  const std::string topic = title.empty() ? "Projection" : "Projection " + std::string(title);
  CConfigFile file;
  if (file.OpenForWrite(topic)) {
    file.WriteString("Name", m_Name);
    file.WriteString("Country", m_Country);
    file.WriteInt("Data Type", m_Type);
    file.WriteInt("Method", m_Method);
    file.Close();
  }
  if (m_Spheroid != nullptr) m_Spheroid->WriteSettings(title);
}

}  // namespace orvale
