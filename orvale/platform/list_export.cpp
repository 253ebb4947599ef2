#include "orvale/platform/list_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "orvale/platform/stdio_file.h"
#include "orvale/platform/text_encoding.h"

namespace orvale {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// A heading's lines without the blanks around them and without empty lines, which
// only push a short heading down in a header several lines high.
std::string HeadingLines(std::string_view heading) {
  std::string lines;
  for (std::size_t start = 0; start <= heading.size();) {
    const std::size_t end = std::min(heading.find('\n', start), heading.size());
    const std::string_view line = TrimBlanks(heading.substr(start, end - start));
    if (!line.empty()) {
      if (!lines.empty()) lines += '\n';
      lines += line;
    }
    start = end + 1;
  }
  return lines;
}

std::string CsvField(std::string_view cell) {
  double value = 0.0;
  int decimals = 0;
  std::string text = Cp1252ToUtf8(cell);
  // A spreadsheet takes a cell beginning with one of these as a formula (or, for tab
  // and CR, may strip them and then do so), so a text from a record file could run
  // as one when the export is opened.
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
      !ReadListNumber(cell, value, decimals)) {
    text.insert(0, 1, '\'');
  }
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

void AppendEscapedHtml(std::string& out, std::string_view cp1252) {
  for (char c : Cp1252ToUtf8(cp1252)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

std::string_view AlignmentClass(int format) {
  if (format == LVCFMT_RIGHT) return " class=\"r\"";
  if (format == LVCFMT_CENTER) return " class=\"c\"";
  return "";
}

[[nodiscard]] bool WriteWhole(std::string_view path, std::string_view bytes) {
  CStdioFile file;
  if (path.empty() || !file.Open(path, FileMode::WriteBinary)) return false;
  file.Write(bytes.data(), bytes.size());
  return file.Close();
}

std::size_t Utf8Length(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string SheetName(std::string_view name) {
  std::string sheet;
  for (char c : Cp1252ToUtf8(name)) {
    sheet += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '_';
  }
  // Cut to 31 characters without splitting a UTF-8 sequence.
  std::size_t characters = 0, end = 0;
  for (; end < sheet.size(); ++end) {
    if ((static_cast<unsigned char>(sheet[end]) & 0xC0) != 0x80 && ++characters > 31) break;
  }
  sheet.resize(end);
  // A sheet name may not begin or end with an apostrophe, nor be empty.
  if (!sheet.empty() && sheet.front() == '\'') sheet.front() = '_';
  if (!sheet.empty() && sheet.back() == '\'') sheet.back() = '_';
  return sheet.empty() ? "Sheet1" : sheet;
}

// The workbook's cells; the caller closes (and so frees) the workbook.
lxw_error FillWorkbook(lxw_workbook* workbook, const CListCtrl& list, std::string_view sheet_name) {
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, SheetName(sheet_name).c_str());
  lxw_format* heading = workbook_add_format(workbook);
  if (sheet == nullptr || heading == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
  format_set_bold(heading);
  format_set_text_wrap(heading);
  format_set_align(heading, LXW_ALIGN_VERTICAL_TOP);
  std::map<int, lxw_format*> number_formats;
  const auto number_format = [&](int decimals) -> lxw_format* {
    lxw_format*& format = number_formats[decimals];
    if (format == nullptr && (format = workbook_add_format(workbook)) != nullptr) {
      const std::string code =
          decimals < 0
              ? "0.000000000000000E+00"
              : (decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0'));
      format_set_num_format(format, code.c_str());
    }
    return format;
  };

  for (int c = 0; c < list.GetColumnCount(); ++c) {
    const std::string text = Cp1252ToUtf8(HeadingLines(list.GetColumn(c)->heading));
    std::size_t width = 0;
    for (std::size_t start = 0; start <= text.size();) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      width = std::max(width, Utf8Length(std::string_view(text).substr(start, end - start)));
      start = end + 1;
    }
    const auto column = static_cast<lxw_col_t>(c);
    if (!text.empty()) {
      if (lxw_error error = worksheet_write_string(sheet, 0, column, text.c_str(), heading))
        return error;
    }
    for (int r = 0; r < list.GetItemCount(); ++r) {
      const std::string cell = list.GetItemText(r, c);
      const auto row = static_cast<lxw_row_t>(r + 1);
      double value = 0.0;
      int decimals = 0;
      lxw_error error = LXW_NO_ERROR;
      if (ReadListNumber(cell, value, decimals)) {
        lxw_format* format = number_format(decimals);
        if (format == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
        error = worksheet_write_number(sheet, row, column, value, format);
        width = std::max(width, TrimBlanks(cell).size());
      } else if (!cell.empty()) {
        const std::string utf8 = Cp1252ToUtf8(cell);
        error = worksheet_write_string(sheet, row, column, utf8.c_str(), nullptr);
        width = std::max(width, Utf8Length(utf8));
      }
      if (error != LXW_NO_ERROR) return error;
    }
    const double shown = static_cast<double>(std::clamp<std::size_t>(width + 2, 8, 60));
    if (lxw_error error = worksheet_set_column(sheet, column, column, shown, nullptr)) return error;
  }
  worksheet_freeze_panes(sheet, 1, 0);
  return LXW_NO_ERROR;
}

}  // namespace

std::string OneLineHeading(std::string_view heading) {
  std::string line;
  bool blank = false;
  for (char c : heading) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      blank = !line.empty();
      continue;
    }
    if (blank) line += ' ';
    blank = false;
    line += c;
  }
  return line;
}

bool ReadListNumber(std::string_view text, double& value, int& decimals) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::size_t digits = 0, point = std::string_view::npos,
              i = text.empty() || text[0] != '-' ? 0 : 1;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && point == std::string_view::npos) {
      point = i;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  bool exponent = false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const std::size_t first = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9')
      ++j;
    if (j == first) return false;
    i = j;
    exponent = true;
  }
  if (i != text.size()) return false;
  double parsed = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  value = parsed;
  decimals = exponent ? -1 : point == std::string_view::npos ? 0 : static_cast<int>(i - point - 1);
  return true;
}

std::string ListToCsv(const CListCtrl& list) {
  std::string csv(kUtf8ByteOrderMark);
  for (int c = 0; c < list.GetColumnCount(); ++c) {
    if (c > 0) csv += ',';
    csv += CsvField(OneLineHeading(list.GetColumn(c)->heading));
  }
  csv += "\r\n";
  for (int r = 0; r < list.GetItemCount(); ++r) {
    for (int c = 0; c < list.GetColumnCount(); ++c) {
      if (c > 0) csv += ',';
      csv += CsvField(list.GetItemText(r, c));
    }
    csv += "\r\n";
  }
  return csv;
}

std::string ListToHtml(const CListCtrl& list, std::string_view title) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendEscapedHtml(page, title);
  page +=
      "</title>\n<style>\n"
      "@page { size: landscape; margin: 12mm; }\n"
      "body { font: 9pt sans-serif; color: #000; background: #fff; margin: 0; }\n"
      "h1 { font-size: 13pt; margin: 0 0 6pt; }\n"
      "table { border-collapse: collapse; }\n"
      "th, td { border: 0.5pt solid #777; padding: 1pt 4pt; vertical-align: top; }\n"
      "th { background: #e8e8e8; text-align: center; }\n"
      "td { white-space: nowrap; }\n"
      ".r { text-align: right; } .c { text-align: center; }\n"
      "thead { display: table-header-group; }\n"
      "tr { break-inside: avoid; }\n"
      "</style>\n</head>\n<body>\n<h1>";
  AppendEscapedHtml(page, title);
  page += "</h1>\n<table>\n<thead>\n<tr>";
  for (int c = 0; c < list.GetColumnCount(); ++c) {
    page += "<th>";
    const std::string heading = HeadingLines(list.GetColumn(c)->heading);
    for (std::size_t start = 0; start <= heading.size();) {
      const std::size_t end = std::min(heading.find('\n', start), heading.size());
      if (start > 0) page += "<br>";
      AppendEscapedHtml(page, std::string_view(heading).substr(start, end - start));
      start = end + 1;
    }
    page += "</th>";
  }
  page += "</tr>\n</thead>\n<tbody>\n";
  for (int r = 0; r < list.GetItemCount(); ++r) {
    page += "<tr>";
    for (int c = 0; c < list.GetColumnCount(); ++c) {
      page += "<td";
      page += AlignmentClass(list.GetColumn(c)->format);
      page += '>';
      AppendEscapedHtml(page, TrimBlanks(list.GetItemText(r, c)));
      page += "</td>";
    }
    page += "</tr>\n";
  }
  page += "</tbody>\n</table>\n</body>\n</html>\n";
  return page;
}

bool ExportListCsv(const CListCtrl& list, std::string_view path) {
  return WriteWhole(path, ListToCsv(list));
}

bool ExportListHtml(const CListCtrl& list, std::string_view path, std::string_view title) {
  return WriteWhole(path, ListToHtml(list, title));
}

bool ExportListXlsx(const CListCtrl& list, std::string_view path, std::string_view sheet_name,
                    std::string* problem) {
  const auto fail = [problem](std::string why) {
    if (problem != nullptr) *problem = std::move(why);
    return false;
  };
  if (path.empty()) return fail("no file name");
  std::string temporary = std::string(path) + ".tmp-XXXXXX";
  const int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return fail("cannot create a file beside " + std::string(path));
  ::close(descriptor);
  lxw_workbook* workbook = workbook_new(temporary.c_str());
  if (workbook == nullptr) {
    std::remove(temporary.c_str());
    return fail("cannot start the workbook");
  }
  const lxw_error filled = FillWorkbook(workbook, list, sheet_name);
  // Closing writes the file and frees the workbook; it must happen either way.
  const lxw_error closed = workbook_close(workbook);
  if (filled != LXW_NO_ERROR || closed != LXW_NO_ERROR) {
    std::remove(temporary.c_str());
    return fail(lxw_strerror(filled != LXW_NO_ERROR ? filled : closed));
  }
  // On disk before it replaces the old file, with the permissions a plain create
  // would have given, not mkstemp's 0600.
  const int written = ::open(temporary.c_str(), O_RDONLY);
  const bool synced = written >= 0 && ::fsync(written) == 0;
  if (written >= 0) ::close(written);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (!synced || ::chmod(temporary.c_str(), 0666 & ~mask) != 0 ||
      std::rename(temporary.c_str(), std::string(path).c_str()) != 0) {
    std::remove(temporary.c_str());
    return fail("cannot replace " + std::string(path));
  }
  return true;
}

bool CCsvListCtrlBtn::OnClicked() {
  if (list_ == nullptr || host_ == nullptr) return false;
  const auto path = host_->GetSaveFileName(name_ + ".csv");
  return path && ExportListCsv(*list_, *path);
}

bool CExcelListCtrlBtn::OnClicked() {
  if (list_ == nullptr || host_ == nullptr) return false;
  const auto path = host_->GetSaveFileName(name_ + ".xlsx");
  return path && ExportListXlsx(*list_, *path, name_);
}

bool CPrintListCtrlBtn::OnClicked() {
  if (list_ == nullptr || host_ == nullptr) return false;
  std::error_code error;
  const std::filesystem::path folder = folder_.empty() ? std::filesystem::temp_directory_path(error)
                                                       : std::filesystem::path(folder_);
  if (error) return false;
  const std::string path =
      (folder / ((name_.empty() ? std::string("List") : name_) + ".html")).string();
  if (!ExportListHtml(*list_, path, title_.empty() ? name_ : title_)) return false;
  host_->ShowPrintPage(path);
  return true;
}

}  // namespace orvale
