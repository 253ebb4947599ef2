#pragma once
// Each sub-command registers itself on the program's CLI11 application. A command
// sets `status` to one of the exit statuses of cli.h when it has run.

#include <CLI/CLI.hpp>

#include "cli.h"

namespace orvale::cli {

void AddAngleCommand(CLI::App& app, const Streams& streams, int& status);
void AddCartesianCommand(CLI::App& app, const Streams& streams, int& status);
void AddFoldersCommand(CLI::App& app, const Streams& streams, int& status);
void AddHelmertCommand(CLI::App& app, const Streams& streams, int& status);
void AddShiftCommand(CLI::App& app, const Streams& streams, int& status);
// Grid-file shifts: an NTv2 or NADCON grid, and the OSTN15 pair.
void AddGridshiftCommand(CLI::App& app, const Streams& streams, int& status);
void AddOstn15Command(CLI::App& app, const Streams& streams, int& status);
void AddUnitsCommand(CLI::App& app, const Streams& streams, int& status);
void AddProjectCommand(CLI::App& app, const Streams& streams, int& status);
void AddProjectionsCommand(CLI::App& app, const Streams& streams, int& status);
void AddSpheroidsCommand(CLI::App& app, const Streams& streams, int& status);
void AddSunCommand(CLI::App& app, const Streams& streams, int& status);
void AddGyroCommand(CLI::App& app, const Streams& streams, int& status);
void AddHeadingCommand(CLI::App& app, const Streams& streams, int& status);
void AddAlmanacCommand(CLI::App& app, const Streams& streams, int& status);
void AddDatumsCommand(CLI::App& app, const Streams& streams, int& status);
// Survey computations: range and bearing, the direct problem, the traverse.
void AddInverseCommand(CLI::App& app, const Streams& streams, int& status);
void AddDirectCommand(CLI::App& app, const Streams& streams, int& status);
void AddTraverseCommand(CLI::App& app, const Streams& streams, int& status);
// The workbench, orvale-studio, started with the arguments that follow.
void AddStudioCommand(CLI::App& app, const Streams& streams, int& status);

}  // namespace orvale::cli
