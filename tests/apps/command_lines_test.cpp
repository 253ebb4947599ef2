// Command lines of the orvale program and what they print: the table in
// tests/data/apps/command_lines.txt, standard input, and the folders of the drives.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "run_cli.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"
#include "text_fields.h"

namespace orvale {
namespace {

using testing::RunCli;
using CommandLines = testing::TemporaryDrives;

TEST_F(CommandLines, ExitAndPrintAsTheirTableSays) {
  for (const testing::TextRow& row : testing::ReadTextTable("apps/command_lines.txt")) {
    SCOPED_TRACE(row.where);
    ASSERT_GE(row.fields.size(), 3u);
    std::vector<std::string> arguments(row.fields.begin() + 3, row.fields.end());
    std::string input;
    if (!arguments.empty() && arguments.back().starts_with('<')) {
      input = arguments.back().substr(1);
      arguments.pop_back();
    }
    const testing::CliRun run = RunCli(arguments, input);
    EXPECT_EQ(run.status, std::stoi(row[0])) << run.err;
    const std::string& stream = row[1] == "err" ? run.err : run.out;
    const std::string kind = row[2].substr(0, row[2].find(' '));
    const std::string text = row[2].substr(std::min(row[2].size(), kind.size() + 1));
    if (kind == "is") {
      EXPECT_EQ(stream, text + "\n");
    } else if (kind == "has") {
      EXPECT_NE(stream.find(text), std::string::npos) << stream;
    } else if (kind == "starts") {
      EXPECT_TRUE(stream.starts_with(text)) << stream;
    } else {
      ASSERT_EQ(kind, "lines");
      EXPECT_EQ(std::count(stream.begin(), stream.end(), '\n'), std::stoi(text)) << stream;
    }
  }
}

TEST_F(CommandLines, AngleStreamsStandardInputAndKeepsBadLinesInPlace) {
  const auto run =
      RunCli({"angle", "--type", "latitude", "--notation", "degrees", "--decimals", "1"},
             "10\r\nnonsense\n-20.26\n");
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_EQ(run.out.substr(0, run.out.find("ERROR: ")), "10\u00B0.0N\n");
  EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), "20\u00B0.3S\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
}

TEST_F(CommandLines, FoldersShowsAndMakesTheSettingsAndRecordFolders) {
  const auto run = RunCli({"folders"});
  EXPECT_EQ(run.status, cli::kExitOk);
  EXPECT_NE(run.out.find("C:\\MySettings\\Orvale\\"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("C:\\MyData\\Global\\"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(Root('C')), std::string::npos) << "the host folder is shown too";
  EXPECT_NE(run.out.find("D:  (not configured)"), std::string::npos) << run.out;
}

// Output that cannot be written is an error of every command, never a silent success.
TEST_F(CommandLines, EveryCommandSaysWhenItsOutputCannotBeWritten) {
  const std::vector<std::vector<std::string>> commands = {
      {"angle", "51.5"},
      {"angle", "--template"},
      {"project", "--projection", "utm:31", "51,3"},
      {"units"},
      {"units", "1000"},
      {"projections"},
      {"spheroids"},
      {"folders"},
      {"cartesian", "51,3,10"},
      {"helmert", "--tx", "1", "51,3,10"},
      {"heading", "3,4"},
      {"gyro", "-p", "utm:31", "60,9,45"},
      {"--help"},
      {"project", "--help"}};
  for (const auto& arguments : commands) {
    SCOPED_TRACE(arguments.front() + " " + arguments.back());
    std::ofstream full("/dev/full");
    ASSERT_TRUE(full.is_open());
    const auto run = testing::RunCliTo(full, arguments);
    EXPECT_EQ(run.status, cli::kExitBadInput);
    EXPECT_NE(run.err.find("orvale: cannot write output: No space left on device"),
              std::string::npos)
        << run.err;
    std::ostream closed(nullptr);  // as a closed standard output
    const auto refused = testing::RunCliTo(closed, arguments);
    EXPECT_EQ(refused.status, cli::kExitBadInput);
    EXPECT_NE(refused.err.find("cannot write output: "), std::string::npos) << refused.err;
  }
}

TEST_F(CommandLines, ADirectoryAsStandardInputIsAnError) {
  const int directory = ::open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(directory, 0);
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{"angle"}, {"project", "--projection", "utm:31"}}) {
    std::ostringstream out;
    const auto run = testing::RunCliTo(out, arguments, "", directory);
    EXPECT_EQ(run.status, cli::kExitUsage) << arguments.front();
    EXPECT_NE(run.err.find("standard input is a directory"), std::string::npos) << run.err;
  }
  ::close(directory);
}

// Input that fails part way (a read error, not its end) is said, never taken for the
// end of the points.
TEST_F(CommandLines, AReadErrorIsNotTheEndOfTheInput) {
  // Fails as a disk would.
  class FailingInput : public std::streambuf {
   protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }
  };
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"angle", "--type", "latitude"}, {"project", "--projection", "utm:31"}}) {
    FailingInput failing;
    std::istream in(&failing);
    std::ostringstream out;
    const auto run = testing::RunCliTo(out, arguments, "", -1, &in);
    EXPECT_EQ(run.status, cli::kExitBadInput) << arguments.front();
    EXPECT_NE(run.err.find("cannot read input"), std::string::npos) << run.err;
  }
}

// No nan or inf is printed: a value the method cannot give shows as missing.
TEST_F(CommandLines, NumbersThatAreNoNumberPrintAsMissing) {
  const struct {
    double value;
    cli::MissingMark mark;
    std::string shown;
  } cases[] = {{std::nan(""), cli::MissingMark::kDash, "-"},
               {HUGE_VAL, cli::MissingMark::kEmpty, ""},
               {-HUGE_VAL, cli::MissingMark::kNull, "null"},
               {0.25, cli::MissingMark::kNull, "0.250"},
               {-1234.5678, cli::MissingMark::kDash, "-1234.568"}};
  for (const auto& c : cases) {
    std::string out;
    cli::AppendNumber(out, c.value, 3, c.mark);
    EXPECT_EQ(out, c.shown) << c.value;
  }
}

// Whatever a line holds, each output line of --format json is one JSON object, and a
// bad line is quoted in messages at most 80 characters long, its control bytes escaped.
TEST_F(CommandLines, JsonLinesStayObjectsAndMessagesQuoteLinesShortly) {
  const std::string input = std::string(200, 'x') + "\x01\n\"q\"\\,51,3\n\t\n# c\xFF\n" +
                            std::string(100000, '9') + "\n\xC3,1,2\n";
  const auto run = RunCli({"project", "--projection", "utm:31", "--id", "--format", "json"}, input);
  EXPECT_EQ(run.status, cli::kExitBadInput);
  const auto lines = testing::Lines(run.out);
  ASSERT_EQ(lines.size(), 6u) << run.out;
  for (const std::string& line : lines) {
    EXPECT_TRUE(line.starts_with('{') && line.ends_with('}')) << line;
    EXPECT_TRUE(cli::IsUtf8(line)) << line;
    EXPECT_EQ(line.find_first_of("\x01\t"), std::string::npos) << line;
  }
  EXPECT_EQ(lines[1].rfind("{\"id\":\"\\\"q\\\"\\\\\",\"easting\":", 0), 0u) << lines[1];
  const auto bad = RunCli({"angle"}, std::string(200, 'x') + "\x01\n");
  EXPECT_EQ(bad.out,
            "ERROR: '" + std::string(80, 'x') + "...': unexpected character 'x' at position 1\n");
}

}  // namespace
}  // namespace orvale
