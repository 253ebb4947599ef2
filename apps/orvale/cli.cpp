#include "cli.h"

#include <iostream>

#include "commands.h"

namespace orvale::cli {
namespace {

constexpr const char* kDescription =
    "Orvale: geodetic computations for survey and navigation.\n"
    "Angles are read and shown in the notations surveyors use; lengths are in metres\n"
    "unless a unit is chosen. Run 'orvale COMMAND --help' for the options of a command.";

constexpr const char* kFooter =
    "\nExamples:\n"
    "  orvale angle 51.5 --type latitude --notation dms\n"
    "  orvale project --projection \"Ordnance Survey National Grid\" 52.6576,1.7179\n"
    "  orvale project --projection utm:31 --inverse 500000,5700000\n"
    "  orvale projections --type lambert\n"
    "  orvale angle \"51 30 15.5 N\" --type latitude --notation degrees\n"
    "  echo 359.9999999 | orvale angle --type bearing --notation dms --decimals 2\n"
    "  orvale folders\n"
    "\nFiles: settings are kept under C:\\MySettings\\Orvale\\ and records under\n"
    "C:\\MyData\\Global\\, where drive C: is $ORVALE_DRIVE_C (default\n"
    "$XDG_DATA_HOME/orvale or ~/.local/share/orvale); set ORVALE_DRIVE_D or\n"
    "ORVALE_DRIVE_E to give the program further drives.";

}  // namespace

int Run(int argc, const char* const* argv, const Streams& streams) {
  CLI::App app{kDescription, "orvale"};
  app.footer(kFooter);
  app.require_subcommand(1);
  app.fallthrough(false);

  int status = kExitOk;
  AddAngleCommand(app, streams, status);
  AddProjectCommand(app, streams, status);
  AddUnitsCommand(app, streams, status);
  AddProjectionsCommand(app, streams, status);
  AddSpheroidsCommand(app, streams, status);
  AddFoldersCommand(app, streams, status);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, streams.out, streams.err);
    return code == 0 ? kExitOk : kExitUsage;
  }
  return status;
}

}  // namespace orvale::cli
