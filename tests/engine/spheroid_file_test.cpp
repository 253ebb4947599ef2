#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "orvale/engine/spheroid.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/little_endian.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr const char* kGlobal = "C:\\MyData\\Global\\";

std::string RecordBytes(const std::string& name, const std::string& country, double a, double b,
                        double rf) {
  std::string bytes = name + "\n" + country + "\n";
  AppendDoubleLe(bytes, a);
  AppendDoubleLe(bytes, b);
  AppendDoubleLe(bytes, rf);
  return bytes;
}

CSpheroid Typed(const std::string& name, const std::string& country, double a, double rf) {
  CSpheroid s;
  s.m_Name = name;
  s.m_Country = country;
  s.SetAxes(a, rf);
  return s;
}

class SpheroidFile : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), kGlobal);
  }
  static std::string InGlobal(const std::string& file) { return kGlobal + file; }
};

TEST_F(SpheroidFile, SavesUnderNameAndCountryThenOverwritesTheSameFile) {
  CSpheroid s = Typed("Test", "Local", 6378000.0, 300.0);
  ASSERT_TRUE(s.Save());
  EXPECT_EQ(s.m_FileTitle, "Test_Local");
  EXPECT_EQ(ReadBytes(InGlobal("Test_Local.SPD")),
            RecordBytes("Test", "Local", 6378000.0, 6378000.0 * (1 - 1 / 300.0), 300.0));

  s.m_Name = "Renamed";
  s.SetAxes(6378100.0, 299.0);
  ASSERT_TRUE(s.Save());
  EXPECT_EQ(FindFiles(InGlobal("*.SPD")), std::vector<std::string>{"Test_Local.SPD"});
  EXPECT_EQ(ReadBytes(InGlobal("Test_Local.SPD")),
            RecordBytes("Renamed", "Local", 6378100.0, s.m_SemiMinorAxis, 299.0));
}

TEST_F(SpheroidFile, NamesTheFileAfterThePathOrElseNameAndCountry) {
  struct Case {
    const char* name;
    const char* country;
    const char* path;
    const char* title;
  };
  const Case cases[] = {{"Solo", "", "", "Solo"},
                        {"Test", "Local", "C:\\Elsewhere\\Chosen.txt", "Chosen"},
                        {"Test", "Local", "Dotted.name.SPD", "Dotted.name"}};
  for (const Case& c : cases) {
    CSpheroid s = Typed(c.name, c.country, 6378000.0, 300.0);
    ASSERT_TRUE(s.Save(c.path));
    EXPECT_EQ(s.m_FileTitle, c.title);
    EXPECT_TRUE(FileExists(InGlobal(std::string(c.title) + ".SPD"))) << c.title;
  }
  EXPECT_FALSE(FileExists(InGlobal("Test_Local.SPD")));
}

TEST_F(SpheroidFile, RefusesRecordsThatCannotBeStored) {
  struct Case {
    const char* name;
    const char* country;
    const char* why;
  };
  const Case cases[] = {
      {"", "", "no key"},
      {"", "Country only", "no key"},
      {"North/South", "", "a separator in the key"},
      {"..\\..\\Escape", "", "a separator in the key"},
      {"Two\nLines", "X", "a line feed in the name"},
      {"Name", "Two\nLines", "a line feed in the country"},
      {"What?", "", "a character file systems refuse"},
  };
  for (const Case& c : cases) {
    CSpheroid s = Typed(c.name, c.country, 6378000.0, 300.0);
    EXPECT_FALSE(s.Save()) << c.why;
  }
  EXPECT_TRUE(FindFiles(InGlobal("*.*")).empty());
}

TEST_F(SpheroidFile, ReadsAndRewritesRecordsByteForByte) {
  std::vector<std::string> files;
  for (int row : {0, 31, 47}) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(row));
    files.push_back(RecordBytes(s.m_Name, s.m_Country, s.m_SemiMajorAxis, s.m_SemiMinorAxis,
                                s.m_InverseFlattening));
  }
  // Texts are bytes: Windows-1252 letters, control characters and a CR all survive.
  files.push_back(RecordBytes("Caf\xE9 \x01\r", "\xB0\t", 6378001.5, 6356000.25, 301.5));
  for (const std::string& bytes : files) {
    WriteBytes(InGlobal("Row.SPD"), bytes);
    CSpheroid loaded;
    loaded.m_Index = 7;
    ASSERT_TRUE(loaded.Load("Row.SPD"));
    EXPECT_EQ(RecordBytes(loaded.m_Name, loaded.m_Country, loaded.m_SemiMajorAxis,
                          loaded.m_SemiMinorAxis, loaded.m_InverseFlattening),
              bytes);
    EXPECT_EQ(loaded.m_EPSGNo, 0u) << "a file carries no EPSG code";
    EXPECT_EQ(loaded.m_Index, 7) << "Load leaves the index to its caller";
    CSpheroid computed = loaded;
    computed.ComputeConstants();
    EXPECT_EQ(loaded.m_MeridianA0, computed.m_MeridianA0);

    std::remove(HostPath(InGlobal("Row.SPD")).c_str());
    ASSERT_TRUE(loaded.Save());
    EXPECT_EQ(ReadBytes(InGlobal("Row.SPD")), bytes);
  }
}

TEST_F(SpheroidFile, NamesARecordWithTwoEmptyLinesAfterItsFile) {
  WriteBytes(InGlobal("Untitled Ellipsoid.SPD"),
             RecordBytes("", "", 6378137.0, 6356752.314245179, 298.257223563));
  CSpheroid s;
  ASSERT_TRUE(s.SetBuiltIn(0));
  ASSERT_TRUE(s.Load("Untitled Ellipsoid.SPD"));
  EXPECT_EQ(s.m_Name, "Untitled Ellipsoid");
  EXPECT_TRUE(s.m_Country.empty());
  EXPECT_EQ(s.m_EPSGNo, 0u) << "even with the values of WGS84";
  EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
}

TEST_F(SpheroidFile, ReadsTheGlobalFolderWhateverFolderThePathNames) {
  CSpheroid saved = Typed("Mine", "", 6378500.0, 295.0);
  ASSERT_TRUE(saved.Save());
  CSpheroid s;
  ASSERT_TRUE(s.Load("C:\\Somewhere\\Else\\Mine.dat"));
  EXPECT_EQ(s.m_FileTitle, "Mine");
  EXPECT_EQ(s.m_SemiMajorAxis, 6378500.0);
}

TEST_F(SpheroidFile, FallsBackToWgs84WhenThereIsNoFile) {
  for (const char* path : {"", "Missing.SPD", "C:\\Folder\\"}) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(0));
    EXPECT_FALSE(s.Load(path)) << path;
    EXPECT_EQ(s.m_Index, 26);
    EXPECT_EQ(s.m_Name, "WGS84");
    EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
  }
  CSpheroid s;
  EXPECT_FALSE(s.Load("Missing.SPD"));
  EXPECT_EQ(s.m_FileTitle, "Missing");
}

TEST_F(SpheroidFile, KeepsWhatABadFileCannotSupply) {
  const std::string full = RecordBytes("Cut", "Short", 6378001.0, 6356001.0, 299.0);
  std::string nan_tail = "Odd\n\n";
  AppendDoubleLe(nan_tail, 6378002.0);
  nan_tail += std::string(8, '\xFF');  // a NaN
  AppendDoubleLe(nan_tail, std::numeric_limits<double>::infinity());
  const double airy_a = 6377563.39635;
  const std::string noise("\x00\xFF\x80\x1A", 4);
  struct Case {
    const char* what;
    std::string bytes;
    std::string name;
    double a;
  };
  const std::vector<Case> cases = {
      {"empty file", "", "Bad", airy_a},
      {"only a name", "Cut\n", "Cut", airy_a},
      {"cut inside a", full.substr(0, full.size() - 20), "Cut", airy_a},
      {"cut inside b", full.substr(0, full.size() - 12), "Cut", 6378001.0},
      {"cut inside 1/f", full.substr(0, full.size() - 1), "Cut", 6378001.0},
      {"non-numbers", nan_tail, "Odd", 6378002.0},
      {"binary noise", noise, noise, airy_a},
  };
  for (const Case& c : cases) {
    WriteBytes(InGlobal("Bad.SPD"), c.bytes);
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(0));
    EXPECT_FALSE(s.Load("Bad.SPD")) << c.what;
    EXPECT_EQ(s.m_Name, c.name) << c.what;
    EXPECT_EQ(s.m_SemiMajorAxis, c.a) << c.what;
    EXPECT_EQ(s.m_InverseFlattening, 299.32497041446857) << c.what;
    EXPECT_EQ(s.m_EPSGNo, 0u) << c.what;
    for (double value : {s.m_E2, s.m_PolarK, s.m_MeridianA0})
      EXPECT_TRUE(std::isfinite(value));
  }
}

TEST_F(SpheroidFile, BoundsTheNameOfAFileWithoutLineEnds) {
  WriteBytes(InGlobal("Huge.SPD"), std::string(10 * 1024 * 1024, 'N'));
  CSpheroid s;
  EXPECT_FALSE(s.Load("Huge.SPD"));
  EXPECT_LE(s.m_Name.size(), CStdioFile::kMaxLineLength);
  EXPECT_TRUE(s.m_Country.empty());
  EXPECT_EQ(s.m_SemiMajorAxis, 6378137.0);
}

TEST_F(SpheroidFile, ExtendsTheCatalogueInFileNameOrder) {
  for (const char* name : {"Zeta", "alpha", "Mid"}) {
    CSpheroid s = Typed(name, "", 6378000.0, 300.0);
    ASSERT_TRUE(s.Save());
  }
  ASSERT_EQ(SpheroidRecordFiles(), (std::vector<std::string>{"alpha.SPD", "Mid.SPD", "Zeta.SPD"}));
  const char* expected[] = {"alpha", "Mid", "Zeta"};
  for (int k = 0; k < 3; ++k) {
    CSpheroid s;
    ASSERT_TRUE(s.SetFromIndex(53 + k));
    EXPECT_EQ(s.m_Index, 53 + k);
    EXPECT_EQ(s.m_Name, expected[k]);
    EXPECT_EQ(s.m_FileTitle, expected[k]);
  }
  CSpheroid s;
  ASSERT_TRUE(s.SetFromIndex(0));
  EXPECT_EQ(s.m_Index, 0);
  EXPECT_FALSE(s.SetFromIndex(56));
  EXPECT_EQ(s.m_Index, 26);
  EXPECT_EQ(s.m_Name, "WGS84");
}

TEST_F(SpheroidFile, SetFromIndexGivesWgs84WithoutRecordFiles) {
  for (int index : {53, -1, -54}) {
    CSpheroid s;
    ASSERT_TRUE(s.SetBuiltIn(0));
    EXPECT_FALSE(s.SetFromIndex(index));
    CSpheroid wgs84;
    EXPECT_EQ(s.m_Index, 26);
    EXPECT_EQ(s.m_Name, wgs84.m_Name);
    EXPECT_EQ(s.m_E2, wgs84.m_E2);
  }
}

TEST_F(SpheroidFile, SetFromIndexRefusesABrokenRecordFile) {
  WriteBytes(InGlobal("Broken.SPD"), "Broken\n\n");
  CSpheroid s;
  EXPECT_FALSE(s.SetFromIndex(53));
  EXPECT_EQ(s.m_Index, 26);
  EXPECT_EQ(s.m_Name, "WGS84");
}

TEST_F(SpheroidFile, FindByNameSearchesRecordFilesAfterTheBuiltInRows) {
  for (const char* name : {"Airy 1830", "Local Fit", "WGS84"}) {
    CSpheroid s = Typed(name, "Mine", 6378000.0, 300.0);
    ASSERT_TRUE(s.Save());
  }
  CSpheroid s;
  ASSERT_TRUE(s.FindByName("Local Fit", "Mine"));
  EXPECT_EQ(s.m_Index, 54);
  EXPECT_EQ(s.m_FileTitle, "Local Fit_Mine");
  EXPECT_EQ(s.m_SemiMajorAxis, 6378000.0);
  EXPECT_EQ(s.m_EPSGNo, 0u);

  ASSERT_TRUE(s.FindByName("Airy 1830", "Mine"));
  EXPECT_EQ(s.m_Index, 53) << "no built-in Airy 1830 has that country";
  ASSERT_TRUE(s.FindByName("WGS84", "Mine"));
  EXPECT_EQ(s.m_Index, 26) << "the built-in WGS84 matches on its name alone";

  s.m_FileTitle.clear();
  EXPECT_FALSE(s.FindByName("Local Fit", "Yours"));
  EXPECT_TRUE(s.m_FileTitle.empty()) << "a failed search must not leave a file to overwrite";
}

TEST_F(SpheroidFile, SavesIntoTheRedirectedRecordFolder) {
  ASSERT_TRUE(CreateFolders(kRedirectFolder));
  WriteBytes(kRedirectFile, "C:\\Shared\r\n");
  CSpheroid s = Typed("Team", "", 6378000.0, 300.0);
  ASSERT_TRUE(s.Save());
  EXPECT_TRUE(FileExists("C:\\Shared\\Global\\Team.SPD"));
  CSpheroid loaded;
  EXPECT_TRUE(loaded.Load("Team.SPD"));
}

TEST_F(SpheroidFile, WritesTheSelectionSettingsForTheHost) {
  CSpheroid s;
  ASSERT_TRUE(s.SetBuiltIn(0));
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
