// orvale folders: where this machine keeps Orvale's settings and records, so a
// user can find, back up or share them.

#include <ostream>
#include <string>

#include "commands.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/data_folders.h"

namespace orvale::cli {
namespace {

void ShowDrive(char letter, const Streams& streams) {
  const auto root = DriveRoot(letter);
  streams.out << "  " << letter << ":  "
              << (root ? Cp1252ToUtf8(*root) : std::string("(not configured)")) << "\n";
}

void ShowFolder(const char* label, const FolderResult& folder, const Streams& streams) {
  streams.out << label << Cp1252ToUtf8(folder.path);
  if (!folder.path.empty()) streams.out << "  ->  " << Cp1252ToUtf8(HostPath(folder.path));
  if (!folder.ok) streams.out << "  (could not be made)";
  streams.out << "\n";
}

int RunFolders(const Streams& streams) {
  streams.out << "Drives (ORVALE_DRIVE_C, _D, _E):\n";
  for (char letter : {'C', 'D', 'E'})
    ShowDrive(letter, streams);
  const std::string settings = GetSettingsFolder();
  ShowFolder("Settings folder:  ", {FolderExists(settings), settings}, streams);
  const FolderResult redirect = GetDriveFolder(kGlobalFolder);
  if (redirect.ok) {
    ShowFolder("Record folder:    ", redirect, streams);
    streams.out << "                  (redirected by " << kRedirectFile << ")\n";
  } else {
    ShowFolder("Record folder:    ", GetDataFolder(kGlobalFolder), streams);
  }
  return kExitOk;
}

}  // namespace

void AddFoldersCommand(CLI::App& app, const Streams& streams, int& status) {
  CLI::App* command = app.add_subcommand(
      "folders",
      "Show the drives and the settings and record folders, creating the folders\n"
      "when they are missing (as every Orvale program does on first use).\n"
      "Records go to the folder named on the first line of C:\\MyDrives\\MyData.INI\n"
      "when that file exists, else to MyData\\Global\\ on the first drive that has it.");
  command->callback([&streams, &status] { status = RunFolders(streams); });
}

}  // namespace orvale::cli
