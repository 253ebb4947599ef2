#pragma once
// Drive letters on a host without them.
//
// Library paths keep the form "C:\\MyData\\Global\\" so every folder rule reads as
// written; these functions map such a path to the host file system. Drive X: is the
// directory named by ORVALE_DRIVE_X; C: defaults to $XDG_DATA_HOME/orvale (else
// ~/.local/share/orvale). A drive is a "fixed drive" when it is configured.

#include <optional>
#include <string>
#include <string_view>

namespace orvale {

// Host directory standing for `drive` (a letter, either case), without a trailing
// "/"; nullopt when the drive is not configured.
std::optional<std::string> DriveRoot(char drive);

// True for C: and for every other drive whose root is configured.
bool IsFixedDrive(char drive);

// True only for C: when ORVALE_DRIVE_C is not set: the default root is the program's
// own folder in the user's data home and is made, with its parents, on first use. A
// root the user named is never made: a misspelt variable must not grow folders.
bool IsDefaultDriveRoot(char drive);

// Why drive `drive` cannot hold folders: not configured, or its configured root does
// not exist or is not a folder (the text names the variable). Empty when it can, and
// for the default C: root, which is made when missing.
std::string DriveRootProblem(char drive);

// The drive path with "." and ".." resolved and doubled separators merged, in the
// library form: "C:\\a\\..\\b\\" is "C:\\b\\" (a final separator kept). nullopt when
// the path has no drive letter or ".." would leave the drive's root, which no path
// may.
std::optional<std::string> NormaliseDrivePath(std::string_view path);

// Host spelling of a library path: "X:" becomes the drive's root and every "\\" a
// "/", with "." and ".." resolved. Paths without a drive letter keep their place
// (relative stays relative). A path on an unconfigured drive, or one that ".." would
// lead out of its drive, maps to an empty text, which no file call accepts.
std::string HostPath(std::string_view path);

}  // namespace orvale
