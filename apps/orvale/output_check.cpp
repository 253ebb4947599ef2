#include "output_check.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "orvale/platform/drives.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/data_folders.h"

namespace orvale::cli {

std::string EscapedControls(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      escaped += c;
      continue;
    }
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(byte));
    escaped += code;
  }
  return escaped;
}

std::string Printable(std::string_view cp1252) {
  return Cp1252ToUtf8(EscapedControls(cp1252));
}

bool ReportRecordFolder(std::string_view command, std::string_view listing_problem,
                        const Streams& streams) {
  bool clean = true;
  auto report = [&](const std::string& text) {
    streams.err << "orvale " << command << ": " << Printable(text) << "\n";
    clean = false;
  };
  // C: is reported through the record folder it fails to give.
  for (char letter : {'D', 'E'}) {
    const std::string variable = std::string("ORVALE_DRIVE_") + letter;
    const char* value = std::getenv(variable.c_str());
    if (value == nullptr || *value == '\0') continue;
    if (std::string problem = DriveRootProblem(letter); !problem.empty()) report(problem);
  }
  const RecordFolderResult found = FindRecordFolder();
  if (!found.redirect_problem.empty()) {
    report(found.redirect_problem + "; records are taken from " +
           (found.folder.ok ? found.folder.path : std::string("no folder")) + " instead");
  }
  if (!found.folder.ok) {
    report("there is no record folder: " + found.folder.problem);
  } else if (!listing_problem.empty()) {
    report("the record folder " + found.folder.path +
           " cannot be listed: " + std::string(listing_problem));
  }
  return clean;
}

}  // namespace orvale::cli
