#pragma once
// What the library asks of its host's own dialogs: the yes/no question box and the
// file dialogs. The library shows nothing itself; the host answers as its user does
// (a desktop host with real dialogs, a web host through its front end, tests with
// fixed answers).

#include <optional>
#include <string>
#include <string_view>

namespace orvale {

class IPrompt {
 public:
  virtual ~IPrompt() = default;
  // Shows the question (Windows-1252) with Yes and No; true for yes.
  virtual bool GetYN(std::string_view question) = 0;
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The host path the user chose to save to, offering `suggested_name` (a file name
  // with its extension, e.g. "Spheroid.csv"); nothing when the user cancelled.
  virtual std::optional<std::string> GetSaveFileName(std::string_view suggested_name) = 0;
  // The host path of an existing file the user chose to open, among those whose
  // extension is one of `extensions` ("csv;txt"); nothing when the user cancelled.
  virtual std::optional<std::string> GetOpenFileName(std::string_view extensions) = 0;
  // Shows a printable page (a host path of an HTML file) for the user to print.
  virtual void ShowPrintPage(std::string_view path) = 0;
};

}  // namespace orvale
