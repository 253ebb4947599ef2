// NTv2 sub-grids on files written from known arrays: which grid a point falls in,
// the nodes of its cell, truncation to 0.00001", both byte orders, copies that share
// their nodes, and the settings file a reader leaves behind.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/gridshift/ntv2.h"
#include "orvale/engine/gridshift/ntv2_file.h"
#include "orvale/platform/files.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "support/grid_file_writer.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::FillNodes;
using testing::NTv2SubGridLayout;

using Shift = std::function<std::pair<double, double>(double row, double column)>;

// Shifts bilinear in row and column, with dyadic coefficients that floats hold exactly.
const std::map<std::string, Shift>& Shifts() {
  static const std::map<std::string, Shift> shifts = {
      {"PARENT",
       [](double r, double c) {
         return std::pair(1 + 0.5 * r + 0.25 * c + 0.125 * r * c,
                          -2 + 0.75 * r - 0.5 * c + 0.0625 * r * c);
       }},
      {"CHILD",
       [](double r, double c) {
         return std::pair(10 + r - 0.5 * c + 0.25 * r * c, 20 - 0.25 * r + c - 0.125 * r * c);
       }},
      {"NORTH", [](double r, double c) { return std::pair(5 + r, 6 + c + 0.5 * r * c); }},
      {"SOUTHERN", [](double r, double c) { return std::pair(-3 - r * c, 4 + 2 * r - c); }},
  };
  return shifts;
}

std::vector<NTv2SubGridLayout> SyntheticGrids() {
  std::vector<NTv2SubGridLayout> grids = {
      {"PARENT", "NONE", 180000, 181440, 36000, 37800, 360, 600, {}, {}},
      {"NORTH", "NONE", 181440, 182160, 36000, 37800, 360, 600, {}, {}},
      {"CHILD", "PARENT", 180360, 181080, 36600, 37200, 120, 200, {}, {}},
      {"SOUTHERN", "NONE", -172800, -171360, -600000, -598200, 360, 600, {}, {}},
  };
  for (NTv2SubGridLayout& grid : grids)
    FillNodes(grid, Shifts().at(grid.name));
  return grids;
}

double Radians(double seconds) {
  return seconds / kSecondsPerDegree * kRadiansPerDegree;
}

class NTv2Test : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_FALSE(RecordFolder().empty());  // made on first use, as the library does
  }

  CNTv2 Load(const testing::NTv2FileOptions& options = {}) {
    WriteBytes(InGlobal("synthetic.gsb"), testing::NTv2FileBytes(SyntheticGrids(), options));
    CNTv2 reader;
    const GridFileStatus status = LoadNTv2File(reader, InGlobal("synthetic.gsb"));
    EXPECT_TRUE(status.ok()) << status.reason;
    return reader;
  }
};

void ExpectTheSyntheticPoints(CNTv2& reader) {
  ASSERT_FALSE(reader.IsEmpty());
  const std::vector<DataSetDef>& grids = *reader.m_SubGrids;
  for (const testing::TextRow& row :
       testing::ReadTextTable("gridshift/ntv2_synthetic_points.txt", 5)) {
    SCOPED_TRACE(row.where + " " + row[0]);
    const std::vector<double> in = row.Numbers(1);
    double latitude = 99.0, longitude = 99.0;
    const int index = reader.Interpolate(&latitude, &longitude, Radians(in[0]), Radians(-in[1]));
    if (row[2] == "-") {
      EXPECT_LT(index, 0);
      EXPECT_EQ(latitude, 99.0);  // untouched
      EXPECT_EQ(longitude, 99.0);
      continue;
    }
    ASSERT_GE(index, 0);
    const DataSetDef& grid = grids[static_cast<std::size_t>(index)];
    ASSERT_EQ(grid.m_Name, row[2]);
    const std::vector<double> addressed = row.Numbers(3);
    const std::vector<double> cell = row.Numbers(4);
    const double r =
        std::isnan(cell[0]) ? (addressed[0] - grid.m_South) / grid.m_LatIncrement : cell[0];
    const double c =
        std::isnan(cell[1]) ? (addressed[1] - grid.m_East) / grid.m_LonIncrement : cell[1];
    const auto [latitude_shift, longitude_shift] = Shifts().at(grid.m_Name)(r, c);
    // The output is the addressed (truncated) position plus the shifts; one
    // 0.00001" step is 4.8e-11 radians, far above the tolerance.
    EXPECT_NEAR(latitude, Radians(addressed[0] + latitude_shift), 1e-14);
    EXPECT_NEAR(longitude, -Radians(addressed[1] + longitude_shift), 1e-14);
    EXPECT_EQ(reader.m_Selected, index);
  }
}

TEST_F(NTv2Test, FindsTheGridAndCellOfEveryListedPoint) {
  CNTv2 reader = Load();
  ExpectTheSyntheticPoints(reader);
}

TEST_F(NTv2Test, ReadsBigEndianFilesAsLittleEndianOnes) {
  testing::NTv2FileOptions options;
  options.big_endian = true;
  CNTv2 reader = Load(options);
  ExpectTheSyntheticPoints(reader);
}

TEST_F(NTv2Test, KeepsEveryHeaderValueAndNodeOfTheFile) {
  const CNTv2 reader = Load();
  const std::vector<NTv2SubGridLayout> layouts = SyntheticGrids();
  ASSERT_EQ(reader.m_SubGrids->size(), layouts.size());
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    const DataSetDef& grid = (*reader.m_SubGrids)[i];
    const NTv2SubGridLayout& layout = layouts[i];
    EXPECT_EQ(std::tie(grid.m_Name, grid.m_Parent, grid.m_Created, grid.m_Updated),
              std::tie(layout.name, layout.parent, "20260101", "20260102"));
    EXPECT_EQ(std::tie(grid.m_South, grid.m_North, grid.m_East, grid.m_West),
              std::tie(layout.south, layout.north, layout.east, layout.west));
    EXPECT_EQ(std::pair(grid.m_LatIncrement, grid.m_LonIncrement),
              std::pair(layout.lat_increment, layout.lon_increment));
    ASSERT_EQ(grid.m_Nodes.size(), layout.nodes.size());
    for (std::size_t k = 0; k < layout.nodes.size(); ++k) {
      const GridShiftRecordDef &a = grid.m_Nodes[k], &b = layout.nodes[k];
      EXPECT_EQ(std::tie(a.m_LatShift, a.m_LonShift, a.m_LatAccuracy, a.m_LonAccuracy),
                std::tie(b.m_LatShift, b.m_LonShift, b.m_LatAccuracy, b.m_LonAccuracy));
    }
  }
}

TEST_F(NTv2Test, FindSubGridTakesSecondsNorthAndWestPositive) {
  const CNTv2 reader = Load();
  EXPECT_EQ(reader.FindSubGrid(180100, 36100), 0);
  EXPECT_EQ(reader.FindSubGrid(180400, 36700), 2);
  EXPECT_EQ(reader.FindSubGrid(-172000, -599000), 3);
  EXPECT_EQ(CNTv2().FindSubGrid(180100, 36100), -1);
  EXPECT_EQ(reader.FindSubGrid(std::nan(""), 36100), -1);
}

TEST_F(NTv2Test, CopiesShareTheNodesAndOutliveAReload) {
  CNTv2 reader = Load();
  const CNTv2 copy = reader;
  CNTv2 assigned;
  assigned = copy;
  EXPECT_EQ(copy.m_SubGrids.get(), reader.m_SubGrids.get());
  EXPECT_EQ(assigned.m_SubGrids.get(), reader.m_SubGrids.get());
  const GridShiftRecordDef* nodes = (*reader.m_SubGrids)[0].m_Nodes.data();
  EXPECT_FALSE(LoadNTv2File(reader, InGlobal("missing.gsb")).ok());
  EXPECT_TRUE(reader.IsEmpty());
  ASSERT_FALSE(copy.IsEmpty());
  EXPECT_EQ((*copy.m_SubGrids)[0].m_Nodes.data(), nodes);
}

// Reads the "NTv2" settings file: the four values and their keys, or nothing.
std::vector<std::pair<std::string, double>> ReadNTv2Settings() {
  std::vector<std::pair<std::string, double>> values;
  CConfigFile file;
  if (!file.OpenForRead("NTv2")) return values;
  for (std::string line; file.ReadString(line);)
    values.emplace_back(line.substr(0, line.find(" = ")),
                        std::stod(line.substr(line.find('=') + 1)));
  return values;
}

TEST_F(NTv2Test, OnlyAReaderThatInterpolatedWritesItsLastPositions) {
  const std::string path = CConfigFile().GetSettingsPath("NTv2");
  {
    CNTv2 reader = Load();
    double latitude = 0.0, longitude = 0.0;
    ASSERT_EQ(reader.Interpolate(&latitude, &longitude, Radians(180100), Radians(-36100)), 0);
    { const CNTv2 copy = reader; }
    { CNTv2 unused = Load(); }
    EXPECT_FALSE(FileExists(path)) << "a copy or an idle reader wrote the settings";
    ASSERT_EQ(reader.Interpolate(nullptr, nullptr, Radians(180200), Radians(-36200)), 0);
    EXPECT_NE(reader.m_LastOutputLatitude, 0.0);
  }
  const auto values = ReadNTv2Settings();
  ASSERT_EQ(values.size(), 4u);
  const std::vector<std::pair<std::string, double>> expected = {
      {"NAD27 Latitude", Radians(180200)},
      {"NAD27 Longitude", Radians(-36200)},
      {"NAD83 Latitude", Radians(180200 + Shifts().at("PARENT")(200 / 360.0, 200 / 600.0).first)},
      {"NAD83 Longitude",
       -Radians(36200 + Shifts().at("PARENT")(200 / 360.0, 200 / 600.0).second)}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(values[i].first, expected[i].first);
    EXPECT_NEAR(values[i].second, expected[i].second, 1e-15);  // 16 decimals
  }
}

TEST_F(NTv2Test, TheCanadaGridIsTheGlobalFoldersNtv20File) {
  CNTv2 reader = Load();
  const GridFileStatus missing = LoadCanadaNTv2(reader);
  EXPECT_EQ(missing.problem, GridFileProblem::kCannotOpen);
  EXPECT_TRUE(reader.IsEmpty());
  EXPECT_LT(reader.Interpolate(nullptr, nullptr, Radians(180100), Radians(-36100)), 0);

  WriteBytes(InGlobal(std::string(kCanadaNTv2FileName)), testing::NTv2FileBytes(SyntheticGrids()));
  const GridFileStatus found = LoadCanadaNTv2(reader);
  EXPECT_TRUE(found.ok()) << found.reason;
  EXPECT_EQ(reader.m_SubGrids->size(), 4u);
}

}  // namespace
}  // namespace orvale
