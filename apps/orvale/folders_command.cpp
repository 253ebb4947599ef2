// orvale folders: where this machine keeps Orvale's settings and records, so a
// user can find, back up or share them.

#include <ostream>
#include <string>

#include "commands.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/data_folders.h"
#include "output_check.h"

namespace orvale::cli {
namespace {

constexpr std::string_view kCommand = "folders";

void ShowDrive(char letter, const Streams& streams) {
  const auto root = DriveRoot(letter);
  streams.out << "  " << letter << ":  "
              << (root ? Printable(*root) : std::string("(not configured)"));
  if (root && !DriveRootProblem(letter).empty()) streams.out << "  (missing: not usable)";
  streams.out << "\n";
}

void ShowFolder(const char* label, const FolderResult& folder, const Streams& streams) {
  streams.out << label << Printable(folder.path);
  if (!folder.path.empty()) streams.out << "  ->  " << Printable(HostPath(folder.path));
  if (!folder.ok) streams.out << "  (could not be made)";
  streams.out << "\n";
}

int RunFolders(const Streams& streams) {
  streams.out << "Drives (ORVALE_DRIVE_C, _D, _E):\n";
  for (char letter : {'C', 'D', 'E'})
    ShowDrive(letter, streams);
  const std::string settings = GetSettingsFolder();
  ShowFolder("Settings folder:  ", {FolderExists(settings), settings, {}}, streams);
  const RecordFolderResult records = FindRecordFolder();
  ShowFolder("Record folder:    ", records.folder, streams);
  if (records.redirected) {
    streams.out << "                  (redirected by " << kRedirectFile << ")\n";
  }
  const std::string listing_problem =
      records.folder.ok ? ListFiles(records.folder.path + "*").problem : std::string();
  const bool clean = ReportRecordFolder(kCommand, listing_problem, streams);
  return clean ? kExitOk : kExitBadInput;
}

}  // namespace

void AddFoldersCommand(CLI::App& app, const Streams& streams, int& status) {
  CLI::App* command = app.add_subcommand(
      "folders",
      "Show the drives and the settings and record folders, creating the folders\n"
      "when they are missing (as every Orvale program does on first use; a drive\n"
      "root named by ORVALE_DRIVE_C, _D or _E is never made: it must exist).\n"
      "Records go to the subfolder Global\\ of the folder named on the first line of\n"
      "C:\\MyDrives\\MyData.INI when that file exists (a drive path such as D:\\Shared,\n"
      "giving D:\\Shared\\Global\\), else to MyData\\Global\\ on the first drive that has\n"
      "it. A redirect that cannot be followed (no drive letter, a drive that is not\n"
      "configured, '..' leading out of its drive) and a record folder that cannot be\n"
      "had or read are named on standard error, and the exit status is then 1.");
  command->callback([&streams, &status] { status = RunFolders(streams); });
}

}  // namespace orvale::cli
