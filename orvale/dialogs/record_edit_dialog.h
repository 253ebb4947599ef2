#pragma once
// What the three record edit dialogs share: a modal dialog as a model the host drives
// (OnInitDialog, edits through the property grid, OK or Cancel), its grid with the
// "Property" and "Value" header and the description area, day and night colours, and
// the "File" group whose "Name" chooses or names the record file.

#include <string>
#include <string_view>

#include "orvale/panes/property_grid.h"
#include "orvale/platform/window.h"

namespace orvale {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class CRecordEditDialog : public IPropertyGridOwner {
 public:
  explicit CRecordEditDialog(CWnd* parent) : parent_(parent) {}
  virtual ~CRecordEditDialog() = default;

  virtual std::string Caption() const = 0;
  // Builds the grid; true.
  virtual bool OnInitDialog() = 0;
  // Takes the record of that file (a file that cannot be read leaves the held record
  // as it was) and shows it.
  virtual void SetFileName(std::string_view title) = 0;
  // Writes the held record under the file title, then ends the dialog with OK; false
  // (and the dialog stays open) when the file cannot be written.
  bool OnBnClickedOk();
  void OnCancel() { result_ = IDCANCEL; }
  // 0 while the dialog runs, then IDOK or IDCANCEL.
  int Result() const { return result_; }

  void SetNightMode(bool night);
  bool GetNightMode() const { return grid_.GetNightMode(); }
  void OnSettingChange() {}

  CMyMFCPropertyGridCtrl& Grid() { return grid_; }
  const std::string& FileTitle() const { return file_title_; }
  CWnd* GetParent() const { return parent_; }

 protected:
  // The common frame: header, description area, dotted look, modified values marked,
  // the colours by day or night, and group "File" with "Name" [1]: the titles of the
  // record files with `extension` in the Global folder, and free typing of a new one.
  void BeginGrid(std::string_view name_description, std::string_view extension);
  // Writes the record file of the current title; false when it cannot be written.
  virtual bool SaveRecord() = 0;
  void SetFileTitle(std::string_view title);
  CMFCPropertyGridProperty* FileName() { return grid_.GetProperty(0)->GetSubItem(0); }

 private:
  CWnd* parent_;
  CMyMFCPropertyGridCtrl grid_;
  std::string file_title_;
  int result_ = 0;
};

}  // namespace orvale
