#include <gtest/gtest.h>

#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;

class UnitsCommand : public testing::TemporaryDrives {};

TEST_F(UnitsCommand, ShowsMetresInUsSurveyChains) {
  const auto run = RunCli({"units", "1000", "--mode", "1", "--index", "1", "--imperial", "3"});
  EXPECT_EQ(run.status, cli::kExitOk) << run.err;
  // 1000 m / (0.30480060960121924 m x 66) = 49.7096 chains.
  EXPECT_EQ(run.out, "49.7096 Chn\n");
}

TEST_F(UnitsCommand, ListsEveryFootDefinition) {
  const auto run = RunCli({"units"});
  for (const char* name : {"Metres", "Germany Legal", "US Survey", "Indian 1975", "Chains"}) {
    EXPECT_NE(run.out.find(name), std::string::npos) << name;
  }
}

TEST_F(UnitsCommand, RefusesARowOutsideTheTable) {
  const auto run = RunCli({"units", "1", "--mode", "0", "--index", "5"});
  EXPECT_EQ(run.status, cli::kExitUsage);
  EXPECT_NE(run.err.find("0..2"), std::string::npos) << run.err;
}

class FoldersCommand : public testing::TemporaryDrives {};

TEST_F(FoldersCommand, ShowsAndMakesTheSettingsAndRecordFolders) {
  const auto run = RunCli({"folders"});
  EXPECT_EQ(run.status, cli::kExitOk);
  EXPECT_NE(run.out.find("C:\\MySettings\\Orvale\\"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("C:\\MyData\\Global\\"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(Root('C')), std::string::npos) << "the host folder is shown too";
  EXPECT_NE(run.out.find("D:  (not configured)"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace orvale
