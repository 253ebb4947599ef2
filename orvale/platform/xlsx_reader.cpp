#include "orvale/platform/xlsx_reader.h"

#include <expat.h>
#include <zip.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orvale {
namespace {

constexpr std::size_t kRatioFloor = std::size_t{1} << 20;  // small parts compress as they like
constexpr int kChunk = 64 * 1024;
constexpr int kMaxColumns = 16384;  // column XFD, the last a workbook may have

std::string_view LocalName(const XML_Char* name) {
  std::string_view text(name);
  const auto colon = text.rfind(':');
  return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

const XML_Char* Attribute(const XML_Char** attributes, std::string_view local) {
  for (std::size_t i = 0; attributes[i] != nullptr; i += 2)
    if (LocalName(attributes[i]) == local) return attributes[i + 1];
  return nullptr;
}

template <typename T>
bool ReadWhole(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Days from 1970-01-01 to a civil date, and back (proleptic Gregorian).
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

// A part's XML, streamed: what each part makes of its elements.
class XmlPart {
 public:
  virtual ~XmlPart() = default;
  virtual void Start(std::string_view name, const XML_Char** attributes) = 0;
  virtual void End(std::string_view name) = 0;
  virtual void Text(std::string_view) {}

  void Attach(XML_Parser parser) { parser_ = parser; }
  // Stops the parse; an empty reason stops it without failing.
  void Stop(std::string reason) {
    if (stopped_) return;
    stopped_ = true;
    failure_ = std::move(reason);
    XML_StopParser(parser_, XML_FALSE);
  }
  bool stopped() const { return stopped_; }
  const std::string& failure() const { return failure_; }

 private:
  XML_Parser parser_ = nullptr;
  bool stopped_ = false;
  std::string failure_;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto* part = static_cast<XmlPart*>(data);
  if (!part->stopped()) part->Start(LocalName(name), attributes);
}
void XMLCALL OnEnd(void* data, const XML_Char* name) {
  auto* part = static_cast<XmlPart*>(data);
  if (!part->stopped()) part->End(LocalName(name));
}
void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  auto* part = static_cast<XmlPart*>(data);
  if (!part->stopped()) part->Text(std::string_view(text, static_cast<std::size_t>(length)));
}
// A DTD could declare entities that expand without end; no workbook part has one.
void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  static_cast<XmlPart*>(data)->Stop("it declares a document type, which is refused");
}

struct ParserDeleter {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
struct ZipDeleter {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileDeleter {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

class Archive {
 public:
  Archive(const XlsxLimits& limits) : limits_(limits) {}

  bool Open(std::string_view path, std::string& reason) {
    int code = 0;
    zip_.reset(zip_open(std::string(path).c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!zip_) {
      zip_error_t error;
      zip_error_init_with_code(&error, code);
      reason = std::string("it is not a readable workbook (") + zip_error_strerror(&error) + ")";
      zip_error_fini(&error);
      return false;
    }
    const zip_int64_t entries = zip_get_num_entries(zip_.get(), 0);
    if (entries < 0 || static_cast<std::uint64_t>(entries) > limits_.max_entries) {
      reason = "its archive holds " + std::to_string(entries) + " entries, more than the " +
               std::to_string(limits_.max_entries) + " a workbook may have";
      return false;
    }
    return true;
  }

  // Streams the entry `name` through `part`; false with the reason on any failure.
  bool Parse(const std::string& name, XmlPart& part, std::string& reason) {
    const zip_int64_t index = zip_name_locate(zip_.get(), name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) {
      reason = "it has no part " + name;
      return false;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip_.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        (stat.valid & (ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE)) !=
            (ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE)) {
      reason = "its part " + name + " cannot be examined";
      return false;
    }
    if (stat.size > limits_.max_unpacked_bytes - unpacked_) {
      reason = "its part " + name + " unpacks to " + std::to_string(stat.size) +
               " bytes, beyond the " + std::to_string(limits_.max_unpacked_bytes) +
               " bytes allowed";
      return false;
    }
    if (TooCompressed(stat.size, stat.comp_size)) {
      reason = RatioReason(name, stat.size, stat.comp_size);
      return false;
    }
    std::unique_ptr<zip_file_t, ZipFileDeleter> file(
        zip_fopen_index(zip_.get(), static_cast<zip_uint64_t>(index), 0));
    if (!file) {
      reason = "its part " + name + " cannot be unpacked (" + zip_strerror(zip_.get()) + ")";
      return false;
    }
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate("UTF-8"));
    if (!parser) {
      reason = "out of memory";
      return false;
    }
    part.Attach(parser.get());
    XML_SetUserData(parser.get(), &part);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);
    std::uint64_t read = 0;
    for (;;) {
      void* buffer = XML_GetBuffer(parser.get(), kChunk);
      if (buffer == nullptr) {
        reason = "out of memory";
        return false;
      }
      const zip_int64_t got = zip_fread(file.get(), buffer, kChunk);
      if (got < 0) {
        reason = "its part " + name + " is damaged (" + zip_file_strerror(file.get()) + ")";
        return false;
      }
      read += static_cast<std::uint64_t>(got);
      unpacked_ += static_cast<std::size_t>(got);
      // The directory's sizes may lie; what actually comes out is what counts.
      if (read > stat.size || unpacked_ > limits_.max_unpacked_bytes) {
        reason = "its part " + name + " unpacks to more than its archive says";
        return false;
      }
      if (TooCompressed(read, stat.comp_size)) {
        reason = RatioReason(name, read, stat.comp_size);
        return false;
      }
      const bool last = got == 0;
      if (XML_ParseBuffer(parser.get(), static_cast<int>(got), last) != XML_STATUS_OK) {
        if (part.stopped()) {
          if (part.failure().empty()) return true;
          reason = "its part " + name + ": " + part.failure();
          return false;
        }
        reason = "its part " + name + " is not well-formed XML (line " +
                 std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                 XML_ErrorString(XML_GetErrorCode(parser.get())) + ")";
        return false;
      }
      if (last) break;
    }
    if (part.stopped() && !part.failure().empty()) {
      reason = "its part " + name + ": " + part.failure();
      return false;
    }
    return true;
  }

 private:
  bool TooCompressed(std::uint64_t size, std::uint64_t packed) const {
    return size > kRatioFloor && size / limits_.max_ratio > packed;
  }
  std::string RatioReason(const std::string& name, std::uint64_t size, std::uint64_t packed) const {
    return "its part " + name + " unpacks to more than " + std::to_string(limits_.max_ratio) +
           " times its packed size (" + std::to_string(size) + " from " + std::to_string(packed) +
           " bytes), as an archive bomb does";
  }

  XlsxLimits limits_;
  std::unique_ptr<zip_t, ZipDeleter> zip_;
  std::size_t unpacked_ = 0;
};

// "xl/worksheets/../x.xml" and "/xl/x.xml" as archive entry names.
std::string ResolvePart(std::string_view folder, std::string_view target) {
  std::string joined = !target.empty() && target[0] == '/' ? std::string(target.substr(1))
                                                           : std::string(folder).append(target);
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t slash = joined.find('/', start);
    if (slash == std::string::npos) slash = joined.size();
    const std::string segment = joined.substr(start, slash - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = slash + 1;
  }
  std::string path;
  for (const auto& segment : segments)
    path += (path.empty() ? "" : "/") + segment;
  return path;
}

std::string FolderOf(std::string_view part) {
  const auto slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// The relationships file of a part: "xl/workbook.xml" has "xl/_rels/workbook.xml.rels".
std::string RelationshipsOf(std::string_view part) {
  const auto slash = part.rfind('/');
  const std::size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(part.substr(0, name)) + "_rels/" + std::string(part.substr(name)) + ".rels";
}

struct Relationship {
  std::string id, type, target;
};

class RelationshipsPart : public XmlPart {
 public:
  std::vector<Relationship> items;
  void Start(std::string_view name, const XML_Char** attributes) override {
    if (name != "Relationship") return;
    const XML_Char* mode = Attribute(attributes, "TargetMode");
    if (mode != nullptr && std::string_view(mode) == "External") return;
    const XML_Char* id = Attribute(attributes, "Id");
    const XML_Char* type = Attribute(attributes, "Type");
    const XML_Char* target = Attribute(attributes, "Target");
    if (id && type && target) items.push_back({id, type, target});
  }
  void End(std::string_view) override {}
  const Relationship* OfType(std::string_view suffix) const {
    for (const auto& item : items)
      if (item.type.size() >= suffix.size() &&
          std::string_view(item.type).substr(item.type.size() - suffix.size()) == suffix)
        return &item;
    return nullptr;
  }
};

class WorkbookPart : public XmlPart {
 public:
  std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
  bool date1904 = false;
  void Start(std::string_view name, const XML_Char** attributes) override {
    if (name == "workbookPr") {
      const XML_Char* flag = Attribute(attributes, "date1904");
      date1904 = flag && (std::string_view(flag) == "1" || std::string_view(flag) == "true");
    } else if (name == "sheet") {
      const XML_Char* sheet = Attribute(attributes, "name");
      const XML_Char* id = Attribute(attributes, "id");
      if (sheet && id) sheets.emplace_back(sheet, id);
    }
  }
  void End(std::string_view) override {}
};

// Texts made of <t> runs, phonetic guides (<rPh>) left out.
class RunText {
 public:
  void Start(std::string_view name) {
    if (name == "rPh")
      ++phonetic_;
    else if (name == "t" && phonetic_ == 0)
      in_t_ = true;
  }
  void End(std::string_view name) {
    if (name == "rPh")
      --phonetic_;
    else if (name == "t")
      in_t_ = false;
  }
  void Text(std::string_view text) {
    if (in_t_) text_ += text;
  }
  std::string Take() {
    std::string text = XlsxUnescape(text_);
    text_.clear();
    return text;
  }

 private:
  int phonetic_ = 0;
  bool in_t_ = false;
  std::string text_;
};

class SharedStringsPart : public XmlPart {
 public:
  std::vector<std::string> strings;
  void Start(std::string_view name, const XML_Char**) override {
    if (name == "si")
      in_si_ = true;
    else if (in_si_)
      run_.Start(name);
  }
  void End(std::string_view name) override {
    if (name == "si") {
      in_si_ = false;
      strings.push_back(run_.Take());
    } else if (in_si_) {
      run_.End(name);
    }
  }
  void Text(std::string_view text) override { run_.Text(text); }

 private:
  bool in_si_ = false;
  RunText run_;
};

enum class DateKind { kNone, kDate, kTime };

class StylesPart : public XmlPart {
 public:
  std::map<int, std::string> formats;
  std::vector<int> cell_formats;  // number format of each cell style
  void Start(std::string_view name, const XML_Char** attributes) override {
    if (name == "numFmt") {
      const XML_Char* id = Attribute(attributes, "numFmtId");
      const XML_Char* code = Attribute(attributes, "formatCode");
      int value = 0;
      if (id && code && ReadWhole(std::string_view(id), value)) formats[value] = code;
    } else if (name == "cellXfs") {
      in_cell_xfs_ = true;
    } else if (name == "xf" && in_cell_xfs_) {
      const XML_Char* id = Attribute(attributes, "numFmtId");
      int value = 0;
      if (!id || !ReadWhole(std::string_view(id), value)) value = 0;
      cell_formats.push_back(value);
    }
  }
  void End(std::string_view name) override {
    if (name == "cellXfs") in_cell_xfs_ = false;
  }
  std::vector<DateKind> DateKinds() const {
    std::vector<DateKind> kinds;
    for (const int id : cell_formats) {
      const auto found = formats.find(id);
      std::string_view code;
      if (found != formats.end()) code = found->second;
      DateKind kind = DateKind::kNone;
      if (XlsxIsDateFormat(id, code)) {
        const bool time_only = found == formats.end()
                                   ? ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
                                   : code.find_first_of("dDyY") == std::string_view::npos;
        kind = time_only ? DateKind::kTime : DateKind::kDate;
      }
      kinds.push_back(kind);
    }
    return kinds;
  }

 private:
  bool in_cell_xfs_ = false;
};

// Column of a reference such as "AB12" (0 for A), -1 when it has no letters.
int ColumnOf(std::string_view reference) {
  int column = 0;
  std::size_t i = 0;
  for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z'; ++i) {
    column = column * 26 + (reference[i] - 'A' + 1);
    if (column > kMaxColumns) return kMaxColumns;
  }
  return i == 0 ? -1 : column - 1;
}

class SheetPart : public XmlPart {
 public:
  SheetPart(const std::vector<std::string>& strings, const std::vector<DateKind>& dates,
            bool date1904, const XlsxRowCallback& on_row)
      : strings_(strings), dates_(dates), date1904_(date1904), on_row_(on_row) {}
  std::size_t rows = 0;

  void Start(std::string_view name, const XML_Char** attributes) override {
    if (name == "row") {
      std::size_t number = 0;
      const XML_Char* r = Attribute(attributes, "r");
      row_ = r && ReadWhole(std::string_view(r), number) && number > 0 ? number : row_ + 1;
      column_ = -1;
      used_ = 0;
    } else if (name == "c") {
      const XML_Char* r = Attribute(attributes, "r");
      const int column = r ? ColumnOf(r) : -1;
      column_ = column >= 0 ? column : column_ + 1;
      if (column_ >= kMaxColumns) return Stop("a cell lies beyond the last column, XFD");
      const XML_Char* t = Attribute(attributes, "t");
      type_ = t ? t : "n";
      const XML_Char* s = Attribute(attributes, "s");
      style_ = 0;
      if (s && !ReadWhole(std::string_view(s), style_)) style_ = 0;
      value_.clear();
      in_cell_ = true;
    } else if (in_cell_) {
      if (name == "v")
        in_v_ = true;
      else if (name == "is")
        in_is_ = true;
      else if (in_is_)
        run_.Start(name);
    }
  }

  void End(std::string_view name) override {
    if (name == "row") {
      if (used_ == 0) return;
      ++rows;
      if (!on_row_(row_, std::span<const std::string>(cells_.data(), used_))) Stop("");
    } else if (name == "c" && in_cell_) {
      in_cell_ = false;
      std::string text;
      if (!CellText(text)) return;
      if (text.empty()) return;
      const auto column = static_cast<std::size_t>(column_);
      if (cells_.size() <= column) cells_.resize(column + 1);
      for (std::size_t i = used_; i < column; ++i)
        cells_[i].clear();
      cells_[column] = std::move(text);
      if (used_ <= column) used_ = column + 1;
    } else if (name == "v") {
      in_v_ = false;
    } else if (name == "is") {
      in_is_ = false;
    } else if (in_is_) {
      run_.End(name);
    }
  }

  void Text(std::string_view text) override {
    if (in_v_)
      value_ += text;
    else if (in_is_)
      run_.Text(text);
  }

 private:
  bool CellText(std::string& text) {
    if (type_ == "inlineStr") {
      text = run_.Take();
    } else if (type_ == "s") {
      std::size_t index = 0;
      if (!ReadWhole(std::string_view(value_), index) || index >= strings_.size()) {
        Stop("a cell refers to shared text " + value_ + ", which is not there");
        return false;
      }
      text = strings_[index];
    } else if (type_ == "b") {
      text = value_ == "1" ? "TRUE" : value_ == "0" ? "FALSE" : value_;
    } else if (type_ == "str" || type_ == "e") {
      text = XlsxUnescape(value_);
    } else if (type_ == "d") {
      text = value_;  // already ISO 8601
    } else {
      text = value_;
      const DateKind kind = style_ >= 0 && static_cast<std::size_t>(style_) < dates_.size()
                                ? dates_[static_cast<std::size_t>(style_)]
                                : DateKind::kNone;
      double serial = 0;
      std::string iso;
      if (kind != DateKind::kNone && ReadWhole(std::string_view(value_), serial) &&
          XlsxSerialToIso(serial, date1904_, kind == DateKind::kTime, iso))
        text = std::move(iso);
    }
    return true;
  }

  const std::vector<std::string>& strings_;
  const std::vector<DateKind>& dates_;
  bool date1904_;
  const XlsxRowCallback& on_row_;
  std::size_t row_ = 0;
  int column_ = -1;
  std::vector<std::string> cells_;
  std::size_t used_ = 0;
  bool in_cell_ = false, in_v_ = false, in_is_ = false;
  std::string type_, value_;
  int style_ = 0;
  RunText run_;
};

XlsxSheetResult Refused(std::string reason) {
  XlsxSheetResult result;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

bool XlsxSerialToIso(double serial, bool date1904, bool time_only, std::string& text) {
  if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return false;
  auto days = static_cast<std::int64_t>(std::floor(serial));
  auto seconds =
      static_cast<std::int64_t>(std::llround((serial - static_cast<double>(days)) * 86400));
  if (seconds == 86400) {
    ++days;
    seconds = 0;
  }
  char buffer[32];
  const int h = static_cast<int>(seconds / 3600), mi = static_cast<int>(seconds / 60 % 60),
            s = static_cast<int>(seconds % 60);
  if (time_only || (!date1904 && days == 0)) {
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", h, mi, s);
    text = buffer;
    return true;
  }
  int y = 0, m = 0, d = 0;
  if (date1904) {
    CivilFromDays(days - 24107, y, m, d);  // day 0 is 1904-01-01
  } else if (days == 60) {
    // Lotus 1-2-3 took 1900 for a leap year and Excel keeps its 29 February.
    y = 1900, m = 2, d = 29;
  } else {
    CivilFromDays(days - (days < 60 ? 25568 : 25569), y, m, d);  // day 1 is 1900-01-01
  }
  if (seconds == 0)
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", y, m, d, h, mi, s);
  text = buffer;
  return true;
}

bool XlsxIsDateFormat(int id, std::string_view code) {
  if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)) return true;
  bool quoted = false, bracket = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (quoted) {
      quoted = c != '"';
    } else if (bracket) {
      // [h] and [mm] are elapsed times; [Red] and [$-409] are not fields.
      if (c == ']')
        bracket = false;
      else if ((c == 'h' || c == 'H') && i > 0 && code[i - 1] == '[')
        return true;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '[') {
      bracket = true;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is literal, or padding
    } else if (c == ';') {
      break;  // the other sections repeat the first
    } else if (std::string_view("dDmMyYhH").find(c) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::string XlsxUnescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t code = 0;
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      const std::string_view hex = text.substr(i + 2, 4);
      const auto [ptr, ec] = std::from_chars(hex.data(), hex.data() + 4, code, 16);
      if (ec == std::errc() && ptr == hex.data() + 4) {
        AppendUtf8(out, code);
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

XlsxSheetResult ReadXlsxSheet(std::string_view path, std::string_view sheet,
                              const XlsxRowCallback& on_row, const XlsxLimits& limits) {
  XlsxSheetResult result;
  Archive archive(limits);
  std::string reason;
  if (!archive.Open(path, reason)) return Refused(reason);

  RelationshipsPart package;
  if (!archive.Parse("_rels/.rels", package, reason)) return Refused(reason);
  const Relationship* office = package.OfType("/officeDocument");
  if (office == nullptr) return Refused("it names no workbook");
  const std::string workbook_name = ResolvePart("", office->target);

  WorkbookPart workbook;
  if (!archive.Parse(workbook_name, workbook, reason)) return Refused(reason);
  RelationshipsPart parts;
  if (!archive.Parse(RelationshipsOf(workbook_name), parts, reason)) return Refused(reason);
  if (workbook.sheets.empty()) return Refused("it has no sheets");

  std::size_t chosen = workbook.sheets.size();
  for (std::size_t i = 0; i < workbook.sheets.size() && chosen == workbook.sheets.size(); ++i)
    if (workbook.sheets[i].first == sheet) chosen = i;
  std::size_t number = 0;
  if (chosen == workbook.sheets.size()) {
    if (sheet.empty())
      chosen = 0;
    else if (ReadWhole(sheet, number) && number >= 1 && number <= workbook.sheets.size())
      chosen = number - 1;
  }
  if (chosen == workbook.sheets.size()) {
    std::string names;
    for (const auto& [name, id] : workbook.sheets)
      names += (names.empty() ? "" : ", ") + name;
    return Refused("it has no sheet " + std::string(sheet) + " (its sheets: " + names + ")");
  }
  result.sheet_name = workbook.sheets[chosen].first;

  const std::string folder = FolderOf(workbook_name);
  std::string sheet_part;
  for (const auto& item : parts.items)
    if (item.id == workbook.sheets[chosen].second) sheet_part = ResolvePart(folder, item.target);
  if (sheet_part.empty()) return Refused("its sheet " + result.sheet_name + " has no part");

  SharedStringsPart strings;
  if (const Relationship* shared = parts.OfType("/sharedStrings"))
    if (!archive.Parse(ResolvePart(folder, shared->target), strings, reason))
      return Refused(reason);
  StylesPart styles;
  if (const Relationship* found = parts.OfType("/styles"))
    if (!archive.Parse(ResolvePart(folder, found->target), styles, reason)) return Refused(reason);
  const std::vector<DateKind> dates = styles.DateKinds();

  SheetPart rows(strings.strings, dates, workbook.date1904, on_row);
  if (!archive.Parse(sheet_part, rows, reason)) return Refused(reason);
  result.ok = true;
  result.rows = rows.rows;
  return result;
}

}  // namespace orvale
