#include <gtest/gtest.h>

#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

class AngleCommand : public testing::TemporaryDrives {};

TEST_F(AngleCommand, ShowsALatitudeInUtf8AsTheDisplayRulesPrintIt) {
  const auto run = RunCli({"angle", "51.5", "--type", "latitude", "--notation", "dms"});
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_EQ(run.out, "51\u00B0 30' 00\".00000N\n");
}

TEST_F(AngleCommand, ReadsTypedDmsAndPrintsEveryRequestedForm) {
  auto run = RunCli({"angle", "51 30 00 N", "-t", "5", "-n", "degrees"});
  EXPECT_EQ(run.out, "51\u00B0.500000000N\n") << run.err;
  run = RunCli(
      {"angle", "51\u00B0 30' 00\".00000S", "--type", "latitude", "--notation", "dm", "-d", "2"});
  EXPECT_EQ(run.out, "51\u00B0 30'.00S\n") << run.err;
  run = RunCli(
      {"angle", "--cp1252", "10", "--type", "bearing", "--notation", "dms", "--decimals", "0"});
  EXPECT_EQ(run.out, "010\xB0 00' 00\"\n") << run.err;
}

TEST_F(AngleCommand, ConvertsBetweenRadiansAndText) {
  auto run = RunCli({"angle", "--in-radians", "0.8988445647770796", "--type", "latitude"});
  EXPECT_EQ(run.out, "51\u00B0 30' 00\".00000N\n") << run.err;
  run = RunCli({"angle", "--out-radians", "180", "--type", "bearing"});
  EXPECT_EQ(run.out, "3.1415926535888237\n") << run.err;
}

TEST_F(AngleCommand, StreamsStandardInputAndKeepsBadLinesInPlace) {
  const auto run =
      RunCli({"angle", "--type", "latitude", "--notation", "degrees", "--decimals", "1"},
             "10\r\nnonsense\n-20.26\n");
  EXPECT_EQ(run.status, cli::kExitBadInput);
  std::istringstream lines(run.out);
  std::string first, second, third;
  std::getline(lines, first);
  std::getline(lines, second);
  std::getline(lines, third);
  EXPECT_EQ(first, "10\u00B0.0N");
  EXPECT_EQ(second.rfind("ERROR: ", 0), 0u) << second;
  EXPECT_EQ(third, "20\u00B0.3S");
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
}

TEST_F(AngleCommand, RefusesUnknownTypesNotationsAndHints) {
  auto run = RunCli({"angle", "1", "--type", "azimuth"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  EXPECT_NE(run.err.find("latitude"), std::string::npos) << "the message lists the choices";
  run = RunCli({"angle", "1", "--notation", "9"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  run = RunCli({"angle", "0", "--type", "longitude", "--hint", "Q"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  run = RunCli({"angle", "--in-radians", "1.5x"});
  EXPECT_EQ(run.status, cli::kExitBadInput);
  EXPECT_EQ(run.out.rfind("ERROR: ", 0), 0u);
}

TEST_F(AngleCommand, ShowsTheHintLetterForAZeroLongitude) {
  const auto run = RunCli({"angle", "0", "--type", "longitude", "--hint", "w", "--decimals", "0"});
  EXPECT_EQ(run.out, "000\u00B0 00' 00\"W\n") << run.err;
}

TEST_F(AngleCommand, UsesTheSavedNotationWhenAskedTo) {
  const auto run = RunCli({"angle", "51.5", "--type", "latitude", "--notation", "saved"});
  // Without a settings file the saved notation is DM with 7 decimals.
  EXPECT_EQ(run.out, "51\u00B0 30'.0000000N\n") << run.err;
}

TEST_F(AngleCommand, PrintsTheEntryTemplate) {
  const auto run = RunCli({"angle", "--template", "--type", "latitude", "--notation", "dms"});
  EXPECT_EQ(run.out, "89\u00B0 59' 59\".99999N\t9\n") << run.err;
}

TEST_F(AngleCommand, ExplainsItsOptions) {
  const auto run = RunCli({"angle", "--help"});
  EXPECT_EQ(run.status, cli::kExitOk);
  for (const char* word :
       {"--type", "--notation", "--decimals", "--hint", "latitude", "gradians"}) {
    EXPECT_NE(run.out.find(word), std::string::npos) << word;
  }
}

TEST_F(AngleCommand, NeedsACommand) {
  const auto run = RunCli({});
  EXPECT_EQ(run.status, cli::kExitUsage);
}

}  // namespace
}  // namespace orvale
