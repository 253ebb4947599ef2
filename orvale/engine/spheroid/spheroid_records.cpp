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
#include <utility>
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

// Each axis the block holds whole is taken, so a file cut short keeps the values it
// could not supply.
void DecodeAxes(std::string_view bytes, CSpheroid& spheroid) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::pair<std::size_t, double*> fields[] = {
      {kSemiMajorAxisOffset, &spheroid.m_SemiMajorAxis},
      {kSemiMinorAxisOffset, &spheroid.m_SemiMinorAxis},
      {kInverseFlatteningOffset, &spheroid.m_InverseFlattening}};
  for (const auto& [offset, value] : fields) {
    if (bytes.size() >= offset + 8) *value = LoadDoubleLe(data + offset);
  }
}

// Why the values of a block are no spheroid; empty when they are one. Of a block cut
// short, each value it holds whole must be a positive number, since Load takes it.
std::string AxesProblem(std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() >= kAxesSize) {
    return SpheroidAxesProblem(LoadDoubleLe(data + kSemiMajorAxisOffset),
                               LoadDoubleLe(data + kSemiMinorAxisOffset),
                               LoadDoubleLe(data + kInverseFlatteningOffset));
  }
  const std::pair<std::size_t, const char*> fields[] = {{kSemiMajorAxisOffset, "a"},
                                                        {kSemiMinorAxisOffset, "b"}};
  for (const auto& [offset, name] : fields) {
    if (bytes.size() < offset + 8) break;
    const double value = LoadDoubleLe(data + offset);
    if (!std::isfinite(value) || !(value > 0.0)) {
      return std::string(name) + " is not a number above 0";
    }
  }
  return {};
}

// What the file holds short of a whole record; empty when it holds all of one.
std::string ShortfallProblem(const RecordContents& contents) {
  if (contents.lines_read < kLineCount) {
    return "ends after " + std::to_string(contents.lines_read) + " of its " +
           std::to_string(kLineCount) + " lines, before a, b and 1/f";
  }
  if (contents.block.size() < kAxesSize) {
    return "ends " + std::to_string(kAxesSize - contents.block.size()) +
           " bytes short of a, b and 1/f";
  }
  return {};
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

RecordListing ListSpheroidRecordFiles() {
  return ListRecordFiles(kExtension);
}

RecordStatus ReadSpheroidRecord(CSpheroid& spheroid, std::string_view path) {
  if (path.empty()) {
    spheroid.SetDefault();
    return RecordStatus::Refused("no file named");
  }
  spheroid.m_FileTitle = FileTitle(path);
  RecordContents record;
  RecordStatus status = ReadRecord(spheroid.m_FileTitle, kExtension, kLineCount, kAxesSize, record);
  if (status.ok && record.bytes_after_block) {
    status = RecordStatus::Refused("goes on after a, b and 1/f, which end a spheroid record");
  }
  if (status.ok) {
    if (std::string problem = AxesProblem(record.block); !problem.empty()) {
      status = RecordStatus::Refused(std::move(problem));
    }
  }
  if (!status.ok) {
    spheroid.SetDefault();
    return status;
  }
  spheroid.m_Name = record.lines[0];
  spheroid.m_Country = record.lines[1];
  DecodeAxes(record.block, spheroid);
  if (spheroid.m_Name.empty() && spheroid.m_Country.empty()) spheroid.m_Name = spheroid.m_FileTitle;
  spheroid.ComputeConstants();
  spheroid.m_EPSGNo = 0;
  if (std::string shortfall = ShortfallProblem(record); !shortfall.empty()) {
    return RecordStatus::Refused(std::move(shortfall));
  }
  return RecordStatus::Read();
}

bool LoadSpheroidRecord(CSpheroid& spheroid, std::string_view path) {
  return ReadSpheroidRecord(spheroid, path).ok;
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
