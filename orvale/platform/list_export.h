#pragma once
// A list control's table as files other programs open: comma-separated values, an
// Excel workbook and a printable HTML page; and the three buttons that write them.
// Paths here are host paths, as the host's file dialog gives them. Every file is
// written whole or not at all: to a temporary file in the target's folder, renamed
// over the target once complete. The list's Windows-1252 texts become UTF-8.

#include <string>
#include <string_view>

#include "orvale/platform/host_dialogs.h"
#include "orvale/platform/list_control.h"

namespace orvale {

// A heading on one line: its line breaks and runs of blanks become one blank, and
// blanks at either end go ("False \nEanging" is "False Eanging").
std::string OneLineHeading(std::string_view heading);

// A cell as a number when the whole text (blanks at either end aside) is a plain
// decimal number ("-12.5", "500000", "1.5e-3"): true, with `value`, and in
// `decimals` the digits after its point (-1 for exponent notation).
bool ReadListNumber(std::string_view text, double& value, int& decimals);

// RFC 4180: the one-line headings, then one record per row, fields separated by
// commas, records ended by CR LF; a field holding a comma, a quote, CR or LF is
// quoted, its quotes doubled. A text cell beginning with "=", "+", "-", "@", a tab or
// CR gets a leading apostrophe, so a spreadsheet never runs it as a formula; numbers
// ("-12.5") are left as they are. UTF-8 with a byte-order mark, which spreadsheet
// programs need to read the degree sign right.
std::string ListToCsv(const CListCtrl& list);

// The page: a heading with `title`, the table with its headings repeated on every
// printed page, cells aligned as their columns; &, <, >, " escaped; no script.
std::string ListToHtml(const CListCtrl& list, std::string_view title);

// Writes ListToCsv / ListToHtml to `path`; false, leaving any old file, on failure.
[[nodiscard]] bool ExportListCsv(const CListCtrl& list, std::string_view path);
[[nodiscard]] bool ExportListHtml(const CListCtrl& list, std::string_view path,
                                  std::string_view title);

// A workbook of one sheet named `sheet_name` (cut to 31 characters, characters a
// sheet name cannot hold replaced by "_"): bold headings whose line breaks are kept
// (empty lines and the blanks around each line dropped, as on the page) and the top
// row frozen; numbers (ReadListNumber) as numbers at full precision with
// a number format showing the decimals the list shows; every other cell as text.
// False, with why in `problem` and any old file kept, when it cannot be written.
[[nodiscard]] bool ExportListXlsx(const CListCtrl& list, std::string_view path,
                                  std::string_view sheet_name, std::string* problem = nullptr);

// The export and print buttons of a list: given the list (SetListCtrl) and, for the
// exports, the name offered for the file (SetFileName), a press asks the host where
// to save and writes the file there, or writes the page and has the host show it.
class CListCtrlButton {
 public:
  virtual ~CListCtrlButton() = default;
  void SetListCtrl(const CListCtrl* list) { list_ = list; }
  void SetFileName(std::string_view name) { name_ = name; }
  void SetHost(IFileDialogs* host) { host_ = host; }
  const std::string& GetFileName() const { return name_; }
  // True when a file was written; false without a list or host, when the user
  // cancelled, or when the file could not be written.
  [[nodiscard]] virtual bool OnClicked() = 0;

 protected:
  const CListCtrl* list_ = nullptr;
  IFileDialogs* host_ = nullptr;
  std::string name_;
};

class CCsvListCtrlBtn : public CListCtrlButton {
 public:
  [[nodiscard]] bool OnClicked() override;
};

class CExcelListCtrlBtn : public CListCtrlButton {
 public:
  [[nodiscard]] bool OnClicked() override;
};

// Writes "<name>.html" (the name set, else "List") in `folder` (the system's
// temporary folder when none is set) and hands it to the host to show and print.
class CPrintListCtrlBtn : public CListCtrlButton {
 public:
  void SetTitle(std::string_view title) { title_ = title; }
  void SetFolder(std::string_view folder) { folder_ = folder; }
  [[nodiscard]] bool OnClicked() override;

 private:
  std::string title_;
  std::string folder_;
};

}  // namespace orvale
