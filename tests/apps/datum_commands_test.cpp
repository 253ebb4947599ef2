// orvale datums and orvale helmert --datum: the catalogue and the user's records
// listed, and a datum's parameters and spheroids applied as if typed by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "orvale/engine/datum/datum.h"
#include "orvale/storage/data_folders.h"
#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;
using DatumCommands = testing::TemporaryDrives;

const std::string kPoints = "52:30N,1:15W,100\n-33.9,18.4,5\n";

TEST_F(DatumCommands, HelmertWithADatumIsItsParametersTypedByHand) {
  const auto typed = RunCli({"helmert", "--tx", "89.5", "--ty", "93.8", "--tz", "123.1", "--rz",
                             "0.156", "--s", "-1.2", "--target-spheroid", "International Spheroid"},
                            kPoints);
  ASSERT_EQ(typed.status, cli::kExitOk) << typed.err;
  for (const char* datum : {"wgs84/2", "1/2", "wgs 84 to e.d. 50 (UKOOA Recommended)"}) {
    const auto run = RunCli({"helmert", "--datum", datum}, kPoints);
    ASSERT_EQ(run.status, cli::kExitOk) << datum << ": " << run.err;
    EXPECT_EQ(run.out, typed.out) << datum;
  }
  // Reversed, the points come on International and go back to WGS84, to the start
  // within the second-order terms the reversed formula leaves.
  const auto back = RunCli({"helmert", "--datum", "wgs84/2", "--reverse"}, typed.out);
  ASSERT_EQ(back.status, cli::kExitOk) << back.err;
  std::istringstream got(back.out);
  double lat = 0, lon = 0, h = 0;
  ASSERT_TRUE(got >> lat >> lon >> h);
  EXPECT_NEAR(lat, 52.5, 1e-8);
  EXPECT_NEAR(lon, -1.25, 1e-8);
  EXPECT_NEAR(h, 100.0, 0.001);
}

TEST_F(DatumCommands, ListsAndAppliesTheUsersRecordsAndNamesOnesThatCannotBeRead) {
  CSpheroid target;
  CDatum datum;
  datum.m_TargetSpheroid = &target;
  ASSERT_TRUE(datum.SetFromCatalogue(1, 2, 1));
  datum.m_FromName = "WGS 84";
  datum.m_ToName = "Site";
  datum.m_ShiftStatus = "";
  datum.m_Shift = DatumShiftParameters{};
  datum.m_Shift.m_DX = 10.0;
  ASSERT_TRUE(datum.Save());
  WriteBytes(InGlobal("Broken.DMF"), "Broken\n\n");

  const auto listed = RunCli({"datums", "--type", "user", "--csv"});
  EXPECT_EQ(listed.status, cli::kExitBadInput);
  EXPECT_NE(listed.err.find("Broken.DMF: cannot be read"), std::string::npos) << listed.err;
  EXPECT_NE(listed.out.find("\n7,0,,,,,,,,,,,,,,,Broken.DMF\n"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("\n7,1,WGS 84 to Site (WGS 84_Site),WGS84,"), std::string::npos)
      << listed.out;

  const auto by_number = RunCli({"helmert", "--datum", "user/1", "--to", "cartesian"}, "0,0,0\n");
  ASSERT_EQ(by_number.status, cli::kExitOk) << by_number.err;
  EXPECT_TRUE(by_number.out.starts_with("6378147.0000 ")) << by_number.out;  // a + dx
  const auto by_title =
      RunCli({"helmert", "--datum", "wgs 84_site", "--to", "cartesian"}, "0,0,0\n");
  EXPECT_EQ(by_title.out, by_number.out) << by_title.err;
  const auto broken = RunCli({"helmert", "--datum", "user/0"}, "0,0,0\n");
  EXPECT_EQ(broken.status, cli::kExitUsage);
  EXPECT_NE(broken.err.find("cannot be read"), std::string::npos) << broken.err;
}

}  // namespace
}  // namespace orvale
