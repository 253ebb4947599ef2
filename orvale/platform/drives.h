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

// Host spelling of a library path: "X:" becomes the drive's root and every "\\" a
// "/". Paths without a drive letter keep their place (relative stays relative).
// A path on an unconfigured drive maps to an empty text, which no file call accepts.
std::string HostPath(std::string_view path);

}  // namespace orvale
