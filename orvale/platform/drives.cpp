#include "orvale/platform/drives.h"

#include <cctype>
#include <cstdlib>

namespace orvale {
namespace {

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string DefaultDriveC() {
  if (auto xdg = Environment("XDG_DATA_HOME")) return WithoutTrailingSlashes(*xdg) + "/orvale";
  if (auto home = Environment("HOME"))
    return WithoutTrailingSlashes(*home) + "/.local/share/orvale";
  return "orvale";
}

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

std::optional<std::string> DriveRoot(char drive) {
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
  if (letter < 'A' || letter > 'Z') return std::nullopt;
  const std::string variable = std::string("ORVALE_DRIVE_") + letter;
  if (auto root = Environment(variable.c_str())) return WithoutTrailingSlashes(*root);
  if (letter == 'C') return DefaultDriveC();
  return std::nullopt;
}

bool IsFixedDrive(char drive) {
  return DriveRoot(drive).has_value();
}

std::string HostPath(std::string_view path) {
  std::string host;
  if (HasDriveLetter(path)) {
    auto root = DriveRoot(path[0]);
    if (!root) return {};
    host = *root;
    path.remove_prefix(2);
    if (!path.empty() && path.front() != '\\' && path.front() != '/') host += '/';
  }
  host.reserve(host.size() + path.size());
  for (char c : path)
    host += (c == '\\') ? '/' : c;
  return host;
}

}  // namespace orvale
