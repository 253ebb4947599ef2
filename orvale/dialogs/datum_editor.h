#pragma once
// "Datum Editor": the built-in Helmert datum shifts and the "DMF" record files.

#include <memory>

#include "orvale/dialogs/list_editor.h"

namespace orvale {

class CDatum;

class CDatumEditor : public CListEditor {
 public:
  explicit CDatumEditor(CWnd* parent, const EditorHost& host = {});
  ~CDatumEditor() override;

  void DisplayDatums() { Refill(); }
  void OnEditDatum() { OnEdit(); }
  void OnAddDatum() { OnAdd(); }
  void OnRemoveDatum() { OnRemove(); }

 protected:
  void AddColumns(CListCtrl& list) override;
  void CollectEntries(std::vector<CatalogueEntry>& entries) override;
  void WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) override;
  bool RunEditDialog(IRecordDialogs& dialogs, std::string_view file_title) override {
    return dialogs.EditDatum(file_title);
  }

 private:
  // Loads the entry's record into m_Datum; false, with why, when its file cannot be read.
  bool Load(const CatalogueEntry& entry, std::string& problem);

  std::unique_ptr<CDatum> m_Datum;  // one record reused for every row
};

}  // namespace orvale
