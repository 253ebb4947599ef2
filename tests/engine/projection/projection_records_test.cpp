// Projection record files: their bytes, reading them back, the files that cannot be
// read and count for no type, and the selection summary written for the host. Their
// place in the catalogue: projection_lookup_test.cpp.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "orvale/engine/angles/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/platform/files.h"
#include "orvale/storage/data_folders.h"
#include "support/projection_fixture.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

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

class ProjectionRecords : public testing::TemporaryDrives {
 protected:
  void SetUp() override {
    TemporaryDrives::SetUp();
    ASSERT_EQ(RecordFolder(), InGlobal(""));  // made, as the library does on first use
    EXPECT_TRUE(spheroid_.SetBuiltIn(testing::kAiry1830Row));
    projection_.m_Spheroid = &spheroid_;
  }

  // A type 1 record holding the values of `Block`, named as given.
  void Typed(const std::string& name, const std::string& country) {
    const Block b;
    projection_.m_Type = b.type;
    projection_.m_Method = b.method;
    projection_.SetNames(name.c_str(), country.c_str());
    projection_.SetParameters(b.values[0], b.values[1], b.values[2], b.values[3], b.values[4]);
  }

  CSpheroid spheroid_;
  CProjection projection_;
};

TEST_F(ProjectionRecords, SavesFourLinesAndTheBlockUnderItsTitleOrElseNameAndCountry) {
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
  // A path gives only the title; a record without a key, or one that would leave the
  // folder or not read back, is not written.
  ASSERT_TRUE(plain.WriteRecordFile("E:\\Somewhere\\Chosen.txt"));
  EXPECT_EQ(plain.m_FileTitle, "Chosen");
  for (const char* name : {"", "Puerto Rico/Virgin I", "Two\nLines"}) {
    CProjection refused;
    refused.SetNames(name, nullptr);
    EXPECT_FALSE(refused.WriteRecordFile()) << name;
  }
  EXPECT_EQ(FindFiles(InGlobal("*.PRJ")),
            (std::vector<std::string>{"Chosen.PRJ", "Local.PRJ", "Local_Site 1.PRJ"}));
}

TEST_F(ProjectionRecords, StoresTheValuesAfterSetUp) {
  // A Lambert two-parallel record keeps the scale factor its set-up derives.
  projection_.m_Type = PROJECTION_LAMBERT;
  projection_.m_Method = 1;
  projection_.m_StandardParallel1 = 30 * kRadiansPerDegree;
  projection_.m_StandardParallel2 = 50 * kRadiansPerDegree;
  projection_.SetNames("Cone", nullptr);
  projection_.SetParametersDeg(43, 34, 0, 0, 1);
  ASSERT_NE(projection_.m_ScaleFactor, 1.0);
  ASSERT_TRUE(projection_.WriteRecordFile());
  const Block cone = {PROJECTION_LAMBERT,
                      1,
                      {projection_.m_OriginLatitude, projection_.m_CentralMeridian, 0.0, 0.0,
                       projection_.m_ScaleFactor, 30 * kRadiansPerDegree, 50 * kRadiansPerDegree}};
  EXPECT_EQ(ReadBytes(InGlobal("Cone.PRJ")), "Cone\n\nAiry 1830\nOSGB\n" + BlockBytes(cone));
}

TEST_F(ProjectionRecords, ReadsARecordBackAndRewritesItByteForByte) {
  Typed("Local", "Site 1");
  ASSERT_TRUE(projection_.WriteRecordFile());
  const std::string written = ReadBytes(InGlobal("Local_Site 1.PRJ"));

  testing::TestProjection read;  // on WGS84 until the record names its spheroid
  ASSERT_TRUE(read.ReadRecordFile("D:\\Elsewhere\\Local_Site 1.txt"));
  EXPECT_EQ(
      std::tie(read.m_FileTitle, read.m_Name, read.m_Country, read.spheroid.m_Name, read.m_Type),
      std::tuple("Local_Site 1", "Local", "Site 1", "Airy 1830", 1));
  EXPECT_EQ(std::tie(read.m_OriginLatitude, read.m_CentralMeridian, read.m_ScaleFactor),
            std::tuple(0.85, -0.035, 0.9996012717));
  EXPECT_DOUBLE_EQ(read.m_SinLat0, std::sin(0.85)) << "set up after reading";

  ASSERT_TRUE(read.WriteRecordFile(InGlobal("Copy.PRJ")));
  EXPECT_EQ(ReadBytes(InGlobal("Copy.PRJ")), written);
}

TEST_F(ProjectionRecords, ReadingAUtmRecordSetsNeitherItsZoneNorItsZoneName) {
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
TEST_F(ProjectionRecords, RefusesMissingAndDamagedFilesWithoutTouchingTheSpheroid) {
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
      {"Longer", lines + BlockBytes(Block()) + "\n"},
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

TEST_F(ProjectionRecords, ReadsRecordsWithoutANameOrASpheroid) {
  WriteBytes(InGlobal("Quarry.PRJ"), "\n\n\n\n" + BlockBytes(Block()));
  ASSERT_TRUE(projection_.ReadRecordFile("Quarry.PRJ"));
  EXPECT_EQ(projection_.m_Name, "Quarry") << "named after its file";
  EXPECT_EQ(projection_.m_Country, "");
  EXPECT_EQ(spheroid_.m_Name, "Airy 1830") << "none saved: the attached one stays";
}

// A file that holds no projection counts for no type and does not load, and the
// reader says why; the spheroid attached is left alone.
TEST_F(ProjectionRecords, RefusesBlocksAndSpheroidsThatMakeNoProjectionAndSaysWhy) {
  CSpheroid local;
  local.m_Name = "Local Fit";
  local.m_Country = "Mine";
  local.SetAxes(6378000.0, 300.0);
  ASSERT_TRUE(local.Save());
  for (const testing::TextRow& c : testing::ReadTextTable("records/projection_values.txt", 6)) {
    const std::vector<double> kind = c.Numbers(1), v = c.Numbers(2);
    Block block{static_cast<std::int32_t>(kind[0]), static_cast<std::int32_t>(kind[1]), {}};
    for (std::size_t i = 0; i < 7; ++i) {
      const bool angle = i < 2 || i > 4;
      block.values[i] = angle ? v[i] * kRadiansPerDegree : v[i];
    }
    WriteBytes(InGlobal(c[0] + ".PRJ"),
               c[0] + "\n\n" + c[3] + "\n" + c[4] + "\n" + BlockBytes(block));
    Typed("Kept", "");
    const RecordStatus status = ReadProjectionRecordFile(projection_, c[0]);
    EXPECT_EQ(spheroid_.m_Name, c[3].empty() || !status.ok ? "Airy 1830" : c[3]) << c.where;
    spheroid_ = CSpheroid();
    ASSERT_TRUE(spheroid_.SetBuiltIn(testing::kAiry1830Row));
    if (c[5] == "-") {
      EXPECT_TRUE(status.ok) << c.where << ": " << status.reason;
      EXPECT_EQ(std::tie(projection_.m_Name, projection_.m_Type), std::tie(c.fields[0], block.type))
          << c.where;
      EXPECT_EQ(CProjection::ReadRecordType(c[0]), block.type) << c.where;
      continue;
    }
    EXPECT_FALSE(status.ok) << c.where;
    EXPECT_TRUE(status.reason.starts_with(c[5])) << c.where << ": " << status.reason;
    EXPECT_EQ(projection_.m_Name, "Kept") << c.where;
    EXPECT_EQ(CProjection::ReadRecordType(c[0]), kNoRecordType) << c.where;
  }
  const ProjectionRecordsByType listed = ListProjectionRecords();
  ASSERT_EQ(listed.unreadable.size(), listed.reasons.size());
  for (std::size_t i = 0; i < listed.unreadable.size(); ++i) {
    EXPECT_FALSE(listed.reasons[i].empty()) << listed.unreadable[i];
  }
}

// The bounds refuse no real projection: the built-in rows of every type and method,
// saved as records, read back (every seventh row and the last of each, as each save
// waits for the disk).
TEST_F(ProjectionRecords, ReadsBackTheBuiltInRowsSavedAsRecords) {
  CSpheroid on;
  CProjection row;
  row.m_Spheroid = &on;
  int saved = 0;
  for (int type = 0; type < kProjectionTypeCount; ++type) {
    for (int method = 0; method < std::max(CProjection::MethodCount(type), 1); ++method) {
      for (int index = 0; row.SetFromCatalogue(index, type, method); ++index) {
        if (index % 7 != 0 && row.SetFromCatalogue(index + 1, type, method)) continue;
        static_cast<void>(row.SetFromCatalogue(index, type, method));
        row.m_FileTitle = "Row";
        ASSERT_TRUE(row.WriteRecordFile());
        CProjection read;
        CSpheroid read_on;
        read.m_Spheroid = &read_on;
        const RecordStatus status = ReadProjectionRecordFile(read, "Row");
        EXPECT_TRUE(status.ok) << type << "/" << index << " method " << method << ": "
                               << status.reason;
        ++saved;
      }
    }
  }
  EXPECT_GT(saved, 231 / 7);
}

TEST_F(ProjectionRecords, WritesTheSelectionSummaryAndItsSpheroidsForTheHost) {
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
