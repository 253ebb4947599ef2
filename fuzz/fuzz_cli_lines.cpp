// Lines of any bytes through the orvale program's line reader, its point pipeline (text
// and CSV input, chosen columns) and its project and angle commands: never a crash, one output line
// for each input line (for each record of CSV input, which a quoted line break extends), and every
// line of JSON output one object of valid UTF-8 (so a consumer never meets raw text).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli.h"
#include "fuzz_support.h"
#include "text_fields.h"

namespace {

struct Mode {
  std::vector<const char*> arguments;
  bool json;
  bool header;           // CSV: a header line first
  bool records = false;  // CSV input: a record may span lines
};

const std::array<Mode, 7> kModes = {{
    {{"orvale", "project", "--projection", "utm:31", "--jobs", "1"}, false, false},
    {{"orvale", "project", "--projection", "utm:31", "--jobs", "1", "--id", "--format", "json",
      "--convergence", "--scale"},
     true,
     false},
    {{"orvale", "project", "--projection", "utm:31", "--jobs", "1", "--inverse", "--format", "csv"},
     false,
     true},
    {{"orvale", "project", "--type", "lambert", "--method", "1", "--sp1", "40", "--sp2", "50",
      "--lat0", "45", "--jobs", "1", "--format", "json", "--lon-lat"},
     true,
     false},
    {{"orvale", "angle", "--type", "latitude"}, false, false},
    {{"orvale", "angle", "--in-radians", "--type", "bearing", "--notation", "dm"}, false, false},
    {{"orvale", "project", "--projection", "utm:31", "--jobs", "1", "--csv-in", "--no-header",
      "--columns", "3,1", "--format", "json", "--inverse", "--angles", "dms", "--units", "us-ft"},
     true,
     false,
     true},
}};

// Lines as the reader counts them: a byte-order mark at the start is no text, and a
// last line without a line end is a line.
std::size_t CountLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  return ends + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  orvale::fuzzing::UsePrivateDrive();
  const Mode& mode = kModes[data[0] % kModes.size()];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = orvale::cli::Run(static_cast<int>(mode.arguments.size()),
                                      mode.arguments.data(), {in, out, err});
  if (status != orvale::cli::kExitOk && status != orvale::cli::kExitBadInput) std::abort();
  const std::string output = out.str();
  const auto lines = static_cast<std::size_t>(std::count(output.begin(), output.end(), '\n'));
  const std::size_t expected = CountLines(input) + (mode.header ? 1 : 0);
  if (mode.records ? lines > expected || (expected > 0 && lines == 0) : lines != expected)
    std::abort();
  if (mode.json) {
    std::istringstream produced(output);
    for (std::string line; std::getline(produced, line);) {
      if (!line.starts_with('{') || !line.ends_with('}') || !orvale::cli::IsUtf8(line))
        std::abort();
      if (std::any_of(line.begin(), line.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        std::abort();
      }
    }
  }
  return 0;
}
