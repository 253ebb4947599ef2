#include "projection_select.h"

#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

#include "orvale/engine/projection/projection_records.h"
#include "orvale/platform/text_encoding.h"
#include "projection_setup.h"
#include "text_options.h"

namespace orvale::cli {
namespace {

constexpr int kMostNamesListed = 8;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool WholeNumber(std::string_view text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

std::string Reference(const CatalogueEntry& entry) {
  return std::to_string(entry.type) + "/" + std::to_string(entry.index);
}

bool Load(const CatalogueEntry& entry, int method, CProjection& projection) {
  if (entry.file.empty()) return projection.SetFromIndex(entry.index, entry.type, method);
  if (!projection.ReadRecordFile(entry.file)) return false;
  projection.m_Index = entry.index;
  return true;
}

// Loads an entry into `projection` only once it is known to load, so that a failed
// selection leaves the caller's projection as it was.
bool LoadChecked(const CatalogueEntry& entry, int method, CProjection& projection) {
  CSpheroid spheroid;
  CProjection trial;
  trial.m_Spheroid = &spheroid;
  return Load(entry, method, trial) && Load(entry, method, projection);
}

// "TYPE/ROW" or "TYPE/ROW/METHOD"; false when the text is not of that form.
bool ParseTypeAndRow(std::string_view text, int& type, int& row, int& method, bool& has_method) {
  const auto first = text.find('/');
  if (first == std::string_view::npos) return false;
  const std::string_view rest = text.substr(first + 1);
  const auto second = rest.find('/');
  std::string problem;
  method = 0;
  has_method = second != std::string_view::npos;
  return ProjectionTypeFromText(std::string(Trim(text.substr(0, first))), type, problem) &&
         WholeNumber(Trim(rest.substr(0, second)), row) &&
         (second == std::string_view::npos || WholeNumber(Trim(rest.substr(second + 1)), method));
}

// "utm:31", "utm:31n", "utm:31s"; false when the text is not of that form.
bool ParseUtmZone(std::string_view text, int& zone, bool& south) {
  const std::string lower = Lower(text);
  if (!lower.starts_with("utm:")) return false;
  std::string_view number = Trim(std::string_view(lower).substr(4));
  south = number.ends_with('s');
  if (south || number.ends_with('n')) number.remove_suffix(1);
  return WholeNumber(number, zone);
}

bool SelectByName(const std::string& text, CProjection& projection, std::string& problem) {
  const auto bytes = Utf8ToCp1252(text);
  if (!bytes) {
    problem = "'" + text + "' holds a character that no projection name has";
    return false;
  }
  const std::string wanted = Lower(Trim(*bytes));
  std::vector<CatalogueEntry> full_matches;
  std::vector<CatalogueEntry> name_matches;
  std::vector<std::string> labels;
  CSpheroid spheroid;
  CProjection scratch;
  scratch.m_Spheroid = &spheroid;
  VisitCatalogue(-1, scratch, [&](const CatalogueEntry& entry, const CProjection& p) {
    if (!entry.readable) return;
    const std::string name = Lower(p.m_Name);
    const std::string full = p.m_Country.empty() ? name : name + " " + Lower(p.m_Country);
    if (wanted == full) full_matches.push_back(entry);
    if (wanted == name) name_matches.push_back(entry);
  });
  const std::vector<CatalogueEntry>& matches = full_matches.empty() ? name_matches : full_matches;
  if (matches.size() == 1) return LoadChecked(matches.front(), 0, projection);
  if (matches.empty()) {
    problem = "no projection called '" + text + "' (see 'orvale projections')";
    return false;
  }
  problem = "'" + text + "' names " + std::to_string(matches.size()) +
            " projections; give the country too, or one of:";
  for (std::size_t k = 0; k < matches.size() && k < kMostNamesListed; ++k) {
    problem += " " + Reference(matches[k]);
  }
  if (matches.size() > kMostNamesListed) problem += " ...";
  return false;
}

}  // namespace

bool ProjectionTypeFromText(const std::string& text, int& type, std::string& problem) {
  return LookUp(ProjectionTypeNames(), Lower(text), type, problem);
}

std::vector<std::string> VisitCatalogue(
    int type, CProjection& scratch,
    const std::function<void(const CatalogueEntry&, const CProjection&)>& visit) {
  ProjectionRecordsByType records = ListProjectionRecords();
  for (int t = 0; t < kProjectionTypeCount; ++t) {
    if (type >= 0 && t != type) continue;
    for (int index = 0; scratch.SetFromCatalogue(index, t, 0); ++index) {
      visit({t, index, "", true}, scratch);
    }
    const int first = CProjection::CatalogueRowCount(t);
    const auto& own = records.files[static_cast<std::size_t>(t)];
    for (std::size_t k = 0; k < own.size(); ++k) {
      const bool readable = scratch.ReadRecordFile(own[k]);
      visit({t, first + static_cast<int>(k), own[k], readable}, scratch);
    }
  }
  return std::move(records.unreadable);
}

bool SelectProjection(const std::string& text, CProjection& projection, std::string& problem) {
  int zone = 0;
  bool south = false;
  if (ParseUtmZone(text, zone, south)) {
    if (LoadChecked({PROJECTION_UTM, zone, "", true}, south ? 1 : 0, projection)) return true;
    problem = "no UTM zone " + std::to_string(zone) + " (zones 0 to 61)";
    return false;
  }
  int type = 0;
  int row = 0;
  int method = 0;
  bool has_method = false;
  if (ParseTypeAndRow(text, type, row, method, has_method)) {
    CSpheroid spheroid;
    CProjection trial;
    trial.m_Spheroid = &spheroid;
    // A row that holds its own method (a Lambert row is one- or two-parallel) loads
    // as that method whatever was asked: say so rather than give another projection.
    if (has_method && Load({type, row, "", true}, method, trial) && trial.m_Method != method) {
      problem = "'" + text + "' asks for method " + std::to_string(method) + ", but row " +
                std::to_string(row) + " of its type is method " + std::to_string(trial.m_Method) +
                " (" + Cp1252ToUtf8(CProjection::MethodText(type, trial.m_Method)) + ")";
      return false;
    }
    if (LoadChecked({type, row, "", true}, method, projection)) return true;
    problem = "no projection " + std::to_string(type) + "/" + std::to_string(row) +
              " (see 'orvale projections --type " + std::to_string(type) + "')";
    return false;
  }
  return SelectByName(text, projection, problem);
}

}  // namespace orvale::cli
