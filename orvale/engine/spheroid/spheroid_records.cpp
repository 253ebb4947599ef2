// Spheroid record files and the selection settings file.
//
// A record file is the name and the country, each ended by one line feed, then a, b
// and 1/f as three little-endian IEEE doubles. Nothing else is stored: the derived
// constants follow from a and 1/f.

#include "orvale/engine/spheroid/spheroid_records.h"

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/internal/little_endian.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "SPD";
constexpr std::size_t kLineCount = 2;

constexpr std::size_t kSemiMajorAxisOffset = 0;
constexpr std::size_t kSemiMinorAxisOffset = 8;
constexpr std::size_t kInverseFlatteningOffset = 16;
constexpr std::size_t kAxesSize = 24;

std::string EncodeAxes(const CSpheroid& spheroid) {
  std::string bytes;
  AppendDoubleLe(bytes, spheroid.m_SemiMajorAxis);
  AppendDoubleLe(bytes, spheroid.m_SemiMinorAxis);
  AppendDoubleLe(bytes, spheroid.m_InverseFlattening);
  return bytes;
}

// Stores the double at `offset` when the file supplied all of it and it is a
// number; false otherwise, leaving `value` as it was.
[[nodiscard]] bool TakeDouble(std::string_view bytes, std::size_t offset, double& value) {
  if (bytes.size() < offset + 8) return false;
  const double decoded =
      LoadDoubleLe(reinterpret_cast<const unsigned char*>(bytes.data()) + offset);
  if (!std::isfinite(decoded)) return false;
  value = decoded;
  return true;
}

// Each axis the block holds whole is taken, so a file cut short keeps the values it
// could not supply; false unless all three were taken.
[[nodiscard]] bool DecodeAxes(std::string_view bytes, CSpheroid& spheroid) {
  bool complete = TakeDouble(bytes, kSemiMajorAxisOffset, spheroid.m_SemiMajorAxis);
  complete = TakeDouble(bytes, kSemiMinorAxisOffset, spheroid.m_SemiMinorAxis) && complete;
  return TakeDouble(bytes, kInverseFlatteningOffset, spheroid.m_InverseFlattening) && complete;
}

}  // namespace

std::vector<std::string> SpheroidRecordFiles() {
  return RecordFiles(kExtension);
}

bool SaveSpheroidRecord(CSpheroid& spheroid, std::string_view path) {
  spheroid.m_FileTitle = SaveTitle(path, spheroid.m_FileTitle, spheroid.m_Name, spheroid.m_Country);
  return WriteRecord(spheroid.m_FileTitle, kExtension, {spheroid.m_Name, spheroid.m_Country},
                     EncodeAxes(spheroid));
}

bool LoadSpheroidRecord(CSpheroid& spheroid, std::string_view path) {
  if (path.empty()) {
    spheroid.SetDefault();
    return false;
  }
  spheroid.m_FileTitle = FileTitle(path);
  const auto record = ReadRecord(spheroid.m_FileTitle, kExtension, kLineCount, kAxesSize);
  if (!record) {
    spheroid.SetDefault();
    return false;
  }
  spheroid.m_Name = record->lines[0];
  spheroid.m_Country = record->lines[1];
  const bool complete = DecodeAxes(record->block, spheroid);
  if (spheroid.m_Name.empty() && spheroid.m_Country.empty()) spheroid.m_Name = spheroid.m_FileTitle;
  spheroid.ComputeConstants();
  spheroid.m_EPSGNo = 0;
  return complete;
}

void WriteSpheroidSettings(const CSpheroid& spheroid, std::string_view suffix) {
  const std::string topic = suffix.empty() ? "Spheroid" : "Spheroid " + std::string(suffix);
  CConfigFile file;
  if (!file.OpenForWrite(topic)) return;
  file.WriteString("Name", spheroid.m_Name);
  file.WriteString("Country", spheroid.m_Country);
  // The selection is a convenience for the host: a file that cannot be written is
  // skipped without a word.
  static_cast<void>(file.Close());
}

bool CSpheroid::Save(std::string_view path) {
  return SaveSpheroidRecord(*this, path);
}

bool CSpheroid::Load(std::string_view path) {
  return LoadSpheroidRecord(*this, path);
}

void CSpheroid::WriteSettings(std::string_view suffix) const {
  WriteSpheroidSettings(*this, suffix);
}

}  // namespace orvale
