#include "support/temporary_drives.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "orvale/platform/drives.h"

namespace orvale::testing {

void TemporaryDrives::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvale-test-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  base_ = pattern;
  for (const char* name : {"ORVALE_DRIVE_D", "ORVALE_DRIVE_E", "XDG_DATA_HOME"})
    ::unsetenv(name);
  ::setenv("HOME", base_.c_str(), 1);
  AddDrive('C');
}

void TemporaryDrives::TearDown() {
  for (const char* name : {"ORVALE_DRIVE_C", "ORVALE_DRIVE_D", "ORVALE_DRIVE_E"})
    ::unsetenv(name);
  std::error_code ignored;
  std::filesystem::remove_all(base_, ignored);
}

std::string TemporaryDrives::AddDrive(char letter) {
  const std::string root = base_ + "/drive-" + letter;
  std::filesystem::create_directories(root);
  const std::string variable = std::string("ORVALE_DRIVE_") + letter;
  ::setenv(variable.c_str(), root.c_str(), 1);
  return root;
}

std::string TemporaryDrives::Root(char letter) const {
  return base_ + "/drive-" + letter;
}

void TemporaryDrives::WriteBytes(std::string_view path, std::string_view bytes) {
  std::ofstream out(HostPath(path), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string TemporaryDrives::ReadBytes(std::string_view path) {
  std::ifstream in(HostPath(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace orvale::testing
