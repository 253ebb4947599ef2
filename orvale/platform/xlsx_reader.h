#pragma once
// One sheet of an Excel workbook (.xlsx) read row by row, as the texts a spreadsheet
// shows: the archive and its XML parts are streamed, never unpacked whole. Workbooks
// come from anywhere, so the archive is checked before it is trusted: a limited number
// of entries, of unpacked bytes in all and of unpacked bytes per packed byte; no
// document type declarations. A file that fails is refused with the reason.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace orvale {

// The limits a workbook must keep to.
struct XlsxLimits {
  std::size_t max_entries = 10000;
  std::size_t max_unpacked_bytes = std::size_t{256} << 20;  // all parts read together
  std::size_t max_ratio = 100;  // unpacked bytes per packed byte, for parts over 1 MiB
};

struct XlsxSheetResult {
  bool ok = false;
  std::string reason;      // why not, when !ok
  std::string sheet_name;  // the sheet read
  std::size_t rows = 0;    // rows passed to the callback
};

// Receives each row holding at least one cell: its number as the sheet shows it (1 for
// the top row) and its cells, column A first, an absent cell as an empty text. Returns
// false to stop reading (the result is still ok).
using XlsxRowCallback = std::function<bool(std::size_t row, std::span<const std::string> cells)>;

// Reads the sheet named `sheet` of the workbook at `path`; when none has that name and
// `sheet` is a whole number N, the N-th sheet (from 1); an empty `sheet` is the first.
// Cells read as: numbers as written in the file ("0.5", "1E-3"); dates and times (by
// their number format, in the workbook's 1900 or 1904 system) as ISO 8601 text
// ("2024-02-29", "2024-02-29T12:30:00", "12:30:00"); booleans as TRUE or FALSE;
// errors as their code ("#DIV/0!"); formulas as their last computed value; texts in
// UTF-8, rich text runs joined, phonetic guides left out.
[[nodiscard]] XlsxSheetResult ReadXlsxSheet(std::string_view path, std::string_view sheet,
                                            const XlsxRowCallback& on_row,
                                            const XlsxLimits& limits = {});

// Internal pieces, exposed for their tests.
// The cell text of a serial date number in the given system: a date when whole and
// `time_only` is false, a date and time when not whole, a time when `time_only`.
// False when the number is no date (negative, or beyond 9999-12-31).
[[nodiscard]] bool XlsxSerialToIso(double serial, bool date1904, bool time_only, std::string& text);
// Whether a number format shows a date or time: built-in formats 14 to 22 and 45 to
// 47, or a format code with day, month, year or hour fields outside quotes and brackets.
bool XlsxIsDateFormat(int id, std::string_view code);
// Replaces each _xHHHH_ escape with the character it stands for.
std::string XlsxUnescape(std::string_view text);

}  // namespace orvale
