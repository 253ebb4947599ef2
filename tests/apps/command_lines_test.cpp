// Command lines of the orvale program and what they print: the table in
// tests/data/apps/command_lines.txt, standard input, and the folders of the drives.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_cli.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"

namespace orvale {
namespace {

using testing::RunCli;
using CommandLines = testing::TemporaryDrives;

TEST_F(CommandLines, ExitAndPrintAsTheirTableSays) {
  for (const testing::TextRow& row : testing::ReadTextTable("apps/command_lines.txt")) {
    SCOPED_TRACE(row.where);
    ASSERT_GE(row.fields.size(), 3u);
    const testing::CliRun run =
        RunCli(std::vector<std::string>(row.fields.begin() + 3, row.fields.end()));
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

}  // namespace
}  // namespace orvale
