#include "orvale/dialogs/import_selectors.h"

#include <algorithm>

#include "orvale/platform/host_dialogs.h"
#include "orvale/storage/config_file.h"

namespace orvale {
namespace {

constexpr int kColumns = 26;

constexpr std::array<std::string_view, 9> kGeogNames = {"Name",    "Lat Deg",  "Lat Min",
                                                        "Lat Sec", "Lat Quad", "Lon Deg",
                                                        "Lon Min", "Lon Sec",  "Lon Quad"};
constexpr std::array<int, 9> kGeogDefaults = {1, 2, 3, -1, 4, 5, 6, -1, 7};
constexpr std::array<std::string_view, 3> kGridNames = {"Name", "Easting", "Northing"};
constexpr std::array<int, 3> kGridDefaults = {1, 2, 3};

}  // namespace

void CExcelColumnComboBox::SetLettered(bool lettered) {
  const int column = GetColumn();
  entries_ = {"Skip"};
  for (int i = 0; i < kColumns; ++i) {
    entries_.push_back(lettered ? std::string(1, static_cast<char>('A' + i))
                                : std::to_string(i + 1));
  }
  SetColumn(column);
}

void CExcelColumnComboBox::SetColumn(int column) {
  const int last = static_cast<int>(entries_.size()) - 1;
  selected_ = column < 0 ? 0 : std::min(column + 1, last);
}

bool CExcelColumnComboBox::Select(std::string_view text) {
  const auto found = std::find(entries_.begin(), entries_.end(), text);
  if (found == entries_.end()) return false;
  selected_ = static_cast<int>(found - entries_.begin());
  return true;
}

CPointImportSelector::CPointImportSelector(const Kind& kind,
                                           std::span<const std::string_view> names,
                                           std::span<const int> defaults)
    : kind_(kind),
      names_(names.begin(), names.end()),
      defaults_(defaults.begin(), defaults.end()),
      destinations_(names.size(), nullptr),
      choosers_(names.size()),
      caption_(kind.caption) {}

bool CPointImportSelector::OnInitDialog() {
  std::vector<int> columns = defaults_;
  CConfigFile settings;
  if (settings.OpenForRead(kind_.section)) {
    // Read by position, in the order OnOK writes.
    m_Path = settings.ReadString();
    m_FileName = settings.ReadString();
    if (kind_.spreadsheet) {
      m_SheetName = settings.ReadString();
      if (m_SheetName.empty()) m_SheetName = "Sheet1";
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
      columns[i] = settings.ReadInt(defaults_[i]);
    static_cast<void>(settings.Close());
  } else {
    m_Path.clear();
    m_FileName.clear();
    m_SheetName = "Sheet1";
  }
  for (std::size_t i = 0; i < choosers_.size(); ++i) {
    choosers_[i].SetLettered(kind_.spreadsheet);
    choosers_[i].SetColumn(columns[i]);
  }
  if (!m_Path.empty()) caption_ = m_Path;
  return true;
}

void CPointImportSelector::OnClickedSelectFile(IFileDialogs& dialogs) {
  const auto chosen = dialogs.GetOpenFileName(kind_.extension);
  if (!chosen) return;
  // The folder ends in the separator its path uses; the title drops the extension.
  const std::size_t slash = chosen->find_last_of("/\\");
  m_Path = slash == std::string::npos ? std::string() : chosen->substr(0, slash + 1);
  std::string name = slash == std::string::npos ? *chosen : chosen->substr(slash + 1);
  m_FileName = name.substr(0, name.find_last_of('.'));
  ShowCaption();
}

void CPointImportSelector::ShowCaption() {
  caption_ = m_Path.empty() ? std::string(kind_.files_caption) : m_Path;
}

void CPointImportSelector::OnOK() {
  for (std::size_t i = 0; i < choosers_.size(); ++i) {
    if (destinations_[i] != nullptr) *destinations_[i] = choosers_[i].GetColumn();
  }
  CConfigFile settings;
  // A settings file that cannot be written leaves the choices unsaved; the caller's
  // integers hold them all the same.
  if (!settings.OpenForWrite(kind_.section)) return;
  settings.WriteString("Path", m_Path);
  settings.WriteString("File Name", m_FileName);
  if (kind_.spreadsheet) settings.WriteString("Spread Sheet Name", m_SheetName);
  for (std::size_t i = 0; i < choosers_.size(); ++i)
    settings.WriteInt(names_[i], choosers_[i].GetColumn());
  static_cast<void>(settings.Close());
}

CGeogCsvSelector::CGeogCsvSelector(CWnd*)
    : CPointImportSelector({"Csv", "Geog CSV Selector", "CSV", "CSV Files", false}, kGeogNames,
                           kGeogDefaults) {}

CGeogExcelSelector::CGeogExcelSelector(CWnd*)
    : CPointImportSelector({"Excel", "Geog Excel Selector", "XLS", "Excel Files", true}, kGeogNames,
                           kGeogDefaults) {}

CGridCsvSelector::CGridCsvSelector(CWnd*)
    : CPointImportSelector({"Grid CSV Selector", "Grid CSV Selector", "CSV", "CSV Files", false},
                           kGridNames, kGridDefaults) {}

CGridExcelSelector::CGridExcelSelector(CWnd*)
    : CPointImportSelector(
          {"Grid Excel Selector", "Grid Excel Selector", "XLS", "Excel Files", true}, kGridNames,
          kGridDefaults) {}

}  // namespace orvale
