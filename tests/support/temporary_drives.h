#pragma once
// Every test that touches files runs against drives of its own: a fresh temporary
// folder stands for C: (and, on request, D: and E:), so nothing reaches the real home.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace orvale::testing {

class TemporaryDrives : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes drive `letter` a fixed drive backed by its own new folder; returns it.
  std::string AddDrive(char letter);

  // Host folder standing for drive `letter`.
  std::string Root(char letter = 'C') const;

  // `file` in the record folder of fresh drives, C:\MyData\Global\.
  static std::string InGlobal(const std::string& file) { return "C:\\MyData\\Global\\" + file; }

  // Writes `bytes` to a library path ("C:\\MyData\\x.INI"), creating no folders.
  static void WriteBytes(std::string_view path, std::string_view bytes);
  static std::string ReadBytes(std::string_view path);

 private:
  std::string base_;
};

}  // namespace orvale::testing
