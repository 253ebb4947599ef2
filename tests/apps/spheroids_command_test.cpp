#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/spheroid.h"
#include "orvale/engine/spheroid_catalogue.h"
#include "orvale/storage/data_folders.h"
#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Splits one RFC 4180 record that holds no line break.
std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

class SpheroidsCommand : public testing::TemporaryDrives {
 protected:
  static void SaveRecord(const std::string& name, const std::string& country,
                         const std::string& file = {}) {
    CSpheroid s;
    s.m_Name = name;
    s.m_Country = country;
    s.SetAxes(6378000.5, 300.25);
    ASSERT_TRUE(s.Save(file));
  }
};

TEST_F(SpheroidsCommand, ListsTheBuiltInRowsAsAnAlignedTable) {
  const auto run = RunCli({"spheroids"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + kBuiltInSpheroidCount);
  const std::size_t name_column = lines[0].find("Name");
  const std::size_t country_column = lines[0].find("Country");
  ASSERT_NE(name_column, std::string::npos);
  for (int index = 0; index < kBuiltInSpheroidCount; ++index) {
    const SpheroidRow& row = BuiltInSpheroids()[static_cast<std::size_t>(index)];
    const std::string& line = lines[static_cast<std::size_t>(index) + 1];
    EXPECT_EQ(line.substr(name_column, row.name.size()), row.name) << line;
    if (!row.country.empty()) {
      EXPECT_EQ(line.substr(country_column, row.country.size()), row.country);
    }
    EXPECT_EQ(std::stoi(line), index);
  }
  EXPECT_NE(lines[27].find("7030"), std::string::npos) << lines[27];
  EXPECT_NE(lines[27].find("298.257223563"), std::string::npos) << lines[27];
  EXPECT_NE(lines[1].find("6377563.39635"), std::string::npos) << "a printed in full: " << lines[1];
  // The authalic sphere ends with its b; a sphere shows no inverse flattening.
  EXPECT_TRUE(lines[32].ends_with(" 6371000")) << lines[32];
}

TEST_F(SpheroidsCommand, AppendsRecordFilesInIndexOrderAsUtf8) {
  SaveRecord("Zeta", "");
  SaveRecord("Caf\xE9", "Test, local");
  const auto run = RunCli({"spheroids"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + kBuiltInSpheroidCount + 2);
  EXPECT_EQ(std::stoi(lines[54]), 53) << lines[54];
  EXPECT_NE(lines[54].find("Caf\u00E9"), std::string::npos) << lines[54];
  EXPECT_NE(lines[54].find("300.25"), std::string::npos) << lines[54];
  EXPECT_NE(lines[55].find("Zeta"), std::string::npos) << lines[55];
  // Columns are counted in characters: the two-byte UTF-8 letter shifts by one byte.
  EXPECT_EQ(lines[54].find("6378000.5"), lines[55].find("6378000.5") + 1);
}

TEST_F(SpheroidsCommand, WritesCsvThatReadsBackToTheSameValues) {
  SaveRecord("Say \"hi\", ok", "", "Quoted.SPD");
  const auto run = RunCli({"spheroids", "--csv"});
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + kBuiltInSpheroidCount + 1);
  EXPECT_EQ(lines[0], "index,epsg,name,country,a,b,inverse_flattening");
  for (int index = 0; index < kBuiltInSpheroidCount; ++index) {
    const SpheroidRow& row = BuiltInSpheroids()[static_cast<std::size_t>(index)];
    const auto fields = CsvFields(lines[static_cast<std::size_t>(index) + 1]);
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[0], std::to_string(index));
    EXPECT_EQ(fields[1], std::to_string(row.epsg));
    EXPECT_EQ(fields[2], row.name);
    EXPECT_EQ(fields[3], row.country);
    EXPECT_EQ(std::stod(fields[4]), row.semi_major_axis);
    EXPECT_EQ(std::stod(fields[5]), row.semi_minor_axis);
    if (row.inverse_flattening == 1.0) {
      EXPECT_TRUE(fields[6].empty()) << row.name;
    } else {
      EXPECT_EQ(std::stod(fields[6]), row.inverse_flattening);
    }
  }
  EXPECT_EQ(lines[54].rfind("53,,\"Say \"\"hi\"\", ok\",,6378000.5,", 0), 0u) << lines[54];
  EXPECT_EQ(CsvFields(lines[54])[2], "Say \"hi\", ok");
}

TEST_F(SpheroidsCommand, ListsAnUnreadableRecordWithoutValuesAndSaysSo) {
  SaveRecord("Good", "");
  WriteBytes(RecordFolder() + "Broken.SPD", "Broken\n\n\x01\x02");
  const auto run = RunCli({"spheroids", "--csv"});
  EXPECT_EQ(run.status, cli::kExitBadInput);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 1u + kBuiltInSpheroidCount + 2);
  EXPECT_EQ(lines[54], "53,,Broken.SPD,,,,");
  EXPECT_EQ(CsvFields(lines[55])[2], "Good");
  EXPECT_NE(run.err.find("Broken.SPD"), std::string::npos) << run.err;
}

TEST_F(SpheroidsCommand, ExplainsItself) {
  const auto run = RunCli({"spheroids", "--help"});
  EXPECT_EQ(run.status, cli::kExitOk);
  for (const char* word : {"--csv", "53", "SPD", "EPSG"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace orvale
