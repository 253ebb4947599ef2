#pragma once
// How the list editors open the record edit dialogs (CEditSpheroid, CEditDatum,
// CEditProjection): the host or the dialogs themselves implement this, so an editor
// runs a dialog without knowing how the host shows it.

#include <string_view>

namespace orvale {

class IRecordDialogs {
 public:
  virtual ~IRecordDialogs() = default;
  // Runs the edit dialog on the record file titled `file_title` (loaded with the
  // dialog's SetFileName), or on an empty record for an empty title. True when the
  // user pressed OK, which wrote the record file.
  virtual bool EditSpheroid(std::string_view file_title) = 0;
  virtual bool EditDatum(std::string_view file_title) = 0;
  virtual bool EditProjection(std::string_view file_title) = 0;
};

}  // namespace orvale
