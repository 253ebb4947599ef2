// Spheroid record files ("SPD") in the Global data folder, and the settings file
// that tells the host which spheroid is selected.
//
// A record file is the name and the country, each ended by one line feed, then a, b
// and 1/f as three little-endian IEEE doubles. Nothing else is stored: the derived
// constants follow from a and 1/f.

#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "SPD";

constexpr std::size_t kSemiMajorAxisOffset = 0;
constexpr std::size_t kSemiMinorAxisOffset = 8;
constexpr std::size_t kInverseFlatteningOffset = 16;
constexpr std::size_t kAxesSize = 24;

// Stores the double at `offset` when the file supplied all of it and it is a
// number; false otherwise, leaving `value` as it was.
bool TakeDouble(const unsigned char* bytes, std::size_t read, std::size_t offset, double& value) {
  if (read < offset + 8) return false;
  const double decoded = LoadDoubleLe(bytes + offset);
  if (!std::isfinite(decoded)) return false;
  value = decoded;
  return true;
}

}  // namespace

std::vector<std::string> SpheroidRecordFiles() {
  return RecordFiles(kExtension);
}

bool CSpheroid::Save(std::string_view path) {
  if (!path.empty()) m_FileTitle = FileTitle(path);
  if (m_FileTitle.empty() && !m_Name.empty()) {
    m_FileTitle = RecordKey(m_Name, m_Country);
  }
  if (!IsUsableFileTitle(m_FileTitle) || !IsStorableLine(m_Name) || !IsStorableLine(m_Country)) {
    return false;
  }
  std::string bytes = m_Name + "\n" + m_Country + "\n";
  AppendDoubleLe(bytes, m_SemiMajorAxis);
  AppendDoubleLe(bytes, m_SemiMinorAxis);
  AppendDoubleLe(bytes, m_InverseFlattening);
  CStdioFile file;
  if (!file.Open(RecordPath(m_FileTitle, kExtension), FileMode::WriteBinary)) return false;
  file.Write(bytes.data(), bytes.size());
  return file.Close();
}

bool CSpheroid::Load(std::string_view path) {
  if (path.empty()) {
    SetBuiltIn(kDefaultSpheroidIndex);
    return false;
  }
  m_FileTitle = FileTitle(path);
  CStdioFile file;
  if (m_FileTitle.empty() ||
      !file.Open(RecordPath(m_FileTitle, kExtension), FileMode::ReadBinary)) {
    SetBuiltIn(kDefaultSpheroidIndex);
    return false;
  }
  file.ReadString(m_Name);
  file.ReadString(m_Country);
  unsigned char axes[kAxesSize] = {};
  const std::size_t read = file.Read(axes, kAxesSize);
  bool complete = TakeDouble(axes, read, kSemiMajorAxisOffset, m_SemiMajorAxis);
  complete = TakeDouble(axes, read, kSemiMinorAxisOffset, m_SemiMinorAxis) && complete;
  complete = TakeDouble(axes, read, kInverseFlatteningOffset, m_InverseFlattening) && complete;
  file.Close();
  if (m_Name.empty() && m_Country.empty()) m_Name = m_FileTitle;
  ComputeConstants();
  m_EPSGNo = 0;
  return complete;
}

void CSpheroid::WriteSettings(std::string_view suffix) const {
  const std::string topic = suffix.empty() ? "Spheroid" : "Spheroid " + std::string(suffix);
  CConfigFile file;
  if (!file.OpenForWrite(topic)) return;
  file.WriteString("Name", m_Name);
  file.WriteString("Country", m_Country);
  file.Close();
}

}  // namespace orvale
