#include "orvale/dialogs/list_editor.h"

#include <algorithm>
#include <cstdio>

#include "orvale/engine/angles/units.h"
#include "orvale/platform/files.h"
#include "orvale/storage/internal/record_files.h"

namespace orvale {

std::string FormatNumber(const char* format, double value) {
  char text[512];
  const int length = std::snprintf(text, sizeof text, format, value);
  if (length < 0) return {};
  return std::string(text, std::min(static_cast<std::size_t>(length), sizeof text - 1));
}

std::string TrimNumber(std::string text) {
  if (text.find('.') != std::string::npos) {
    const std::size_t last = text.find_last_not_of("0 ");
    text.erase(last == std::string::npos ? 0 : last + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
  }
  text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                 : text.find_first_not_of(' '));
  return text == "-0" ? "0" : text;
}

std::string FormatTrimmed(const char* format, double value) {
  return TrimNumber(FormatNumber(format, value));
}

std::string NameWithComment(std::string_view name, std::string_view comment) {
  std::string text(name);
  if (!comment.empty()) {
    text += ' ';
    text += comment;
  }
  if (text.size() > kMaxDisplayName) text.resize(kMaxDisplayName);
  return text;
}

CListEditor::CListEditor(CWnd* parent, const EditorHost& host, std::string_view caption,
                         std::string_view export_name, int built_in_count)
    : m_Caption(caption), m_BuiltInCount(built_in_count), m_Host(host) {
  // A dialog posts through its parent's host; without a parent it stands alone.
  if (parent != nullptr) static_cast<void>(CreateChild(parent, 0));
  for (CListCtrlButton* button :
       {static_cast<CListCtrlButton*>(&m_ExportExcel), static_cast<CListCtrlButton*>(&m_ExportCsv),
        static_cast<CListCtrlButton*>(&m_Print)}) {
    button->SetFileName(export_name);
    button->SetHost(host.files);
  }
  m_Print.SetTitle(caption);
}

bool CListEditor::OnInitDialog() {
  ShowEditAndRemove(false);
  m_ExportExcel.SetListCtrl(&m_List);
  m_ExportCsv.SetListCtrl(&m_List);
  m_Print.SetListCtrl(&m_List);
  while (m_List.GetColumnCount() > 0)
    static_cast<void>(m_List.DeleteColumn(0));
  AddColumns(m_List);
  m_List.SetExtendedStyle(m_List.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const UnitSelection units = GetUnitsMode(IMPERIAL_FEET);
  m_UnitFactor = GetUnitFactor(units.mode, units.index, units.imperial_mode);
  ReadDisplaySettings();
  Refill();
  return true;
}

const CatalogueEntry* CListEditor::EntryOf(int item) const {
  if (item < 0 || item >= m_List.GetItemCount()) return nullptr;
  const std::uintptr_t index = m_List.GetItemData(item);
  return index < m_Entries.size() ? &m_Entries[index] : nullptr;
}

void CListEditor::ShowEditAndRemove(bool show) {
  m_Edit.ShowWindow(show);
  m_Remove.ShowWindow(show);
}

void CListEditor::Refill() {
  m_List.DeleteAllItems();
  m_Entries.clear();
  CollectEntries(m_Entries);
  for (CatalogueEntry& entry : m_Entries) {
    if (entry.display_name.size() > kMaxDisplayName) entry.display_name.resize(kMaxDisplayName);
    if (entry.file_title.size() > kMaxFileTitle) entry.file_title.resize(kMaxFileTitle);
  }
  std::stable_sort(m_Entries.begin(), m_Entries.end(),
                   [](const CatalogueEntry& a, const CatalogueEntry& b) {
                     return LessIgnoringCase(a.display_name, b.display_name);
                   });
  for (std::size_t index = 0; index < m_Entries.size(); ++index) {
    const CatalogueEntry& entry = m_Entries[index];
    // The list's image list: the first image marks a built-in row, the second a file.
    const int item = m_List.InsertItem(m_List.GetItemCount(), "", IsFileRecord(entry) ? 1 : 0);
    static_cast<void>(m_List.SetItemData(item, index));
    WriteRow(m_List, item, entry);
  }
}

void CListEditor::OnClickList(int item) {
  m_List.ClearSelection();
  const CatalogueEntry* entry = EntryOf(item);
  if (entry != nullptr) static_cast<void>(m_List.SetItemSelected(item, true));
  ShowEditAndRemove(entry != nullptr && IsFileRecord(*entry));
}

void CListEditor::OnDblclkList(int item) {
  const CatalogueEntry* entry = EntryOf(item);
  if (entry == nullptr || !IsFileRecord(*entry) || m_Host.records == nullptr) return;
  if (RunEditDialog(*m_Host.records, entry->file_title)) WriteRow(m_List, item, *entry);
}

void CListEditor::OnEdit() {
  const CatalogueEntry* entry = EntryOf(SelectedItem());
  if (entry == nullptr || !IsFileRecord(*entry) || m_Host.records == nullptr) return;
  const std::string title = entry->file_title;
  if (!RunEditDialog(*m_Host.records, title)) return;
  Refill();
  // The edited record stays chosen, wherever its new name sorts it.
  for (int item = 0; item < m_List.GetItemCount(); ++item) {
    if (EntryOf(item)->file_title == title) static_cast<void>(m_List.SetItemSelected(item, true));
  }
}

void CListEditor::OnAdd() {
  if (m_Host.records != nullptr && RunEditDialog(*m_Host.records, "")) Refill();
}

void CListEditor::OnRemove() {
  const CatalogueEntry* entry = EntryOf(SelectedItem());
  if (entry == nullptr || !IsFileRecord(*entry) || m_Host.prompt == nullptr) return;
  const std::string question = "Are You sure you want to delete " + entry->file_title;
  if (!m_Host.prompt->GetYN(question)) return;
  // A file already gone is no failure: the list is refilled either way.
  static_cast<void>(DeleteFile(RecordPath(entry->file_title, entry->extension)));
  Refill();
  ShowEditAndRemove(false);
}

void CListEditor::OnClose() {
  m_List.DeleteAllItems();
  m_Entries.clear();
  m_Entries.shrink_to_fit();
  ShowWindow(false);
}

bool CListEditor::RunEditDialog(IRecordDialogs&, std::string_view) {
  return false;
}

void CListEditor::WriteUnreadableRow(CListCtrl& list, int item, const CatalogueEntry& entry,
                                     const std::string& problem) {
  static_cast<void>(list.SetItemText(item, 0, entry.file_title));
  static_cast<void>(list.SetItemText(item, 2, "(" + problem + ")"));
}

}  // namespace orvale
