// Projection record files: their bytes, reading them back, the files that cannot be
// read, their place in the catalogue after the built-in rows, and the selection
// summary written for the host.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

constexpr const char* kGlobal = "C:\\MyData\\Global\\";
constexpr int kAiry1830Row = 0;
constexpr int kWgs84Row = 26;
constexpr int kNoRecordType = 15;

// Little-endian bytes of a number, spelled out here rather than by the library's
// own helpers so that a byte-order fault in both cannot cancel out.
template <typename T>
std::string LittleEndian(T value) {
  using Bits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
  const auto bits = std::bit_cast<Bits>(value);
  std::string bytes;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

struct Block {
  std::int32_t type = 1;
  std::int32_t method = 0;
  double values[7] = {0.85, -0.035, 400000.0, -100000.0, 0.9996012717, 0.0, 0.0};
};

std::string BlockBytes(const Block& b) {
  std::string bytes = LittleEndian(b.type) + LittleEndian(b.method);
  for (double v : b.values)
    bytes += LittleEndian(v);
  return bytes;
}

class ProjectionFile : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), kGlobal);
    spheroid_.SetBuiltIn(kAiry1830Row);
    projection_.m_Spheroid = &spheroid_;
  }

  static std::string InGlobal(const std::string& file) { return kGlobal + file; }

  // A type 1 record holding the values of `Block`, named as given.
  void Typed(const std::string& name, const std::string& country) {
    const Block b;
    projection_.m_Type = b.type;
    projection_.m_Method = b.method;
    projection_.SetNames(name.c_str(), country.c_str());
    projection_.SetParameters(b.values[0], b.values[1], b.values[2], b.values[3], b.values[4]);
  }

  // Saves a record of a type under a title, named as given (country: the title), on the
  // fixture's spheroid unless another is given.
  void SaveRecord(const std::string& title, int type, const std::string& name = "Site",
                  std::string country = "", CSpheroid* spheroid = nullptr) {
    CProjection p;
    p.m_Spheroid = spheroid != nullptr ? spheroid : &spheroid_;
    p.m_Type = type;
    p.SetNames(name.c_str(), country.empty() ? title.c_str() : country.c_str());
    p.SetParameters(0.9, 0.1, 1000.0, 2000.0, 1.0);
    ASSERT_TRUE(p.WriteRecordFile(InGlobal(title + ".PRJ")));
  }

  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(ProjectionFile, SavesUnderNameAndCountryAsFourLinesAndTheBlock) {
  Typed("Local", "Site 1");
  ASSERT_TRUE(projection_.WriteRecordFile());
  EXPECT_EQ(projection_.m_FileTitle, "Local_Site 1");
  EXPECT_EQ(ReadBytes(InGlobal("Local_Site 1.PRJ")),
            "Local\nSite 1\nAiry 1830\nOSGB\n" + BlockBytes(Block()));

  CProjection plain;
  plain.m_Type = 1;
  plain.SetNames("Local", nullptr);
  plain.SetParameters(0.85, -0.035, 400000.0, -100000.0, 0.9996012717);
  ASSERT_TRUE(plain.WriteRecordFile());
  EXPECT_EQ(ReadBytes(InGlobal("Local.PRJ")), "Local\n\n\n\n" + BlockBytes(Block()))
      << "no spheroid attached: two empty lines";
}

TEST_F(ProjectionFile, StoresTheValuesAfterSetUp) {
  // A Lambert two-parallel record keeps the scale factor its set-up derives.
  projection_.m_Type = PROJECTION_LAMBERT;
  projection_.m_Method = 1;
  projection_.m_StandardParallel1 = 30 * kRadiansPerDegree;
  projection_.m_StandardParallel2 = 50 * kRadiansPerDegree;
  projection_.SetNames("Cone", nullptr);
  projection_.SetParametersDeg(43, 34, 0, 0, 1);
  ASSERT_NE(projection_.m_ScaleFactor, 1.0);
  ASSERT_TRUE(projection_.WriteRecordFile());
  const std::string bytes = ReadBytes(InGlobal("Cone.PRJ"));
  ASSERT_EQ(bytes.size(), std::string("Cone\n\nAiry 1830\nOSGB\n").size() + 64);
  EXPECT_EQ(bytes.substr(bytes.size() - 64 + 40, 8), LittleEndian(projection_.m_ScaleFactor));
  EXPECT_EQ(bytes.substr(bytes.size() - 16),
            LittleEndian(30 * kRadiansPerDegree) + LittleEndian(50 * kRadiansPerDegree));
}

TEST_F(ProjectionFile, ReadsARecordBackAndRewritesItByteForByte) {
  Typed("Local", "Site 1");
  ASSERT_TRUE(projection_.WriteRecordFile());
  const std::string written = ReadBytes(InGlobal("Local_Site 1.PRJ"));

  CSpheroid other;  // WGS84 until the record names its spheroid
  CProjection read;
  read.m_Spheroid = &other;
  ASSERT_TRUE(read.ReadRecordFile("D:\\Elsewhere\\Local_Site 1.txt"));
  EXPECT_EQ(read.m_FileTitle, "Local_Site 1");
  EXPECT_EQ(read.m_Name, "Local");
  EXPECT_EQ(read.m_Country, "Site 1");
  EXPECT_EQ(other.m_Name, "Airy 1830");
  EXPECT_EQ(read.m_Type, 1);
  EXPECT_EQ(read.m_OriginLatitude, 0.85);
  EXPECT_EQ(read.m_CentralMeridian, -0.035);
  EXPECT_EQ(read.m_ScaleFactor, 0.9996012717);
  EXPECT_DOUBLE_EQ(read.m_SinLat0, std::sin(0.85)) << "set up after reading";

  ASSERT_TRUE(read.WriteRecordFile(InGlobal("Copy.PRJ")));
  EXPECT_EQ(ReadBytes(InGlobal("Copy.PRJ")), written);
}

TEST_F(ProjectionFile, NamesTheFileAfterThePathAndRefusesRecordsWithoutAKey) {
  Typed("Local", "Site 1");
  ASSERT_TRUE(projection_.WriteRecordFile("E:\\Somewhere\\Chosen.txt"));
  EXPECT_EQ(projection_.m_FileTitle, "Chosen");
  EXPECT_TRUE(FileExists(InGlobal("Chosen.PRJ")));

  CProjection unnamed;
  EXPECT_FALSE(unnamed.WriteRecordFile());
  CProjection slash;
  slash.SetNames("Puerto Rico/Virgin I", "NAD 83");
  EXPECT_FALSE(slash.WriteRecordFile()) << "a separator would leave the Global folder";
  CProjection broken;
  broken.SetNames("Two\nLines", nullptr);
  EXPECT_FALSE(broken.WriteRecordFile(InGlobal("Broken.PRJ")));
  EXPECT_EQ(FindFiles(InGlobal("*.PRJ")), std::vector<std::string>{"Chosen.PRJ"});
}

TEST_F(ProjectionFile, ReadingAUtmRecordSetsNeitherItsZoneNorItsZoneName) {
  ASSERT_TRUE(projection_.SetFromCatalogue(31, PROJECTION_UTM, 1));
  projection_.SetNames("Site grid", nullptr);
  ASSERT_TRUE(projection_.WriteRecordFile());
  const std::string bytes = ReadBytes(InGlobal("Site grid.PRJ"));
  EXPECT_EQ(bytes.substr(bytes.size() - 64, 8), LittleEndian(0) + LittleEndian(1));

  CProjection read;
  read.m_Spheroid = &spheroid_;
  read.m_Zone = 7;
  ASSERT_TRUE(read.ReadRecordFile("Site grid"));
  EXPECT_EQ(read.m_Zone, 7);
  EXPECT_EQ(read.m_Name, "Site grid");
  EXPECT_EQ(read.m_Method, 1);
  EXPECT_EQ(read.m_FalseNorthing, 10000000.0);
}

// A file that cannot be read leaves the record named as it was, with an empty origin.
TEST_F(ProjectionFile, RefusesMissingAndDamagedFilesWithoutTouchingTheSpheroid) {
  const std::string lines = "Bad\nSite\nGRS80\n\n";
  std::string huge_line(200000, 'x');
  Block wrong_type;
  wrong_type.type = 99;
  Block not_a_number;
  not_a_number.values[4] = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* title;
    std::string bytes;  // none: no file
  } files[] = {
      {"Missing", ""},
      {"Truncated", lines + BlockBytes(Block()).substr(0, 40)},
      {"Short", "Bad\nSite\n"},
      {"Empty", ""},
      {"Huge", huge_line},
      {"Typeless", lines + BlockBytes(wrong_type)},
      {"NotANumber", lines + BlockBytes(not_a_number)},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.title);
    if (file.title != std::string("Missing")) {
      WriteBytes(InGlobal(std::string(file.title) + ".PRJ"), file.bytes);
    }
    Typed("Kept", "");
    EXPECT_FALSE(projection_.ReadRecordFile(std::string(file.title) + ".PRJ"));
    EXPECT_EQ(projection_.m_FileTitle, file.title);
    EXPECT_EQ(projection_.m_Name, "Kept");
    const CProjection& p = projection_;
    EXPECT_EQ(std::vector<double>({p.m_OriginLatitude, p.m_CentralMeridian, p.m_FalseEasting,
                                   p.m_FalseNorthing, p.m_ScaleFactor}),
              std::vector<double>({0, 0, 0, 0, 1}));
    EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
    EXPECT_EQ(CProjection::ReadRecordType(file.title), kNoRecordType)
        << "a file that does not load counts for no type";
  }
  EXPECT_TRUE(ProjectionRecordFilesOfType(PROJECTION_TRANSVERSE_MERCATOR).empty());
  EXPECT_EQ(ListProjectionRecords().unreadable.size(), std::size(files) - 1);
}

// A damaged record takes no index, so every index listed loads.
TEST_F(ProjectionFile, DamagedRecordsTakeNoIndexFromTheRecordsThatLoad) {
  WriteBytes(InGlobal("A Broken.PRJ"), "A\n\n\n\n" + BlockBytes(Block()).substr(0, 63));
  SaveRecord("B Good", PROJECTION_TRANSVERSE_MERCATOR);
  const ProjectionRecordsByType records = ListProjectionRecords();
  EXPECT_EQ(records.files[PROJECTION_TRANSVERSE_MERCATOR], std::vector<std::string>{"B Good.PRJ"});
  EXPECT_EQ(records.unreadable, std::vector<std::string>{"A Broken.PRJ"});
  ASSERT_TRUE(projection_.SetFromIndex(39, PROJECTION_TRANSVERSE_MERCATOR, 0));
  EXPECT_EQ(projection_.m_FileTitle, "B Good");
  EXPECT_FALSE(projection_.SetFromIndex(40, PROJECTION_TRANSVERSE_MERCATOR, 0));
}

TEST_F(ProjectionFile, ReadsRecordsWithoutANameAndWithoutAKnownSpheroid) {
  WriteBytes(InGlobal("Quarry.PRJ"), "\n\n\n\n" + BlockBytes(Block()));
  ASSERT_TRUE(projection_.ReadRecordFile("Quarry.PRJ"));
  EXPECT_EQ(projection_.m_Name, "Quarry") << "named after its file";
  EXPECT_EQ(projection_.m_Country, "");
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830") << "none saved: the attached one stays";
  WriteBytes(InGlobal("Odd.PRJ"), "Odd\n\nNo Such Spheroid\nAnywhere\n" + BlockBytes(Block()));
  ASSERT_TRUE(projection_.ReadRecordFile("Odd"));
  EXPECT_EQ(spheroid_.m_SemiMajorAxis, 0.0) << "as the failed spheroid search leaves it";
  EXPECT_EQ(spheroid_.m_Name, "");
  EXPECT_EQ(projection_.m_FalseEasting, 400000.0);
}

TEST_F(ProjectionFile, UserRecordsFollowTheBuiltInRowsOfTheirTypeInFileNameOrder) {
  SaveRecord("B Second", PROJECTION_TRANSVERSE_MERCATOR);
  SaveRecord("A First", PROJECTION_TRANSVERSE_MERCATOR);
  SaveRecord("AA Mercator", PROJECTION_MERCATOR);  // between them, of another type
  std::string title, path;
  EXPECT_FALSE(CProjection::FindUserRecord(38, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  ASSERT_TRUE(CProjection::FindUserRecord(39, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  EXPECT_EQ(title, "A First");
  EXPECT_EQ(path, InGlobal("A First.PRJ"));
  ASSERT_TRUE(CProjection::FindUserRecord(40, PROJECTION_TRANSVERSE_MERCATOR, title, path));
  EXPECT_EQ(title, "B Second");
  EXPECT_FALSE(CProjection::FindUserRecord(41, PROJECTION_TRANSVERSE_MERCATOR, title, path));

  ASSERT_TRUE(projection_.SetFromIndex(39, PROJECTION_TRANSVERSE_MERCATOR, 0));
  EXPECT_EQ(projection_.m_Index, 39);
  EXPECT_EQ(projection_.m_Country, "A First");
  EXPECT_EQ(projection_.m_FileTitle, "A First");
  ASSERT_TRUE(projection_.SetFromIndex(5, PROJECTION_MERCATOR, 0));
  EXPECT_EQ(projection_.m_Country, "AA Mercator");
  EXPECT_FALSE(projection_.SetFromIndex(41, PROJECTION_TRANSVERSE_MERCATOR, 0));

  ASSERT_TRUE(projection_.SetFromIndex(38, PROJECTION_TRANSVERSE_MERCATOR, 0));
  EXPECT_EQ(projection_.m_FileTitle, "") << "a built-in row has no file";
}

TEST_F(ProjectionFile, BuiltInZonesShadowUserRecordsOfTheSameIndex) {
  for (int type : {PROJECTION_UTM, PROJECTION_STATE_PLANE, PROJECTION_NORWEGIAN}) {
    SCOPED_TRACE(type);
    SaveRecord("Zone record " + std::to_string(type), type);
    std::string title, path;
    ASSERT_TRUE(CProjection::FindUserRecord(0, type, title, path));
    EXPECT_EQ(title, "Zone record " + std::to_string(type));
    ASSERT_TRUE(projection_.SetFromIndex(0, type, 0));
    EXPECT_NE(projection_.m_Country, title) << "the built-in row 0 wins";
    EXPECT_EQ(projection_.m_FileTitle, "");
  }
  SaveRecord("Danish record", PROJECTION_DANISH);
  ASSERT_TRUE(projection_.SetFromIndex(2, PROJECTION_DANISH, 0));
  EXPECT_EQ(projection_.m_Country, "Danish record") << "numbered after Jylland and Seelland";
}

TEST_F(ProjectionFile, FindByNameTakesTheFirstRecordWithTheNameOnlyOnTheSameSpheroid) {
  SaveRecord("On Airy", PROJECTION_CASSINI_SOLDNER, "Mine");
  CSpheroid wgs84;
  SaveRecord("A on WGS84", PROJECTION_CASSINI_SOLDNER, "Mine", "On WGS84", &wgs84);
  SaveRecord("B same name on WGS84", PROJECTION_CASSINI_SOLDNER, "Mine", "On Airy", &wgs84);

  // Files in name order: "A on WGS84", "B same name on WGS84", "On Airy".
  EXPECT_FALSE(projection_.FindByName("Mine", "On Airy", PROJECTION_CASSINI_SOLDNER))
      << "the first record of that name is on another spheroid, which ends the search";
  EXPECT_EQ(projection_.m_Spheroid, &spheroid_);
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830");
  spheroid_.SetBuiltIn(kWgs84Row);
  ASSERT_TRUE(projection_.FindByName("Mine", "On Airy", PROJECTION_CASSINI_SOLDNER));
  EXPECT_EQ(projection_.m_FileTitle, "B same name on WGS84");
  EXPECT_EQ(projection_.m_Index, 2 + 1);
  EXPECT_EQ(spheroid_.m_Name, "WGS84");
  projection_.m_FileTitle = "Own";
  EXPECT_FALSE(projection_.FindByName("Mine", "Nowhere", PROJECTION_CASSINI_SOLDNER));
  EXPECT_EQ(projection_.m_FileTitle, "Own") << "a failed search must not leave a file to overwrite";
}

TEST_F(ProjectionFile, WritesTheSelectionSummaryAndItsSpheroidsForTheHost) {
  Typed("Local", "Site, 1");
  projection_.m_Method = 2;
  projection_.WriteSettingsSection("(To)");
  EXPECT_EQ(ReadBytes(GetSettingsFolder() + "Projection_(To).INI"),
            "Name = Local\r\nCountry = Site\xAB"
            "COMMA\xBB 1\r\nData Type = 1\r\nMethod = 2\r\n");
  EXPECT_EQ(ReadBytes(GetSettingsFolder() + "Spheroid_(To).INI"),
            "Name = Airy 1830\r\nCountry = OSGB\r\n");

  CProjection bare;
  bare.SetNames("Bare", nullptr);
  bare.WriteSettingsSection();
  EXPECT_EQ(ReadBytes(GetSettingsFolder() + "Projection.INI"),
            "Name = Bare\r\nCountry = \r\nData Type = 0\r\nMethod = 0\r\n");
  EXPECT_FALSE(FileExists(GetSettingsFolder() + "Spheroid.INI")) << "no spheroid attached";
}

}  // namespace
}  // namespace orvale
