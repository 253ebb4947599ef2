#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

class AngleCommand : public testing::TemporaryDrives {};

// Without a settings file the saved notation is DM with 7 decimals; text goes out in
// UTF-8 unless --cp1252 asks for the library's own bytes.
TEST_F(AngleCommand, PrintsEachAngleAsTheDisplayRulesShowIt) {
  const struct {
    std::vector<std::string> arguments;
    const char* shown;
  } cases[] = {
      {{"51.5", "--type", "latitude", "--notation", "dms"}, "51\u00B0 30' 00\".00000N"},
      {{"51 30 00 N", "-t", "5", "-n", "degrees"}, "51\u00B0.500000000N"},
      {{"51\u00B0 30' 00\".00000S", "--type", "latitude", "--notation", "dm", "-d", "2"},
       "51\u00B0 30'.00S"},
      {{"--cp1252", "10", "--type", "bearing", "--notation", "dms", "--decimals", "0"},
       "010\xB0 00' 00\""},
      {{"--in-radians", "0.8988445647770796", "--type", "latitude"}, "51\u00B0 30' 00\".00000N"},
      {{"--out-radians", "180", "--type", "bearing"}, "3.1415926535888237"},
      {{"0", "--type", "longitude", "--hint", "w", "--decimals", "0"}, "000\u00B0 00' 00\"W"},
      {{"51.5", "--type", "latitude", "--notation", "saved"}, "51\u00B0 30'.0000000N"},
      {{"--template", "--type", "latitude", "--notation", "dms"}, "89\u00B0 59' 59\".99999N\t9"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"angle"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto run = RunCli(arguments);
    EXPECT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_EQ(run.out, std::string(c.shown) + "\n") << c.arguments[0];
  }
}

TEST_F(AngleCommand, StreamsStandardInputAndKeepsBadLinesInPlace) {
  const auto run =
      RunCli({"angle", "--type", "latitude", "--notation", "degrees", "--decimals", "1"},
             "10\r\nnonsense\n-20.26\n");
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_EQ(run.out.substr(0, run.out.find("ERROR: ")), "10\u00B0.0N\n");
  EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), "20\u00B0.3S\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3) << run.out;
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
}

TEST_F(AngleCommand, RefusesUnknownTypesNotationsHintsAndCommands) {
  const std::vector<std::string> usage_errors[] = {
      {"angle", "1", "--type", "azimuth"},
      {"angle", "1", "--notation", "9"},
      {"angle", "0", "--type", "longitude", "--hint", "Q"},
      {}};
  for (const auto& arguments : usage_errors)
    EXPECT_EQ(RunCli(arguments).status, cli::kExitUsage) << arguments.size();
  EXPECT_NE(RunCli(usage_errors[0]).err.find("latitude"), std::string::npos)
      << "the message lists the choices";
  const auto run = RunCli({"angle", "--in-radians", "1.5x"});
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_EQ(run.out.rfind("ERROR: ", 0), 0u);
}

TEST_F(AngleCommand, ExplainsItsOptions) {
  const auto run = RunCli({"angle", "--help"});
  EXPECT_EQ(run.status, cli::kExitOk);
  for (const char* word : {"--type", "--notation", "--decimals", "--hint", "latitude", "gradians"})
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace orvale
