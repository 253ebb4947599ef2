#pragma once
// "Datum Shift Editor": the grid shifts ("GRD") and latitude/longitude shifts ("GSF")
// kept as record files. They are made outside the library, so there is no Add or
// Edit here, only Remove.

#include <memory>

#include "orvale/dialogs/list_editor.h"

namespace orvale {

class CDatum;

class CDatumShiftEditor : public CListEditor {
 public:
  explicit CDatumShiftEditor(CWnd* parent, const EditorHost& host = {});
  ~CDatumShiftEditor() override;

  void DisplayDatums() { Refill(); }
  void OnAddDatum() {}
  void OnRemoveDatum() { OnRemove(); }

 protected:
  void AddColumns(CListCtrl& list) override;
  void CollectEntries(std::vector<CatalogueEntry>& entries) override;
  void WriteRow(CListCtrl& list, int item, const CatalogueEntry& entry) override;

 private:
  bool Load(const CatalogueEntry& entry, std::string& problem);

  std::unique_ptr<CDatum> m_Datum;  // one record reused for every row
};

}  // namespace orvale
