// Datum record files: their bytes, reading them back, the files that cannot be read,
// the grid-shift coefficients of a "GRD" file, the file types of the catalogue, and the
// selection settings written for the host.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "datum_fixture.h"
#include "orvale/engine/datum/datum.h"
#include "orvale/engine/datum/datum_catalogue.h"
#include "orvale/engine/datum/datum_records.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::AttachedDatum;
using testing::Definition;
using testing::kAiry1830;
using testing::kInternational;
using testing::kWgs84;
using testing::Seven;
using testing::SpheroidRow;
using testing::Values;

// The bytes of a hex dump under tests/data: pairs of hex digits, "#" to the end of a
// line a comment.
std::string HexFile(const std::string& name) {
  std::ifstream in(std::filesystem::path(ORVALE_TEST_DATA_DIR) / name);
  EXPECT_TRUE(in) << name;
  std::string bytes;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    for (std::string word; words >> word;)
      bytes += static_cast<char>(std::stoi(word, nullptr, 16));
  }
  return bytes;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += line + "\n";
  return bytes;
}

class DatumRecords : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), InGlobal(""));
  }

  // A whole record of the kind, on WGS84 and International, with a block of the
  // kind's size whose doubles are 1, 2, 3, ... and whose rotation method is 1.
  static std::string WholeRecord(DatumRecordKind kind) {
    std::string bytes =
        Lines({"From", "To", "Variant", "WGS84", "", "International Spheroid", "(Hayford 1910)"});
    const std::size_t size = DatumRecordBlockSize(kind);
    std::string block;
    for (double value = 1.0; block.size() < std::min<std::size_t>(size, 136); value += 1.0)
      AppendDoubleLe(block, value);
    block.resize(size, '\0');
    if (kind == DatumRecordKind::kHelmert) {
      std::string method;
      AppendInt32Le(method, 1);
      block.replace(56, 4, method);
      block[136] = 1;
    }
    return bytes + block;
  }
};

// The record of the published UKOOA set with a target, saved and read back byte for byte.
TEST_F(DatumRecords, SavesTheSevenLinesAndTheBlockByteForByte) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 2, 1));
  DatumShiftParameters& s = a.datum.m_Shift;
  std::tie(s.m_DXRate, s.m_DYRate, s.m_DZRate) = std::tuple(0.001, -0.002, 0.003);
  std::tie(s.m_RXRate, s.m_RYRate, s.m_RZRate) = std::tuple(0.0001, -0.0002, 0.0003);
  std::tie(s.m_ScaleRate, s.m_ReferenceEpoch, s.m_Epoch) = std::tuple(0.01, 2010.0, 2024.5);
  std::tie(s.m_TimeDependent, s.m_UseEpoch, s.m_Padding2[0]) = std::tuple(1, 0, 0xAB);
  ASSERT_TRUE(a.datum.Save());
  EXPECT_EQ(a.datum.m_FileTitle, "WGS 84_E.D. 50_UKOOA Recommended");
  const std::string file = InGlobal("WGS 84_E.D. 50_UKOOA Recommended.DMF");
  const std::string expected = HexFile("datum/records_ukooa.hex");
  EXPECT_EQ(ReadBytes(file), expected);

  AttachedDatum b;
  ASSERT_TRUE(b.datum.Load("C:\\Elsewhere\\WGS 84_E.D. 50_UKOOA Recommended.txt",
                           DatumRecordKind::kHelmert));
  EXPECT_EQ(std::tie(b.datum.m_FromName, b.datum.m_ToName, b.datum.m_ShiftStatus),
            std::tie(a.datum.m_FromName, a.datum.m_ToName, a.datum.m_ShiftStatus));
  EXPECT_EQ(Values(b.datum.m_Shift), Values(s));
  EXPECT_EQ(Definition(b.datum.m_Spheroid), Definition(SpheroidRow(kWgs84)));
  EXPECT_EQ(Definition(b.target), Definition(SpheroidRow(kInternational)));
  ASSERT_TRUE(DeleteFile(file));
  ASSERT_TRUE(b.datum.Save());
  EXPECT_EQ(ReadBytes(file), expected) << "padding is carried through";
}

TEST_F(DatumRecords, SavesWithoutATargetUnderItsNamesAsKey) {
  CDatum d;
  ASSERT_TRUE(d.m_Spheroid.SetBuiltIn(kAiry1830));
  d.m_FromName = "WGS 84";
  d.m_ToName = "Local";
  DatumShiftParameters& s = d.m_Shift;
  std::tie(s.m_DX, s.m_DY, s.m_DZ, s.m_RX, s.m_RY, s.m_RZ, s.m_Scale) =
      std::tuple(-375.0, 111.0, -431.0, 0.5, -1.25, 2.0, 3.5);
  s.m_RotationMethod = 1;
  ASSERT_TRUE(d.Save());
  const std::string expected = HexFile("datum/records_local.hex");
  EXPECT_EQ(ReadBytes(InGlobal("WGS 84_Local.DMF")), expected);
  // The key is kept: a second save with other names overwrites the same file.
  d.m_ToName = "Renamed";
  ASSERT_TRUE(d.Save());
  EXPECT_EQ(FindFiles(InGlobal("*.DMF")), std::vector<std::string>{"WGS 84_Local.DMF"});
  ASSERT_TRUE(d.Save("D:\\Other\\Chosen.dat"));
  EXPECT_EQ(d.m_FileTitle, "Chosen");
  EXPECT_TRUE(FileExists(InGlobal("Chosen.DMF")));

  // Loaded with a target attached, the empty lines 6 and 7 find no spheroid.
  AttachedDatum a;
  ASSERT_TRUE(a.datum.Load("WGS 84_Local", DatumRecordKind::kHelmert));
  EXPECT_EQ(std::tie(a.target.m_Name, a.target.m_Country, a.target.m_SemiMajorAxis,
                     a.target.m_SemiMinorAxis, a.target.m_InverseFlattening),
            std::tuple("", "", 0.0, 0.0, 297.0));
  EXPECT_EQ(a.datum.m_ShiftStatus, "WGS 84_Local") << "no variant: the file title";
  EXPECT_EQ(Definition(a.datum.m_Spheroid), Definition(SpheroidRow(kAiry1830)));
  EXPECT_EQ(Seven(a.datum.m_Shift), Seven(s));

  // No key, a key that names no file, a text that would not read back as one line.
  CDatum unnamed;
  EXPECT_FALSE(unnamed.Save());
  for (const auto& [from, to] : {std::pair("North/South", "X"), std::pair("Two\nLines", "X")}) {
    CDatum bad;
    bad.m_FromName = from;
    bad.m_ToName = to;
    EXPECT_FALSE(bad.Save()) << from;
  }
  EXPECT_EQ(FindFiles(InGlobal("*.DMF")).size(), 2u);
}

TEST_F(DatumRecords, FallsBackToWgs84AndInternationalWithoutAFile) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kOtherShifts, 4, -1));
  EXPECT_FALSE(a.datum.Load("C:\\Somewhere\\Missing.GSF", DatumRecordKind::kLatLonShifts));
  const CDatum& d = a.datum;
  EXPECT_EQ(std::tie(d.m_FileTitle, d.m_FromName, d.m_ToName, d.m_ShiftStatus, d.m_Direction),
            std::tuple("Missing", "", "", "Missing", 1));
  EXPECT_EQ(Definition(d.m_Spheroid), Definition(SpheroidRow(kWgs84)));
  EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kInternational)));
  EXPECT_EQ(Values(d.m_Shift), Values(DatumShiftParameters{}));
  // No path: reset, and nothing more.
  a.datum.m_Direction = -1;
  a.datum.m_FromName = "Kept?";
  EXPECT_FALSE(a.datum.Load("", DatumRecordKind::kHelmert));
  EXPECT_EQ(std::tie(d.m_FromName, d.m_ShiftStatus, d.m_Direction), std::tuple("", "", -1));
}

// Seven whole lines and a block cut short: the lines and every whole field are taken,
// the rest of the block is as Reset left it, and the load reports false.
TEST_F(DatumRecords, KeepsTheWholeFieldsOfABlockCutShort) {
  const std::string whole = WholeRecord(DatumRecordKind::kHelmert);
  WriteBytes(InGlobal("Cut.DMF"), whole.substr(0, whole.size() - 44));
  AttachedDatum a;
  const RecordStatus status = ReadDatumRecord(a.datum, "Cut", DatumRecordKind::kHelmert);
  EXPECT_EQ(status.reason, "ends 44 bytes short of its shift parameters");
  const DatumShiftParameters& s = a.datum.m_Shift;
  EXPECT_EQ(Seven(s), (std::array{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0}));
  EXPECT_EQ(std::tie(s.m_RotationMethod, s.m_DXRate, s.m_RXRate), std::tuple(1, 9.0, 12.0));
  EXPECT_EQ(std::tie(s.m_RYRate, s.m_ScaleRate, s.m_Epoch, s.m_TimeDependent, s.m_UseEpoch),
            std::tuple(0.0, 0.0, 0.0, 0, 1))
      << "the fields the file ends inside or before are as Reset made them";
  EXPECT_EQ(std::tie(a.datum.m_FromName, a.datum.m_ShiftStatus), std::tuple("From", "Variant"));
  EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kInternational)));

  // Only the seven lines: a reset block.
  WriteBytes(InGlobal("Lines.GSF"), whole.substr(0, whole.size() - 144));
  a.datum.m_DLat = 5.0;
  EXPECT_EQ(ReadDatumRecord(a.datum, "Lines", DatumRecordKind::kLatLonShifts).reason,
            "ends 24 bytes short of its latitude, longitude and height shifts");
  EXPECT_EQ(std::tie(a.datum.m_DLat, a.datum.m_ToName), std::tuple(0.0, "To"));

  // A line feed missing: the block runs into the seventh line and none of it is read.
  std::string merged = HexFile("datum/records_ukooa.hex");
  merged.erase(merged.find("Recommended\n") + 11, 1);
  WriteBytes(InGlobal("Merged.DMF"), merged);
  EXPECT_EQ(ReadDatumRecord(a.datum, "Merged", DatumRecordKind::kHelmert).reason,
            "ends 144 bytes short of its shift parameters");
  EXPECT_EQ(a.datum.m_ShiftStatus, "UKOOA RecommendedWGS84");
  EXPECT_EQ(Values(a.datum.m_Shift), Values(DatumShiftParameters{}));
}

TEST_F(DatumRecords, RefusesFilesThatAreNoRecordAndSaysWhy) {
  std::mt19937 noise(20240601);
  for (const testing::TextRow& c : testing::ReadTextTable("datum/records_refused.txt", 3)) {
    SCOPED_TRACE(c.where);
    const std::string extension = c[0].substr(c[0].size() - 3);
    const DatumRecordKind kind = extension == "DMF"   ? DatumRecordKind::kHelmert
                                 : extension == "GSF" ? DatumRecordKind::kLatLonShifts
                                                      : DatumRecordKind::kGridShift;
    std::istringstream words(c[1]);
    std::string what;
    words >> what;
    std::string bytes;
    const std::string whole = WholeRecord(kind);
    if (what == "lines" || what == "text" || what == "noise") {
      std::size_t count = 0;
      words >> count;
      if (what == "lines") bytes = Lines(std::vector<std::string>(count, "Line"));
      if (what == "text") bytes = std::string(count, 'x');
      for (std::size_t i = 0; what == "noise" && i < count; ++i)
        bytes += static_cast<char>(noise() & 0xFF);
    } else if (what == "extra") {
      bytes = whole + "\n";
    } else if (what == "huge") {
      bytes = std::string(10 * 1024 * 1024, 'N');
    } else if (what == "double" || what == "int32") {
      std::size_t offset = 0;
      std::string value;
      words >> offset >> value;
      std::string field;
      if (what == "double") AppendDoubleLe(field, std::stod(value));
      if (what == "int32") AppendInt32Le(field, std::stoi(value));
      bytes = whole;
      bytes.replace(whole.size() - DatumRecordBlockSize(kind) + offset, field.size(), field);
    }
    WriteBytes(InGlobal(c[0]), bytes);
    AttachedDatum a;
    ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 30, -1));
    const RecordStatus status = ReadDatumRecord(a.datum, c[0], kind);
    EXPECT_FALSE(status.ok);
    if (c[2] != "-") {
      EXPECT_TRUE(status.reason.starts_with(c[2])) << status.reason;
    }
    const CDatum& d = a.datum;
    const std::string title = c[0].substr(0, c[0].size() - 4);
    EXPECT_EQ(std::tie(d.m_FromName, d.m_ToName, d.m_ShiftStatus, d.m_Direction),
              std::tuple("", "", title, 1));
    EXPECT_EQ(Definition(d.m_Spheroid), Definition(SpheroidRow(kWgs84)));
    EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kInternational)));
    EXPECT_EQ(Values(d.m_Shift), Values(DatumShiftParameters{}));
    EXPECT_EQ(std::tie(d.m_DLat, d.m_Grid.m_GridE0, d.m_Grid.m_GridScaleE),
              std::tuple(0.0, 0.0, 1.0));
  }
}

TEST_F(DatumRecords, NamesALatLonShiftWithoutVariantAfterItsFile) {
  std::string bytes =
      Lines({"ED50", "Local", "", "International Spheroid", "(Hayford 1910)", "WGS84", ""});
  for (double value : {1.25, -2.5, 10.0})
    AppendDoubleLe(bytes, value);
  WriteBytes(InGlobal("Site Shift.GSF"), bytes);
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kLatLonShifts, 0, -1));
  EXPECT_EQ(a.datum.GetName(), "ED50 to Local (Site Shift)");
  EXPECT_EQ(std::tie(a.datum.m_DLat, a.datum.m_DLon, a.datum.m_DHeight),
            std::tuple(1.25, -2.5, 10.0));
  EXPECT_EQ(std::tie(a.datum.m_ShiftType, a.datum.m_Direction), std::tuple(kLatLonShifts, 1))
      << "a record file is taken in its stored sense";
  EXPECT_EQ(Definition(a.datum.m_Spheroid), Definition(SpheroidRow(kInternational)));
  EXPECT_EQ(Definition(a.target), Definition(SpheroidRow(kWgs84)));
}

TEST_F(DatumRecords, DerivesTheGridShiftOfAGrdFile) {
  for (const testing::TextRow& c : testing::ReadTextTable("datum/records_grid_shifts.txt", 5)) {
    std::string bytes = Lines({"Grid A", "Grid B", "Local", "WGS84", "", "WGS84", ""});
    AppendDoubleLe(bytes, 250.0);   // E0
    AppendDoubleLe(bytes, -125.0);  // N0
    for (std::size_t field : {0u, 1u, 2u})
      AppendDoubleLe(bytes, c.Numbers(field)[0]);
    for (int coefficient = 0; coefficient < 4; ++coefficient)
      AppendDoubleLe(bytes, 99.0);  // overwritten by the derivation
    bytes += std::string(112, '\x5A');
    WriteBytes(InGlobal("Grid.GRD"), bytes);
    CDatum d;
    ASSERT_TRUE(d.LoadGridShift("Grid")) << c.where;
    const std::vector<double> abcd = c.Numbers(3);
    const std::vector<double> scales = c.Numbers(4);
    const GridShiftParameters& g = d.m_Grid;
    const double got[] = {g.m_GridA, g.m_GridB, g.m_GridC, g.m_GridD};
    for (std::size_t i = 0; i < 4; ++i)
      EXPECT_NEAR(got[i], abcd[i], 1e-12) << c.where << " coefficient " << i;
    EXPECT_EQ(std::tie(g.m_GridScaleE, g.m_GridScaleN), std::tie(scales[0], scales[1])) << c.where;
    EXPECT_EQ(std::tie(g.m_GridE0, g.m_GridN0, g.m_Reserved[111], d.m_ShiftType),
              std::tuple(250.0, -125.0, 0x5A, kGridShifts));
  }
  CDatum missing;
  EXPECT_FALSE(missing.LoadGridShift("None"));
  EXPECT_EQ(std::tie(missing.m_Grid.m_GridA, missing.m_Grid.m_GridD, missing.m_ShiftType),
            std::tuple(1.0, 1.0, kGridShifts))
      << "derived whether or not the file was read";
}

// Types 7 to 9 number their record files in list order, after no built-in entry.
TEST_F(DatumRecords, ListsTheFilesOfEachTypeInNameOrder) {
  for (const char* title : {"zulu", "Alpha", "mike"}) {
    CDatum d;
    d.m_FromName = title;
    d.m_ToName = "Local";
    ASSERT_TRUE(d.Save(title));
  }
  WriteBytes(InGlobal("Grid.GRD"), WholeRecord(DatumRecordKind::kGridShift));
  EXPECT_EQ(DatumRecordFiles(kUserDefinedShifts),
            (std::vector<std::string>{"Alpha.DMF", "mike.DMF", "zulu.DMF"}));
  EXPECT_TRUE(DatumRecordFiles(kLatLonShifts).empty());
  EXPECT_TRUE(DatumRecordFiles(kWgs84Shifts).empty());
  AttachedDatum a;
  const char* const in_order[] = {"Alpha", "mike", "zulu"};
  for (int number = 0; number < 3; ++number) {
    ASSERT_TRUE(a.datum.SetFromCatalogue(kUserDefinedShifts, number, -1));
    EXPECT_EQ(std::tie(a.datum.m_FromName, a.datum.m_Number, a.datum.m_Direction),
              std::tuple(in_order[number], number, 1));
  }
  EXPECT_FALSE(a.datum.SetFromCatalogue(kUserDefinedShifts, 3, 1));
  EXPECT_EQ(std::tie(a.datum.m_FromName, a.datum.m_ShiftType, a.datum.m_Number),
            std::tuple("zulu", kUserDefinedShifts, 3))
      << "past the last file the record keeps what it held";
  ASSERT_TRUE(a.datum.SetFromCatalogue(kGridShifts, 0, 1));
  EXPECT_EQ(std::tie(a.datum.m_FromName, a.datum.m_Grid.m_GridE0, a.datum.m_ShiftType),
            std::tuple("From", 1.0, kGridShifts));
  EXPECT_FALSE(a.datum.SetFromCatalogue(kLatLonShifts, 0, 1));
}

TEST_F(DatumRecords, WritesTheSelectionSettingsForTheHost) {
  AttachedDatum a;
  ASSERT_TRUE(a.datum.SetFromCatalogue(kWgs84Shifts, 2, -1));
  a.datum.m_FileTitle = "Odd, title";
  a.datum.WriteSettings();
  const std::string folder = GetSettingsFolder();
  EXPECT_EQ(ReadBytes(folder + "Datum.INI"),
            "Type = 1\r\nDirection = -1\r\nNumber = 2\r\nFile Name = Odd\xAB"
            "COMMA\xBB title\r\n");
  EXPECT_EQ(ReadBytes(folder + "Spheroid_(From).INI"),
            "Name = International Spheroid\r\nCountry = (Hayford 1910)\r\n");
  EXPECT_EQ(ReadBytes(folder + "Spheroid.INI"), "Name = WGS84\r\nCountry = \r\n");
  EXPECT_TRUE(ReadBytes(folder + "Projection_(From).INI").starts_with("Name = Grid Zone 31"));
  EXPECT_TRUE(ReadBytes(folder + "Projection.INI").starts_with("Name = Grid Zone 31"));
}

}  // namespace
}  // namespace orvale
