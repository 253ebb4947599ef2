#include "cli.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string_view>

#include <sys/stat.h>

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
    "  orvale studio --open\n"
    "\nFiles: settings are kept under C:\\MySettings\\Orvale\\ and records under\n"
    "C:\\MyData\\Global\\, where drive C: is $ORVALE_DRIVE_C (default\n"
    "$XDG_DATA_HOME/orvale or ~/.local/share/orvale); set ORVALE_DRIVE_D or\n"
    "ORVALE_DRIVE_E to give the program further drives.";

// A first argument that names no command: CLI11 would only say that the argument was
// not expected.
bool IsUnknownCommand(CLI::App& app, int argc, const char* const* argv, std::ostream& err) {
  if (argc < 2 || argv[1][0] == '-') return false;
  std::string names;
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->check_name(argv[1])) return false;
    names += (names.empty() ? "" : ", ") + command->get_name();
  }
  err << "orvale: unknown command '" << argv[1] << "'; the commands are " << names
      << " (see 'orvale --help')\n";
  return true;
}

}  // namespace

bool OutputWritten(std::ostream& out, std::ostream& err) {
  out.flush();
  if (out) return true;
  const int error = errno;  // of the write that failed
  if (error != EPIPE) {
    err << "orvale: cannot write output: " << (error != 0 ? std::strerror(error) : "write error")
        << "\n";
  }
  return false;
}

bool IsReadableInput(const std::string& path, int descriptor, std::string& problem) {
  struct stat info {};
  const int result = path.empty() ? (descriptor < 0 ? -1 : ::fstat(descriptor, &info))
                                  : ::stat(path.c_str(), &info);
  if (result != 0 || !S_ISDIR(info.st_mode)) return true;  // opening says what else is wrong
  problem = (path.empty() ? std::string("standard input") : "'" + path + "'") +
            " is a directory, not a file of points";
  return false;
}

int Run(int argc, const char* const* argv, const Streams& streams) {
  CLI::App app{kDescription, "orvale"};
  app.footer(kFooter);
  app.require_subcommand(1);
  app.fallthrough(false);

  int status = kExitOk;
  AddAngleCommand(app, streams, status);
  AddProjectCommand(app, streams, status);
  AddCartesianCommand(app, streams, status);
  AddHelmertCommand(app, streams, status);
  AddShiftCommand(app, streams, status);
  AddGridshiftCommand(app, streams, status);
  AddOstn15Command(app, streams, status);
  AddInverseCommand(app, streams, status);
  AddDirectCommand(app, streams, status);
  AddTraverseCommand(app, streams, status);
  AddSunCommand(app, streams, status);
  AddAlmanacCommand(app, streams, status);
  AddGyroCommand(app, streams, status);
  AddHeadingCommand(app, streams, status);
  AddUnitsCommand(app, streams, status);
  AddProjectionsCommand(app, streams, status);
  AddSpheroidsCommand(app, streams, status);
  AddDatumsCommand(app, streams, status);
  AddFoldersCommand(app, streams, status);
  AddStudioCommand(app, streams, status);

  if (IsUnknownCommand(app, argc, argv, streams.err)) return kExitUsage;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, streams.out, streams.err);
    status = code == 0 ? kExitOk : kExitUsage;
  }
  if (!OutputWritten(streams.out, streams.err) && status == kExitOk) status = kExitBadInput;
  return status;
}

}  // namespace orvale::cli
