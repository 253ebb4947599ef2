#pragma once
// The four point import selectors: the file of points (comma-separated or a
// spreadsheet) and which column holds which value, remembered between runs in each
// selector's own settings file. The points themselves are the host's to read.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvale {

class CWnd;
class IFileDialogs;

// A column chooser: "Skip" (-1), then columns 0 to 25 named "A" to "Z" (lettered) or
// "1" to "26" (numbered).
class CExcelColumnComboBox {
 public:
  // Empties and refills the list in the given naming.
  void SetLettered(bool lettered);
  const std::vector<std::string>& Entries() const { return entries_; }
  // Selects entry column + 1; any negative column selects "Skip".
  void SetColumn(int column);
  int GetColumn() const { return selected_ - 1; }
  // Selects an entry by its text; false when there is none.
  bool Select(std::string_view text);
  const std::string& Text() const { return entries_[static_cast<std::size_t>(selected_)]; }

 private:
  std::vector<std::string> entries_ = {"Skip"};
  int selected_ = 0;
};

class CPointImportSelector {
 public:
  virtual ~CPointImportSelector() = default;

  // Reads the settings (defaults without them) and sets every chooser.
  bool OnInitDialog();
  // Runs the host's file-open dialog; a chosen file sets Path and File Name.
  void OnClickedSelectFile(IFileDialogs& dialogs);
  // Reads the choosers into the destinations and writes the settings.
  void OnOK();

  const std::string& Caption() const { return caption_; }
  // The caller's integers, one per column the selector chooses, set before opening.
  std::span<int* const> Destinations() const { return destinations_; }
  void SetDestination(std::size_t index, int* destination) { destinations_[index] = destination; }
  std::span<CExcelColumnComboBox> Choosers() { return choosers_; }
  std::span<const std::string_view> ColumnNames() const { return names_; }

  std::string m_Path;       // the chosen file's folder, ending in its separator
  std::string m_FileName;   // its title
  std::string m_SheetName;  // spreadsheet selectors only

 protected:
  struct Kind {
    std::string_view caption;
    std::string_view section;
    std::string_view extension;
    std::string_view files_caption;  // while no folder is chosen
    bool spreadsheet;
  };
  CPointImportSelector(const Kind& kind, std::span<const std::string_view> names,
                       std::span<const int> defaults);

 private:
  void ShowCaption();

  Kind kind_;
  std::vector<std::string_view> names_;
  std::vector<int> defaults_;
  std::vector<int*> destinations_;
  std::vector<CExcelColumnComboBox> choosers_;
  std::string caption_;
};

// Columns of the geographical selectors, in settings order.
struct GeogColumns {
  enum : std::size_t {
    kName,
    kLatDeg,
    kLatMin,
    kLatSec,
    kLatQuad,
    kLonDeg,
    kLonMin,
    kLonSec,
    kLonQuad
  };
};
// Columns of the grid selectors.
struct GridColumns {
  enum : std::size_t { kName, kEasting, kNorthing };
};

class CGeogCsvSelector : public CPointImportSelector {
 public:
  explicit CGeogCsvSelector(CWnd* parent = nullptr);
};
class CGeogExcelSelector : public CPointImportSelector {
 public:
  explicit CGeogExcelSelector(CWnd* parent = nullptr);
};
class CGridCsvSelector : public CPointImportSelector {
 public:
  explicit CGridCsvSelector(CWnd* parent = nullptr);
};
class CGridExcelSelector : public CPointImportSelector {
 public:
  explicit CGridExcelSelector(CWnd* parent = nullptr);
};

}  // namespace orvale
