#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/storage/data_folders.h"
#include "run_cli.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::RunCli;

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
  // The lines of a listing that ends with `status` and has `records` record files.
  std::vector<std::string> Listing(const std::vector<std::string>& arguments, int status,
                                   std::size_t records) {
    const auto run = RunCli(arguments);
    EXPECT_EQ(run.status, status) << run.err;
    last_err_ = run.err;
    std::vector<std::string> lines = testing::Lines(run.out);
    EXPECT_EQ(lines.size(), 1 + BuiltInSpheroids().size() + records);
    lines.resize(1 + BuiltInSpheroids().size() + records);
    return lines;
  }
  std::string last_err_;
};

TEST_F(SpheroidsCommand, ListsTheBuiltInRowsThenRecordFilesAsAnAlignedUtf8Table) {
  SaveRecord("Zeta", "");
  SaveRecord("Caf\xE9", "Test, local");
  const auto lines = Listing({"spheroids"}, cli::kExitOk, 2);
  // Every row's values are checked through the CSV below; here the columns line up.
  const std::size_t name_column = lines[0].find("Name"), country_column = lines[0].find("Country");
  ASSERT_NE(name_column, std::string::npos);
  EXPECT_EQ(lines[1].substr(name_column, 14), "Airy 1830     ");
  EXPECT_EQ(lines[53].substr(country_column, 5), "China");
  for (const char* figure : {"7030", "298.257223563"})
    EXPECT_NE(lines[27].find(figure), std::string::npos) << lines[27];
  EXPECT_NE(lines[1].find("6377563.39635"), std::string::npos) << "a printed in full: " << lines[1];
  // The authalic sphere ends with its b; a sphere shows no inverse flattening.
  EXPECT_TRUE(lines[32].ends_with(" 6371000")) << lines[32];
  EXPECT_EQ(std::stoi(lines[54]), 53) << lines[54];
  for (const char* text : {"Caf\u00E9", "300.25"})
    EXPECT_NE(lines[54].find(text), std::string::npos) << lines[54];
  EXPECT_NE(lines[55].find("Zeta"), std::string::npos) << lines[55];
  // Columns are counted in characters: the two-byte UTF-8 letter shifts by one byte.
  EXPECT_EQ(lines[54].find("6378000.5"), lines[55].find("6378000.5") + 1);
}

TEST_F(SpheroidsCommand, WritesCsvThatReadsBackAndListsAnUnreadableRecordWithoutValues) {
  SaveRecord("Say \"hi\", ok", "", "Quoted.SPD");
  WriteBytes(RecordFolder() + "Broken.SPD", "Broken\n\n\x01\x02");
  const auto lines = Listing({"spheroids", "--csv"}, cli::kExitBadInput, 2);
  EXPECT_EQ(lines[0], "index,epsg,name,country,a,b,inverse_flattening");
  for (std::size_t i = 0; i < BuiltInSpheroids().size(); ++i) {
    const SpheroidRow& row = BuiltInSpheroids()[i];
    const auto f = testing::CsvFields(lines[i + 1]);
    ASSERT_EQ(f.size(), 7u);
    EXPECT_EQ(std::tie(f[0], f[1], f[2], f[3]),
              std::tuple(std::to_string(i), std::to_string(row.epsg), row.name, row.country));
    EXPECT_EQ(std::tuple(std::stod(f[4]), std::stod(f[5])),
              std::tuple(row.semi_major_axis, row.semi_minor_axis));
    if (row.inverse_flattening == 1.0) {
      EXPECT_EQ(f[6], "") << row.name << ": a sphere shows no inverse flattening";
    } else {
      EXPECT_EQ(std::stod(f[6]), row.inverse_flattening) << row.name;
    }
  }
  EXPECT_EQ(lines[54], "53,,Broken.SPD,,,,");
  EXPECT_EQ(lines[55].rfind("54,,\"Say \"\"hi\"\", ok\",,6378000.5,", 0), 0u) << lines[55];
  EXPECT_NE(last_err_.find("Broken.SPD"), std::string::npos) << last_err_;
}

// A name cannot drive the terminal: its control characters show as "\xNN" in the
// table, and a file name on standard error is shown the same way.
TEST_F(SpheroidsCommand, EscapesControlCharactersOfNamesInTheTable) {
  SaveRecord("Clear\x1B[2J", "Bell\x07", "Odd");
  WriteBytes(RecordFolder() + "Tab\there.SPD", "");
  const auto lines = Listing({"spheroids"}, cli::kExitBadInput, 2);
  for (const char* shown : {"Clear\\x1B[2J ", " Bell\\x07 "})
    EXPECT_NE(lines[54].find(shown), std::string::npos) << lines[54];
  EXPECT_NE(lines[55].find("Tab\\x09here.SPD"), std::string::npos) << lines[55];
  EXPECT_NE(last_err_.find("Tab\\x09here.SPD: cannot be read"), std::string::npos) << last_err_;
  for (const std::string& line : lines)
    EXPECT_EQ(line.find_first_of("\x1B\x07\t"), std::string::npos) << line;
}

// The listing goes through the point commands' writer: lengths in any unit (the US
// survey foot and the international foot kept apart), JSON lines, and a file written
// whole or not at all.
TEST_F(SpheroidsCommand, WritesLengthsInTheChosenUnitAsJsonLinesOrToAFile) {
  const double us_foot = 1200.0 / 3937.0;
  for (const auto& [unit, metres] : {std::pair{"us-ft", us_foot}, std::pair{"ft", 0.3048}}) {
    const auto lines = Listing({"spheroids", "--csv", "--units", unit, "-d", "4"}, cli::kExitOk, 0);
    for (std::size_t i = 0; i < BuiltInSpheroids().size(); ++i) {
      const auto f = testing::CsvFields(lines[i + 1]);
      ASSERT_EQ(f.size(), 7u);
      EXPECT_NEAR(std::stod(f[4]), BuiltInSpheroids()[i].semi_major_axis / metres, 5e-5) << unit;
      EXPECT_EQ(f[4].size() - f[4].find('.'), 5u) << "four decimals: " << f[4];
    }
  }
  const auto table = Listing({"spheroids", "--units", "us-ft"}, cli::kExitOk, 0);
  EXPECT_NE(table[0].find("a (us-ft)"), std::string::npos) << table[0];

  const auto json = testing::Lines(RunCli({"spheroids", "--format", "json"}).out);
  ASSERT_EQ(json.size(), BuiltInSpheroids().size()) << "no header";
  EXPECT_EQ(json[0],
            "{\"index\":0,\"epsg\":7001,\"name\":\"Airy 1830\",\"country\":\"OSGB\","
            "\"a\":6377563.39635,\"b\":6356256.91,\"inverse_flattening\":"
            "299.32497041446857}");
  EXPECT_TRUE(json[31].ends_with("\"inverse_flattening\":null}")) << "a sphere: " << json[31];

  const std::string path = Root() + "/listing.csv";
  const auto to_file = RunCli({"spheroids", "--csv", "--output", path});
  ASSERT_EQ(to_file.status, cli::kExitOk) << to_file.err;
  EXPECT_EQ(to_file.out, "");
  std::ifstream file(path, std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(written, RunCli({"spheroids", "--csv"}).out);
  const auto nowhere = RunCli({"spheroids", "--output", Root() + "/no/such/folder.txt"});
  EXPECT_EQ(nowhere.status, cli::kExitUsage);
  EXPECT_NE(nowhere.err.find("no/such/folder.txt"), std::string::npos) << nowhere.err;
}

}  // namespace
}  // namespace orvale
