#pragma once
// Checks around the commands that list records and folders: the record folder they
// read (reported once, however often the library resolves it), names made safe for a
// terminal. Whether their output reached its destination is checked, as for every
// command, when the command returns.

#include <string>
#include <string_view>

#include "cli.h"

namespace orvale::cli {

// The text with every control character (0x00 to 0x1F and 0x7F) shown as "\xNN", so
// a name cannot move the cursor, clear the screen or break a table's lines. Other
// bytes are kept, so it serves Windows-1252 and UTF-8 texts alike.
std::string EscapedControls(std::string_view text);

// A Windows-1252 text as UTF-8, its control characters escaped.
std::string Printable(std::string_view cp1252);

// Reports on standard error, each once, a configured drive root that is missing, a
// redirect in MyData.INI that was passed over and why, and a record folder that cannot
// be had or listed (`listing_problem`, from the listing the command made). True when
// there was nothing to report.
[[nodiscard]] bool ReportRecordFolder(std::string_view command, std::string_view listing_problem,
                                      const Streams& streams);

// otherwise gives `status`.
[[nodiscard]] int FinishOutput(std::string_view command, int status, const Streams& streams);

}  // namespace orvale::cli
