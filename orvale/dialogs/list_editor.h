#pragma once
// What the four catalogue list editors share: a modal dialog holding a list of one
// catalogue, one row per record, built-in rows first in the enumeration and record
// files after them; Edit and Remove shown only while a file row is chosen; the
// export, CSV and print buttons bound to the list. Each editor supplies its columns,
// its records and how one row is written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvale/dialogs/record_dialogs.h"
#include "orvale/platform/host_dialogs.h"
#include "orvale/platform/list_control.h"
#include "orvale/platform/list_export.h"
#include "orvale/platform/window.h"

namespace orvale {

// The host's services an editor calls: the yes/no prompt, the file dialogs of the
// export buttons and the record edit dialogs. A missing prompt answers no; without
// file dialogs the exports do nothing; without record dialogs Add and Edit do nothing.
struct EditorHost {
  IPrompt* prompt = nullptr;
  IFileDialogs* files = nullptr;
  IRecordDialogs* records = nullptr;
};

inline constexpr std::size_t kMaxDisplayName = 255;
inline constexpr std::size_t kMaxFileTitle = 259;

struct CatalogueEntry {
  std::string display_name;
  int number = 0;          // place in the catalogue enumeration, built-ins first from 0
  int group = -1;          // datums and projections: the catalogue group of a built-in
  int group_index = -1;    // its index within the group; -1 for a file record
  std::string file_title;  // of a file record; empty for a built-in
  std::string extension;   // of a file record ("SPD", "DMF", "PRJ", "GRD", "GSF")
};

class CListEditor : public CWnd {
 public:
  CListEditor(CWnd* parent, const EditorHost& host, std::string_view caption,
              std::string_view export_name, int built_in_count);

  // Hides Edit and Remove, binds the export buttons, adds the columns, switches on
  // grid lines and full-row selection, reads the display length unit and the angle
  // formats, and fills the list. True.
  bool OnInitDialog();
  // The user clicked `item` (-1: no row): it becomes the selection, and Edit and
  // Remove show only when it is a file record.
  void OnClickList(int item);
  // On a file record: its edit dialog, then, after OK, that row alone read again.
  void OnDblclkList(int item);
  // The edit dialog on the selected file record; after OK the whole list is refilled.
  void OnEdit();
  // The edit dialog on an empty record; after OK the whole list is refilled.
  void OnAdd();
  // Asks "Are You sure you want to delete <file title>" of a selected file record;
  // on yes deletes its file, refills the list and hides Edit and Remove.
  void OnRemove();
  // Frees the entries and the rows.
  void OnClose();

  // The export and print buttons' presses.
  [[nodiscard]] bool OnExportExcel() { return m_ExportExcel.OnClicked(); }
  [[nodiscard]] bool OnExportCsv() { return m_ExportCsv.OnClicked(); }
  [[nodiscard]] bool OnPrint() { return m_Print.OnClicked(); }

  const std::string& GetCaption() const { return m_Caption; }
  const CListCtrl& GetListCtrl() const { return m_List; }
  bool IsEditVisible() const { return m_Edit.IsWindowVisible(); }
  bool IsRemoveVisible() const { return m_Remove.IsWindowVisible(); }
  int GetBuiltInCount() const { return m_BuiltInCount; }
  const std::vector<CatalogueEntry>& GetEntries() const { return m_Entries; }
  // The entry a row shows; null outside the rows.
  const CatalogueEntry* EntryOf(int item) const;
  bool IsFileRecord(const CatalogueEntry& entry) const { return entry.number >= m_BuiltInCount; }

  // Empties and refills the list from the catalogue and the record files.
  void Refill();

 protected:
  virtual void AddColumns(CListCtrl& list) = 0;
  // The built-ins in catalogue order, then the record files, numbered as listed.
  virtual void CollectEntries(std::vector<CatalogueEntry>& entries) = 0;
  // Writes every column of row `item` from the entry's record, read afresh.
  virtual void WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) = 0;
  // Runs the edit dialog on a file title (empty: a new record); true after OK. The
  // default runs none: an editor without record dialogs.
  virtual bool RunEditDialog(IRecordDialogs& dialogs, std::string_view file_title);
  // Reads the user's display settings the rows need beyond the length unit.
  virtual void ReadDisplaySettings() {}

  double UnitFactor() const { return m_UnitFactor; }

  // The row of a record file that cannot be read: its title, and in the third column
  // why, so that the file can still be found and removed.
  static void WriteUnreadableRow(CListCtrl& list, int item, const CatalogueEntry& entry,
                                 const std::string& problem);

 private:
  int SelectedItem() const { return m_List.GetNextItem(-1, LVNI_SELECTED); }
  void ShowEditAndRemove(bool show);

  std::string m_Caption;
  int m_BuiltInCount;
  EditorHost m_Host;
  CListCtrl m_List;
  CWnd m_Edit;
  CWnd m_Remove;
  CExcelListCtrlBtn m_ExportExcel;
  CCsvListCtrlBtn m_ExportCsv;
  CPrintListCtrlBtn m_Print;
  std::vector<CatalogueEntry> m_Entries;
  double m_UnitFactor = 1.0;  // metres per display length unit
};

// printf of one number.
std::string FormatNumber(const char* format, double value);
// A number "trimmed": the zeros and blanks that end it after its decimal point go,
// then the point when nothing follows it, and the blanks before it ("%15.3lf" of
// 500000 shows "500000"); a negative zero shows as "0".
std::string TrimNumber(std::string text);
std::string FormatTrimmed(const char* format, double value);
// "<name> <comment>", or the name alone when the comment is empty; cut to 255.
std::string NameWithComment(std::string_view name, std::string_view comment);

}  // namespace orvale
