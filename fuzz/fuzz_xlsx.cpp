// Excel workbooks of any bytes, read under small limits: a read succeeds or says why,
// never crashes, never unpacks past its limits, and the rows it passes on are counted,
// numbered from 1 and hold at least one cell.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include <unistd.h>

#include "orvale/platform/xlsx_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const std::filesystem::path& WorkbookPath() {
  static const std::filesystem::path path = [] {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("orvale-fuzz-" + std::to_string(::getpid()) + ".xlsx");
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove(WorkbookPath(), ignored);
    });
    return file;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(WorkbookPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  orvale::XlsxLimits limits;
  limits.max_entries = 64;
  limits.max_unpacked_bytes = std::size_t{1} << 20;
  std::size_t rows = 0;
  const orvale::XlsxSheetResult result = orvale::ReadXlsxSheet(
      WorkbookPath().string(), "", [&](std::size_t row, std::span<const std::string> line) {
        Require(row >= 1);
        Require(!line.empty());
        ++rows;
        return true;
      });
  Require(result.ok == result.reason.empty());
  // A sheet refused part way through may have passed rows on; a read one counts them all.
  if (result.ok) Require(result.rows == rows);
  return 0;
}
