// orvale studio: starts the workbench, orvale-studio, with the arguments given, so
// one program name reaches everything Orvale has.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"

namespace orvale::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStudioProgram = "orvale-studio";

// Beside this program when installed; in a build tree the workbench is built in
// apps/studio beside apps/orvale.
std::string FindStudio() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const fs::path& candidate :
         {self.parent_path() / kStudioProgram,
          self.parent_path().parent_path() / "studio" / kStudioProgram}) {
      if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
  }
  return {};
}

int RunStudio(const std::vector<std::string>& arguments, const Streams& streams) {
  const std::string program = FindStudio();
  if (program.empty()) {
    streams.err << "orvale studio: " << kStudioProgram
                << " is not installed beside orvale; install the workbench\n";
    return kExitBadInput;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(kStudioProgram));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  streams.out.flush();
  streams.err.flush();
  ::execv(program.c_str(), argv.data());
  streams.err << "orvale studio: cannot start " << program << ": " << std::strerror(errno) << "\n";
  return kExitBadInput;
}

}  // namespace

void AddStudioCommand(CLI::App& app, const Streams& streams, int& status) {
  CLI::App* command = app.add_subcommand(
      "studio",
      "Start Orvale Studio, the workbench of every pane, record dialog and list\n"
      "editor in the browser: runs orvale-studio with the arguments that follow\n"
      "(--port N, --open, --web DIR, --data-root DIR, --listen ADDRESS; see\n"
      "'orvale-studio --help').");
  // Everything after "studio" but --help belongs to orvale-studio.
  command->prefix_command();
  command->callback(
      [command, &streams, &status] { status = RunStudio(command->remaining(), streams); });
}

}  // namespace orvale::cli
