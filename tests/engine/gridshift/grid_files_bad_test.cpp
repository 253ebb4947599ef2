// Grid files that are damaged, cut short or hostile: the reader is left empty, says
// why, allocates nothing the file cannot back, and never crashes (the sanitizer build
// runs these; fuzz/fuzz_grid_files.cpp throws random bytes at the same readers).

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "orvale/engine/gridshift/nadcon.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/engine/gridshift/ostn15.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

// Applies the edits of a table row ("cut 100; int32 8 12; ...") to `bytes`.
void Edit(std::string& bytes, const std::string& edits) {
  std::istringstream all(edits);
  for (std::string edit; std::getline(all, edit, ';');) {
    std::istringstream in(edit);
    std::string kind, value;
    std::size_t offset = 0;
    in >> kind >> offset >> value;
    std::string encoded;
    if (kind == "cut") {
      bytes.resize(offset);
    } else if (kind == "random") {
      std::mt19937 noise(7);
      bytes.resize(offset);
      for (char& c : bytes)
        c = static_cast<char>(noise());
    } else if (kind == "int32") {
      AppendInt32Le(encoded, std::stoi(value));
    } else if (kind == "double") {
      AppendDoubleLe(encoded, std::stod(value));
    } else if (kind == "text") {
      encoded = value;
      encoded.resize(8, ' ');
    } else {
      FAIL() << "unknown edit " << edit;
    }
    ASSERT_LE(offset + encoded.size(), bytes.size()) << edit;
    bytes.replace(offset, encoded.size(), encoded);
  }
}

class BadGridFileTest : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_FALSE(RecordFolder().empty());
  }
};

TEST_F(BadGridFileTest, NTv2FilesAreRefusedWithTheirReason) {
  const std::map<std::string, GridFileProblem> problems = {
      {"too-short", GridFileProblem::kTooShort},
      {"not-ntv2", GridFileProblem::kNotNTv2},
      {"units", GridFileProblem::kUnsupportedUnits},
      {"bad-sub-grid", GridFileProblem::kBadSubGrid}};
  std::vector<testing::NTv2SubGridLayout> grids = {{"A", "NONE", 0, 720, 0, 1200, 360, 600, {}, {}},
                                                   {"B", "A", 0, 360, 0, 600, 180, 300, {}, {}}};
  for (auto& grid : grids)
    testing::FillNodes(grid, [](int r, int c) { return std::pair(r + 0.5, c - 0.5); });
  const std::string valid = testing::NTv2FileBytes(grids);
  ASSERT_EQ(valid.size(), 832u);  // the offsets the table names

  WriteBytes(InGlobal("valid.gsb"), valid);
  CNTv2 reader;
  ASSERT_TRUE(LoadNTv2File(reader, InGlobal("valid.gsb")).ok());
  const CNTv2 copy = reader;
  for (const testing::TextRow& row : testing::ReadTextTable("gridshift/ntv2_bad_files.txt", 3)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::string bytes = valid;
    Edit(bytes, row[1]);
    WriteBytes(InGlobal("bad.gsb"), bytes);
    const GridFileStatus status = LoadNTv2File(reader, InGlobal("bad.gsb"));
    EXPECT_EQ(status.problem, problems.at(row[2])) << status.reason;
    EXPECT_FALSE(status.reason.empty());
    EXPECT_TRUE(reader.IsEmpty());
    EXPECT_LT(reader.Interpolate(nullptr, nullptr, 0.001, -0.001), 0);
  }
  EXPECT_EQ(copy.m_SubGrids->size(), 2u);  // what was loaded before stays with its copies
}

TEST_F(BadGridFileTest, NadconPairsAreRefusedAndTheRegionLeftUnloaded) {
  testing::NadconGridLayout grid;
  grid.columns = 5;
  grid.rows = 3;
  grid.xmin = -216.0f;
  grid.dx = 0.5f;
  grid.ymin = 13.0f;
  grid.dy = 0.5f;
  grid.values.assign(15, 1.5f);
  const std::string valid = testing::NadconFileBytes(grid);
  ASSERT_EQ(valid.size(), 168u);
  for (const testing::TextRow& row : testing::ReadTextTable("gridshift/nadcon_bad_files.txt", 2)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::string bytes = valid;
    Edit(bytes, row[1]);
    WriteBytes(InGlobal("GUHPGN.las"), bytes);
    WriteBytes(InGlobal("GUHPGN.los"), bytes);
    NadconGridSet set;
    EXPECT_FALSE(LoadNadconRegion(set, "GUHPGN"));
    EXPECT_EQ(set.m_LatitudeGrid, nullptr);
    EXPECT_EQ(set.m_LongitudeGrid, nullptr);
    double latitude = 1.0, longitude = 1.0;
    EXPECT_FALSE(ApplyNadcon(latitude, longitude, set, kNad83ToHpgn, 13.6, 144.6));
    EXPECT_EQ(set.m_Description, "Not Selected");
  }
  // The same pair undamaged loads, so each refusal above is the edit's doing.
  WriteBytes(InGlobal("GUHPGN.las"), valid);
  WriteBytes(InGlobal("GUHPGN.los"), valid);
  NadconGridSet set;
  EXPECT_TRUE(LoadNadconRegion(set, "GUHPGN"));
}

TEST_F(BadGridFileTest, OstnPairsAreRefusedAndThePairLeftEmpty) {
  const std::map<std::string, GridFileProblem> problems = {
      {"cannot-open", GridFileProblem::kCannotOpen},
      {"too-short", GridFileProblem::kTooShort},
      {"not-ntv2", GridFileProblem::kNotNTv2},
      {"units", GridFileProblem::kUnsupportedUnits},
      {"bad-sub-grid", GridFileProblem::kBadSubGrid}};
  testing::NTv2SubGridLayout grid{"OSTN15", "NONE", 180000, 181800, -1800, 0, 900, 900, {}, {}};
  testing::FillNodes(grid, [](int r, int c) { return std::pair(r + 0.5, c - 0.5); });
  const std::string first = testing::OstnFileBytes(grid, testing::OstnFileSense::kEtrsToOsgb);
  const std::string second = testing::OstnFileBytes(grid, testing::OstnFileSense::kOsgbToEtrs);
  ASSERT_EQ(first.size(), 512u);  // the offsets the table names
  const std::string folder = Root() + "/";
  const auto write = [&](const std::string& first_bytes, const std::string& second_bytes) {
    WriteBytes(folder + std::string(kOstnEtrsToOsgbFileName), first_bytes);
    WriteBytes(folder + std::string(kOstnOsgbToEtrsFileName), second_bytes);
  };
  write(first, second);
  OstnGridPair pair;
  ASSERT_TRUE(LoadOstnGrids(pair, folder).ok()) << "undamaged, the pair loads";
  for (const testing::TextRow& row : testing::ReadTextTable("gridshift/ostn15_bad_files.txt", 4)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    std::string bytes = row[1] == "first" ? first : second;
    Edit(bytes, row[2]);
    row[1] == "first" ? write(bytes, second) : write(first, bytes);
    const GridFileStatus status = LoadOstnGrids(pair, folder);
    EXPECT_EQ(status.problem, problems.at(row[3])) << status.reason;
    const std::string_view named =
        row[1] == "first" ? kOstnEtrsToOsgbFileName : kOstnOsgbToEtrsFileName;
    EXPECT_NE(status.reason.find(named), std::string::npos) << status.reason;
    EXPECT_TRUE(pair.IsEmpty());
    double easting = 0.0, northing = 0.0;
    EXPECT_FALSE(OstnForward(pair, easting, northing, 0.8737, 0.001));
  }
}

}  // namespace
}  // namespace orvale
