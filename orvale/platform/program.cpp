#include "orvale/platform/program.h"

#include <cstdlib>
#include <string>

#include <unistd.h>

namespace orvale {

std::string ProgramFolder() {
  std::string folder;
  if (const char* configured = std::getenv("ORVALE_PROGRAM_DIR"); configured && *configured) {
    folder = configured;
  } else {
    std::string executable(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", executable.data(), executable.size());
    if (length > 0) {
      executable.resize(static_cast<std::size_t>(length));
      folder = executable.substr(0, executable.rfind('/') + 1);
    }
  }
  if (folder.empty()) folder = "./";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string ProgramFileTitle() {
  return "Orvale";
}

}  // namespace orvale
