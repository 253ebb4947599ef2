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

#include "orvale/engine/spheroid.h"
#include "orvale/engine/spheroid_catalogue.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/little_endian.h"

namespace orvale {
namespace {

constexpr std::string_view kExtension = "SPD";

constexpr std::size_t kSemiMajorAxisOffset = 0;
constexpr std::size_t kSemiMinorAxisOffset = 8;
constexpr std::size_t kInverseFlatteningOffset = 16;
constexpr std::size_t kAxesSize = 24;

// The name of a file without folder and extension.
std::string FileTitle(std::string_view path) {
  const std::size_t folder_end = path.find_last_of("\\/:");
  if (folder_end != std::string_view::npos) path.remove_prefix(folder_end + 1);
  const std::size_t dot = path.rfind('.');
  if (dot != std::string_view::npos) path.remove_suffix(path.size() - dot);
  return std::string(path);
}

std::string RecordPath(std::string_view title) {
  return RecordFolder() + std::string(title) + "." + std::string(kExtension);
}

// Keys come from names people type. A separator would put the file outside the
// Global folder, and the other characters are refused by the file systems the
// records are shared with, so such keys are not written at all.
bool IsUsableFileTitle(std::string_view title) {
  if (title.empty()) return false;
  for (char c : title) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// A line the reader would cut or split cannot be stored.
bool IsStorableLine(std::string_view text) {
  return text.find('\n') == std::string_view::npos && text.size() <= CStdioFile::kMaxLineLength;
}

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
  return FindFiles(RecordFolder() + "*." + std::string(kExtension));
}

bool CSpheroid::Save(std::string_view path) {
  if (!path.empty()) m_FileTitle = FileTitle(path);
  if (m_FileTitle.empty() && !m_Name.empty()) {
    m_FileTitle = m_Country.empty() ? m_Name : m_Name + "_" + m_Country;
  }
  if (!IsUsableFileTitle(m_FileTitle) || !IsStorableLine(m_Name) || !IsStorableLine(m_Country)) {
    return false;
  }
  std::string bytes = m_Name + "\n" + m_Country + "\n";
  AppendDoubleLe(bytes, m_SemiMajorAxis);
  AppendDoubleLe(bytes, m_SemiMinorAxis);
  AppendDoubleLe(bytes, m_InverseFlattening);
  CStdioFile file;
  if (!file.Open(RecordPath(m_FileTitle), FileMode::WriteBinary)) return false;
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
  if (m_FileTitle.empty() || !file.Open(RecordPath(m_FileTitle), FileMode::ReadBinary)) {
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
