// Spheroid record files: their bytes, reading them back, the files that cannot be read,
// their place in the combined list, and the selection settings written for the host.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/internal/little_endian.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

std::string RecordBytes(const std::string& name, const std::string& country, double a, double b,
                        double rf) {
  std::string bytes = name + "\n" + country + "\n";
  for (double value : {a, b, rf})
    AppendDoubleLe(bytes, value);
  return bytes;
}

std::string RecordBytes(const CSpheroid& s) {
  return RecordBytes(s.m_Name, s.m_Country, s.m_SemiMajorAxis, s.m_SemiMinorAxis,
                     s.m_InverseFlattening);
}

CSpheroid Typed(const std::string& name, const std::string& country, double a = 6378000.0,
                double rf = 300.0) {
  CSpheroid s;
  s.m_Name = name;
  s.m_Country = country;
  s.SetAxes(a, rf);
  return s;
}

CSpheroid BuiltIn(int row) {
  CSpheroid s;
  EXPECT_TRUE(s.SetBuiltIn(row));
  return s;
}

void ExpectWgs84(const CSpheroid& s, const std::string& why) {
  EXPECT_EQ(std::tie(s.m_Index, s.m_Name, s.m_SemiMajorAxis, s.m_E2),
            std::tuple(26, "WGS84", 6378137.0, CSpheroid().m_E2))
      << why;
}

// RecordFolder makes the folder, as the library does on first use.
class SpheroidRecords : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), InGlobal(""));
  }
};

// The key is the name and country unless a path gives the title; the folder and
// extension of a path are not the record's.
TEST_F(SpheroidRecords, SavesUnderItsTitleThenOverwritesTheSameFile) {
  CSpheroid s = Typed("Test", "Local");
  ASSERT_TRUE(s.Save());
  EXPECT_EQ(ReadBytes(InGlobal("Test_Local.SPD")),
            RecordBytes("Test", "Local", 6378000.0, 6378000.0 * (1 - 1 / 300.0), 300.0));
  s.m_Name = "Renamed";
  s.SetAxes(6378100.0, 299.0);
  ASSERT_TRUE(s.Save());
  EXPECT_EQ(ReadBytes(InGlobal("Test_Local.SPD")),
            RecordBytes("Renamed", "Local", 6378100.0, s.m_SemiMinorAxis, 299.0));
  ASSERT_TRUE(s.Save("C:\\Elsewhere\\Chosen.txt"));
  CSpheroid loaded;
  ASSERT_TRUE(loaded.Load("C:\\Somewhere\\Else\\Chosen.dat"));
  EXPECT_EQ(std::tie(loaded.m_FileTitle, loaded.m_Name), std::tuple("Chosen", "Renamed"));
  // No key; a key leaving the folder; a text that would not read back as one line.
  for (const auto& [name, country] :
       {std::pair("", "Country only"), std::pair("A/B", ""), std::pair("Two\nLines", "X")}) {
    EXPECT_FALSE(Typed(name, country).Save()) << name;
  }
  EXPECT_EQ(FindFiles(InGlobal("*.SPD")),
            (std::vector<std::string>{"Chosen.SPD", "Test_Local.SPD"}));
}

TEST_F(SpheroidRecords, ReadsAndRewritesRecordsByteForByte) {
  // Texts are bytes: Windows-1252 letters, control characters and a CR all survive.
  std::vector<std::string> files = {
      RecordBytes("Caf\xE9 \x01\r", "\xB0\t", 6378001.5, 6356847.25, 301.5)};
  for (int row : {0, 31, 47})
    files.push_back(RecordBytes(BuiltIn(row)));
  for (const std::string& bytes : files) {
    WriteBytes(InGlobal("Row.SPD"), bytes);
    CSpheroid loaded;
    loaded.m_Index = 7;
    ASSERT_TRUE(loaded.Load("Row.SPD"));
    EXPECT_EQ(RecordBytes(loaded), bytes);
    EXPECT_EQ(loaded.m_EPSGNo, 0u) << "a file carries no EPSG code";
    EXPECT_EQ(loaded.m_Index, 7) << "Load leaves the index to its caller";
    CSpheroid computed = loaded;
    computed.ComputeConstants();
    EXPECT_EQ(loaded.m_MeridianA0, computed.m_MeridianA0);
    ASSERT_TRUE(DeleteFile(InGlobal("Row.SPD")));
    ASSERT_TRUE(loaded.Save());
    EXPECT_EQ(ReadBytes(InGlobal("Row.SPD")), bytes);
  }
}

TEST_F(SpheroidRecords, NamesARecordWithTwoEmptyLinesAfterItsFile) {
  WriteBytes(InGlobal("Untitled Ellipsoid.SPD"),
             RecordBytes("", "", 6378137.0, 6356752.314245179, 298.257223563));
  CSpheroid s = BuiltIn(0);  // Airy 1830
  ASSERT_TRUE(s.Load("Untitled Ellipsoid.SPD"));
  EXPECT_EQ(std::tie(s.m_Name, s.m_Country, s.m_SemiMajorAxis),
            std::tuple("Untitled Ellipsoid", "", 6378137.0));
  EXPECT_EQ(s.m_EPSGNo, 0u) << "even with the values of WGS84";
}

TEST_F(SpheroidRecords, FallsBackToWgs84WithoutAReadableFile) {
  for (const char* path : {"", "Missing.SPD", "C:\\Folder\\"}) {
    CSpheroid s = BuiltIn(0);
    EXPECT_FALSE(s.Load(path)) << path;
    ExpectWgs84(s, path);
    EXPECT_EQ(s.m_FileTitle, std::string(path) == "Missing.SPD" ? "Missing" : "") << path;
  }
  for (int index : {53, -1, -54}) {
    CSpheroid s = BuiltIn(0);
    EXPECT_FALSE(s.SetFromIndex(index));
    ExpectWgs84(s, "no record files, index " + std::to_string(index));
  }
  WriteBytes(InGlobal("Broken.SPD"), "Broken\n\n");
  CSpheroid s;
  EXPECT_FALSE(s.SetFromIndex(53));
  ExpectWgs84(s, "a broken record file");
}

TEST_F(SpheroidRecords, KeepsWhatAFileCutShortCannotSupply) {
  const std::string full = RecordBytes("Cut", "Short", 6378001.0, 6356001.0, 299.0);
  const std::string noise("\x00\xFF\x80\x1A", 4);
  const double airy_a = 6377563.39635;
  // What is wrong, the bytes, and the name and a left after loading over Airy 1830.
  const std::tuple<const char*, std::string, std::string, double> cases[] = {
      {"empty file", "", "Bad", airy_a},
      {"only a name", "Cut\n", "Cut", airy_a},
      {"cut inside a", full.substr(0, full.size() - 20), "Cut", airy_a},
      {"cut inside b", full.substr(0, full.size() - 12), "Cut", 6378001.0},
      {"cut inside 1/f", full.substr(0, full.size() - 1), "Cut", 6378001.0},
      {"binary noise", noise, noise, airy_a}};
  for (const auto& [what, bytes, name, a] : cases) {
    WriteBytes(InGlobal("Bad.SPD"), bytes);
    CSpheroid s = BuiltIn(0);
    const RecordStatus status = ReadSpheroidRecord(s, "Bad.SPD");
    EXPECT_FALSE(status.ok) << what;
    EXPECT_TRUE(status.reason.starts_with("ends ")) << what << ": " << status.reason;
    EXPECT_EQ(std::tie(s.m_Name, s.m_SemiMajorAxis, s.m_InverseFlattening, s.m_EPSGNo),
              std::tuple(name, a, 299.32497041446857, 0u))
        << what;
    for (double value : {s.m_E2, s.m_PolarK, s.m_MeridianA0})
      EXPECT_TRUE(std::isfinite(value)) << what;
  }
}

// Every other file that is no spheroid record is refused whole: nothing of it is used.
TEST_F(SpheroidRecords, RefusesFilesThatHoldNoSpheroidAndSaysWhy) {
  for (const testing::TextRow& c : testing::ReadTextTable("records/spheroid_values.txt", 5)) {
    const std::vector<double> v = {c.Numbers(1)[0], c.Numbers(2)[0], c.Numbers(3)[0]};
    EXPECT_EQ(SpheroidAxesProblem(v[0], v[1], v[2]).starts_with(c[4]), c[4] != "-") << c.where;
    WriteBytes(InGlobal(c[0] + ".SPD"), RecordBytes(c[0], "", v[0], v[1], v[2]));
    CSpheroid s = BuiltIn(0);
    const RecordStatus status = ReadSpheroidRecord(s, c[0]);
    if (c[4] == "-") {
      EXPECT_TRUE(status.ok) << c.where << ": " << status.reason;
      EXPECT_EQ(std::tie(s.m_Name, s.m_SemiMajorAxis), std::tie(c.fields[0], v[0])) << c.where;
      continue;
    }
    EXPECT_FALSE(status.ok) << c.where;
    EXPECT_TRUE(status.reason.starts_with(c[4])) << c.where << ": " << status.reason;
    ExpectWgs84(s, c.where);
    EXPECT_EQ(s.m_FileTitle, c[0]) << c.where;
  }
  // The whole layout and not a byte more: what follows 1/f makes it no record.
  WriteBytes(InGlobal("Longer.SPD"), RecordBytes(BuiltIn(17)) + "\n");
  CSpheroid s;
  EXPECT_EQ(ReadSpheroidRecord(s, "Longer").reason,
            "goes on after a, b and 1/f, which end a spheroid record");
  // A 10 MB file is refused by its size, unread.
  WriteBytes(InGlobal("Huge.SPD"), std::string(10 * 1024 * 1024, 'N'));
  const RecordStatus huge = ReadSpheroidRecord(s, "Huge.SPD");
  EXPECT_TRUE(huge.reason.starts_with("is 10485760 bytes, more than a .SPD record can hold"))
      << huge.reason;
  ExpectWgs84(s, "a huge file");
  WriteBytes(InGlobal("Locked.SPD"), RecordBytes(BuiltIn(17)));
  if (::geteuid() != 0) {
    std::filesystem::permissions(Root() + "/MyData/Global/Locked.SPD",
                                 std::filesystem::perms::none);
    EXPECT_EQ(ReadSpheroidRecord(s, "Locked").reason, "cannot be opened: Permission denied");
  }
}

TEST_F(SpheroidRecords, ExtendTheCatalogueInFileNameOrder) {
  for (const char* name : {"Zeta", "alpha"})
    ASSERT_TRUE(Typed(name, "").Save());
  ASSERT_EQ(SpheroidRecordFiles(), (std::vector<std::string>{"alpha.SPD", "Zeta.SPD"}));
  CSpheroid s;
  for (const auto& [index, title] : {std::pair(53, "alpha"), std::pair(54, "Zeta")}) {
    ASSERT_TRUE(s.SetFromIndex(index));
    EXPECT_EQ(std::tie(s.m_Index, s.m_Name, s.m_FileTitle), std::tuple(index, title, title));
  }
  EXPECT_FALSE(s.SetFromIndex(55));
  ExpectWgs84(s, "past the last record file");
}

TEST_F(SpheroidRecords, FindByNameSearchesRecordFilesAfterTheBuiltInRows) {
  for (const char* name : {"Airy 1830", "Local Fit", "WGS84"})
    ASSERT_TRUE(Typed(name, "Mine").Save());
  CSpheroid s;
  ASSERT_TRUE(s.FindByName("Local Fit", "Mine"));
  EXPECT_EQ(std::tie(s.m_Index, s.m_FileTitle, s.m_SemiMajorAxis, s.m_EPSGNo),
            std::tuple(54, "Local Fit_Mine", 6378000.0, 0u));
  ASSERT_TRUE(s.FindByName("Airy 1830", "Mine"));
  EXPECT_EQ(s.m_Index, 53) << "no built-in Airy 1830 has that country";
  ASSERT_TRUE(s.FindByName("WGS84", "Mine"));
  EXPECT_EQ(s.m_Index, 26) << "the built-in WGS84 matches on its name alone";
  s.m_FileTitle.clear();
  EXPECT_FALSE(s.FindByName("Local Fit", "Yours"));
  EXPECT_TRUE(s.m_FileTitle.empty()) << "a failed search must not leave a file to overwrite";
}

TEST_F(SpheroidRecords, WritesTheSelectionSettingsForTheHost) {
  CSpheroid s = BuiltIn(0);  // Airy 1830
  s.WriteSettings("(From)");
  EXPECT_EQ(ReadBytes(GetSettingsFolder() + "Spheroid_(From).INI"),
            "Name = Airy 1830\r\nCountry = OSGB\r\n");
  s.m_Name = "Odd, name";
  s.m_Country.clear();
  s.WriteSettings();
  EXPECT_EQ(ReadBytes(GetSettingsFolder() + "Spheroid.INI"),
            "Name = Odd\xAB"
            "COMMA\xBB name\r\nCountry = \r\n");
}

}  // namespace
}  // namespace orvale
