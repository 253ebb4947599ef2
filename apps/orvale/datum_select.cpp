#include "datum_select.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/platform/text_encoding.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

constexpr std::array<NamedValue, 10> kShiftTypes = {{
    {"none", kNoDatumShift, "No datum Shift"},
    {"wgs84", kWgs84Shifts, "WGS84 Shifts"},
    {"ordnance-survey", kOrdnanceSurvey, "Ordnance Survey (OSTN15)"},
    {"norwegian", kNorwegianShifts, "Norwegian Shifts"},
    {"nadcon", kNadconShifts, "NADCON Shifts"},
    {"ntv2", kCanadaNtv2, "Canada NTv2"},
    {"other", kOtherShifts, "Other Shifts"},
    {"user", kUserDefinedShifts, "User Defined Shifts (*.DMF records)"},
    {"latlon", kLatLonShifts, "Lat / Lon Shifts (*.GSF records)"},
    {"grid", kGridShifts, "Grid Shifts (*.GRD records)"},
}};

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ReadCount(const std::string& text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "TYPE/NUMBER": false when the text is not of that form (it may be a name).
bool SelectByNumber(const std::string& text, CDatum& datum, bool& matched, std::string& problem) {
  const auto slash = text.find('/');
  int number = 0;
  matched = false;
  if (slash == std::string::npos || !ReadCount(Trim(text.substr(slash + 1)), number)) return true;
  int type = 0;
  if (!ShiftTypeFromText(Trim(text.substr(0, slash)), type, problem)) return false;
  matched = true;
  const int count = DatumEntryCount(type);
  if (number < 0 || number >= count) {
    problem = "'" + text + "': " + std::string(ShiftTypeName(type)) + " has " +
              (count == 0 ? "no entries" : "entries 0.." + std::to_string(count - 1));
    if (type >= kUserDefinedShifts && count == 0)
      problem += " (its record files, see 'orvale folders')";
    return false;
  }
  if (!datum.SetFromCatalogue(type, number, 1)) {
    problem = "'" + text + "': the entry cannot be read";
    if (const auto kind = DatumRecordKindOfType(type)) {
      const auto files = DatumRecordFiles(type);
      CDatum scratch;
      const RecordStatus status =
          ReadDatumRecord(scratch, files[static_cast<std::size_t>(number)], *kind);
      problem += ": " + Cp1252ToUtf8(status.reason);
    }
    return false;
  }
  return true;
}

}  // namespace

bool ShiftTypeFromText(const std::string& text, int& type, std::string& problem) {
  if (LookUp(kShiftTypes, Lower(text), type, problem)) return true;
  problem = "datum shift type: " + problem;
  return false;
}

std::string ShiftTypeHelp() {
  return Describe(kShiftTypes);
}

int DatumEntryCount(int type) {
  return DatumRecordKindOfType(type) ? static_cast<int>(DatumRecordFiles(type).size())
                                     : BuiltInEntryCount(type);
}

bool SelectDatum(const std::string& text, CDatum& datum, std::string& problem) {
  bool matched = false;
  if (!SelectByNumber(text, datum, matched, problem)) return false;
  if (matched) return true;
  // Each entry is named on a datum of its own, whose target is a scratch spheroid, so
  // that the search leaves the caller's target as it was until one matches.
  const std::string wanted = Lower(Trim(text));
  CSpheroid scratch_target;
  for (int type = 0; type < kShiftTypeCount; ++type) {
    const int count = DatumEntryCount(type);
    for (int number = 0; number < count; ++number) {
      CDatum candidate;
      candidate.m_TargetSpheroid = &scratch_target;
      if (!candidate.SetFromCatalogue(type, number, 1)) continue;
      const bool same =
          Lower(Cp1252ToUtf8(candidate.GetName())) == wanted ||
          (!candidate.m_FileTitle.empty() && Lower(Cp1252ToUtf8(candidate.m_FileTitle)) == wanted);
      if (same) {
        if (datum.SetFromCatalogue(type, number, 1)) return true;
        problem = "'" + text + "': the entry cannot be read";
        return false;
      }
    }
  }
  problem = "no datum shift '" + text + "'; see 'orvale datums' for TYPE/NUMBER and the names";
  return false;
}

}  // namespace orvale::cli
