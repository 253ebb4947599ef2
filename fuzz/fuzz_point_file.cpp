// Comma-separated point files of any bytes: records are split without reading past the
// text, each call moves on, and every row becomes a point inside its bounds or a
// problem with its row number and reason, whichever columns are chosen.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "orvale/dialogs/point_file.h"
#include "orvale/storage/data_folders.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckPoints(const orvale::PointFileResult& result, orvale::PointFileKind kind,
                 std::size_t records) {
  Require(result.ok && result.reason.empty());
  Require(result.points.size() + result.problems.size() <= records + 1);
  std::size_t last = 0;
  for (const orvale::FilePoint& point : result.points) {
    Require(point.row > last && point.row <= records);
    last = point.row;
    Require(std::isfinite(point.first) && std::isfinite(point.second));
    if (kind == orvale::PointFileKind::kGeographical) {
      Require(std::fabs(point.first) <= std::numbers::pi / 2);
      Require(std::fabs(point.second) <= std::numbers::pi);
    }
  }
  for (const orvale::PointFileProblem& problem : result.problems)
    Require(problem.row >= 1 && problem.row <= records + 1 && !problem.reason.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields;
  std::string problem;
  // The file's reader skips a byte-order mark before its first record.
  std::size_t position = text.starts_with("\xEF\xBB\xBF") ? 3 : 0, records = 0;
  for (;;) {
    const std::size_t before = position;
    if (!orvale::ReadCsvRecord(text, position, fields, &problem)) break;
    Require(position > before && position <= size);
    Require(!fields.empty());
    std::size_t bytes = 0;
    for (const std::string& field : fields)
      bytes += field.size();
    Require(bytes <= position - before);
    ++records;
  }
  Require(position <= size);

  orvale::fuzzing::UsePrivateDrive();
  const std::string path = orvale::HostPath(orvale::RecordFolder() + "points.csv");
  orvale::fuzzing::WriteFile(orvale::RecordFolder() + "points.csv", data, size);
  constexpr int kAllGeog[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
  constexpr int kDegreesOnly[] = {-1, 1, -1, -1, 0, 2, -1, -1, 0};
  constexpr int kGrid[] = {2, 0, 1};
  using Kind = orvale::PointFileKind;
  for (const auto& [columns, kind] :
       {std::pair{std::span<const int>(kAllGeog), Kind::kGeographical},
        std::pair{std::span<const int>(kDegreesOnly), Kind::kGeographical},
        std::pair{std::span<const int>(kGrid), Kind::kGrid}}) {
    CheckPoints(orvale::ReadPointFile(path, false, "", columns, kind), kind, records);
  }
  return 0;
}
