#pragma once
// A private drive C: for fuzz targets that go through files.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "orvale/platform/drives.h"

namespace orvale::fuzzing {

inline std::filesystem::path PrivateDriveRoot() {
  return std::filesystem::temp_directory_path() / ("orvale-fuzz-" + std::to_string(::getpid()));
}

inline void UsePrivateDrive() {
  static const bool ready = [] {
    std::filesystem::create_directories(PrivateDriveRoot());
    ::setenv("ORVALE_DRIVE_C", PrivateDriveRoot().c_str(), 1);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(PrivateDriveRoot(), ignored);
    });
    return true;
  }();
  (void)ready;
}

inline void WriteFile(std::string_view library_path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(HostPath(library_path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace orvale::fuzzing
