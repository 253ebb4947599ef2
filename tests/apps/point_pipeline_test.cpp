// The point pipeline under orvale project: the same bytes whatever the split of the
// input, JSON lines that parse, angle notations that read back, files written whole.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "run_cli.h"
#include "support/temporary_drives.h"

namespace orvale {
namespace {

using testing::RunCli;
using PointPipeline = testing::TemporaryDrives;

const std::vector<std::string> kUtm31 = {"project", "--projection", "utm:31"};

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

// Points, ids, comments, blank lines and lines that fail, in a fixed random order.
std::string MixedLines(int count, bool csv) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> latitude(40.0, 60.0), longitude(-3.0, 9.0);
  std::string text;
  for (int i = 0; i < count; ++i) {
    switch (random() % 10) {
      case 0:
        text += "# comment, " + std::to_string(i) + "\n";
        break;
      case 1:
        text += "\n";
        break;
      case 2:
        text += "p" + std::to_string(i) + ",north,3\n";
        break;
      case 3:
        text += "p" + std::to_string(i) + ",89.9,179\n";
        break;  // beyond the zone
      default:
        text += (csv ? "\"p, " : "p") + std::to_string(i) + (csv ? "\"," : ",") +
                std::to_string(latitude(random)) + "," + std::to_string(longitude(random)) + "\n";
    }
  }
  return text;
}

// The input cut at `cuts` random line boundaries.
std::vector<std::string> Pieces(const std::string& text, int cuts, std::mt19937& random) {
  std::vector<std::size_t> ends;
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    ends.push_back(at + 1);
  std::vector<std::size_t> chosen = {0, text.size()};
  for (int i = 0; i < cuts; ++i)
    chosen.push_back(ends[random() % ends.size()]);
  std::sort(chosen.begin(), chosen.end());
  std::vector<std::string> pieces;
  for (std::size_t i = 0; i + 1 < chosen.size(); ++i)
    pieces.push_back(text.substr(chosen[i], chosen[i + 1] - chosen[i]));
  return pieces;
}

TEST_F(PointPipeline, GivesTheSameBytesForAnySplitOfTheInput) {
  const struct {
    const char* name;
    std::vector<std::string> options;  // the first piece's
    std::vector<std::string> later;    // the other pieces'
    std::string header;                // the input's header row
  } cases[] = {
      {"text", {"--id", "--jobs", "2"}, {"--id"}, ""},
      {"csv",
       {"--csv-in", "--columns", "lat,lon", "--format", "csv", "--convergence"},
       {"--csv-in", "--no-header", "--columns", "2,3", "--format", "csv", "--convergence"},
       "id,lat,lon\n"},
      {"json",
       {"--id", "--format", "json", "--scale", "--angles", "dms"},
       {"--id", "--format", "json", "--scale", "--angles", "dms", "--jobs", "3"},
       ""},
  };
  std::mt19937 random(11);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string body = MixedLines(5000, !c.header.empty());
    const auto whole = RunCli(With(kUtm31, c.options), c.header + body);
    ASSERT_EQ(whole.status, cli::kExitBadInput) << whole.err;
    for (int split = 0; split < 4; ++split) {
      const auto pieces = Pieces(body, 1 + split * 3, random);
      std::string joined = RunCli(With(kUtm31, c.options), c.header + pieces[0]).out;
      for (std::size_t i = 1; i < pieces.size(); ++i)
        joined += RunCli(With(kUtm31, c.later), pieces[i]).out;
      EXPECT_EQ(joined, whole.out) << pieces.size() << " pieces";
    }
  }
}

// Stopping at the first bad line writes exactly the lines before it, however the work
// was shared.
TEST_F(PointPipeline, StopsAtTheFirstBadLineWhateverTheWorkers) {
  std::string input;
  for (int i = 0; i < 20000; ++i)
    input += i == 15000 ? "bad\n" : "51," + std::to_string(i % 6) + "\n";
  const auto marked = RunCli(kUtm31, input);
  const std::string before = marked.out.substr(0, marked.out.find("ERROR"));
  for (const char* jobs : {"1", "2", "7"}) {
    const auto stopped = RunCli(With(kUtm31, {"--on-error", "stop", "--jobs", jobs}), input);
    EXPECT_EQ(stopped.status, cli::kExitBadInput);
    EXPECT_EQ(stopped.out, before) << jobs;
    EXPECT_EQ(stopped.err,
              "orvale project: standard input, line 15001: expected latitude and "
              "longitude, found 1 field: 'bad'\n");
  }
}

// A quoted CSV field may span lines, and the file's line numbers still name the lines
// at fault; a quote that is never closed costs its own line once the field has run
// past any field's length, not the rest of the file.
TEST_F(PointPipeline, ReadsCsvRecordsAcrossLinesAndRecoversFromAnUnclosedQuote) {
  std::string input;
  for (int i = 0; i < 10000; ++i)
    input +=
        i % 500 == 7 ? "\"Wells\r\nnext\nthe Sea\",52,1\n" : "p" + std::to_string(i) + ",51,3\n";
  input += "q,x,3\n";
  const auto spanning = RunCli(With(kUtm31, {"--csv-in", "--no-header", "--id"}), input);
  EXPECT_EQ(testing::Lines(spanning.out).size(), 10001u) << "one line out per record";
  EXPECT_NE(spanning.out.find("\nWells  next the Sea 362705.634 5762926.813\n"), std::string::npos);
  EXPECT_TRUE(spanning.err.starts_with("orvale project: standard input, line 10041, column 2:"))
      << "10000 records, 20 of them on three lines: " << spanning.err;

  std::string unclosed = "\"never closed,51,3\n";
  for (int i = 0; i < 10000; ++i)
    unclosed += "p" + std::to_string(i) + ",51,3\n";
  const auto recovered = RunCli(With(kUtm31, {"--csv-in", "--no-header", "--id"}), unclosed);
  const auto lines = testing::Lines(recovered.out);
  ASSERT_EQ(lines.size(), 10001u);
  EXPECT_EQ(lines[0], "ERROR: a quoted field is not closed");
  EXPECT_EQ(lines[1], spanning.out.substr(0, spanning.out.find('\n')));
}

// A JSON value as the pipeline writes them: a string, a number or null. Returns the
// position after it, or npos.
std::size_t SkipJsonValue(const std::string& text, std::size_t at) {
  if (text.compare(at, 4, "null") == 0) return at + 4;
  if (at < text.size() && text[at] == '"') {
    for (++at; at < text.size(); ++at) {
      if (text[at] == '\\') {
        ++at;
      } else if (text[at] == '"') {
        return at + 1;
      } else if (static_cast<unsigned char>(text[at]) < 0x20) {
        return std::string::npos;
      }
    }
    return std::string::npos;
  }
  const std::size_t end = text.find_first_not_of("-0123456789.", at);
  if (end == at || end == std::string::npos) return std::string::npos;
  char* stop = nullptr;
  std::strtod(text.c_str() + at, &stop);
  return stop == text.c_str() + end ? end : std::string::npos;
}

// One flat JSON object: {"key":value,...} and nothing after it.
bool IsJsonObject(const std::string& line) {
  if (line.empty() || line[0] != '{') return false;
  std::size_t at = 1;
  if (line == "{}") return true;
  while (true) {
    if (line[at] != '"') return false;
    at = SkipJsonValue(line, at);
    if (at == std::string::npos || line[at] != ':') return false;
    at = SkipJsonValue(line, at + 1);
    if (at == std::string::npos) return false;
    if (line[at] == '}') return at + 1 == line.size();
    if (line[at++] != ',') return false;
  }
}

TEST_F(PointPipeline, WritesJsonLinesThatParse) {
  EXPECT_FALSE(IsJsonObject("{\"a\":1,}"));  // the check itself refuses what is not JSON
  EXPECT_FALSE(IsJsonObject("{\"a\":\"b\"c\"}"));
  const std::string input = MixedLines(400, false) + "q\"\\\x01,51,3\n";
  for (const auto& options : std::vector<std::vector<std::string>>{
           {"--id", "--format", "json", "--angles", "dms", "--convergence", "--scale"},
           {"--id", "--format", "json", "--inverse", "--angles", "dm"},
           {"--csv-in", "--no-header", "--columns", "2,3", "--format", "json"}}) {
    const auto run = RunCli(With(kUtm31, options), input);
    const auto lines = testing::Lines(run.out);
    EXPECT_EQ(lines.size(), 401u);
    for (const std::string& line : lines)
      EXPECT_TRUE(IsJsonObject(line)) << line;
  }
}

// Each notation printed by the inverse reads back, through the forward projection, to
// the grid point within what its printed decimals hold (a fraction of a millimetre).
TEST_F(PointPipeline, ReadsBackEveryAngleNotationItPrints) {
  const std::string grid = "500000,5649824.888\n612345.678,5432109.876\n388000.5,6001234.25\n";
  for (const char* notation : {"dms", "dm", "degrees", "signed-degrees", "gradians"}) {
    SCOPED_TRACE(notation);
    const auto inverse = RunCli(
        With(kUtm31, {"--inverse", "--angles", notation, "--format", "csv", "--no-header"}), grid);
    ASSERT_EQ(inverse.status, cli::kExitOk) << inverse.err;
    const std::vector<std::string> reading =
        std::string(notation) == "gradians"
            ? std::vector<std::string>{"--csv-in", "--no-header", "--angles", "gradians"}
            : std::vector<std::string>{"--csv-in", "--no-header"};
    const auto forward = RunCli(With(kUtm31, reading), inverse.out);
    ASSERT_EQ(forward.status, cli::kExitOk) << inverse.out << forward.err;
    std::istringstream expected(grid), got(forward.out);
    double e0 = 0, n0 = 0, e1 = 0, n1 = 0;
    char comma = 0;
    while (expected >> e0 >> comma >> n0 && got >> e1 >> n1) {
      EXPECT_NEAR(e1, e0, 0.001) << inverse.out;
      EXPECT_NEAR(n1, n0, 0.001) << inverse.out;
    }
  }
}

class OutputFile : public PointPipeline {
 protected:
  std::filesystem::path folder;
  void SetUp() override {
    PointPipeline::SetUp();
    folder = std::filesystem::path(Root('C')) / "out";  // the drive exists once set up
    std::filesystem::create_directories(folder);
  }
  std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t Files() {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }
};

TEST_F(OutputFile, HoldsWhatStandardOutputWouldAndNothingIsLeftBehindOnFailure) {
  const std::string input = "51,3\nbad\n52,4\n";
  const auto printed = RunCli(With(kUtm31, {"--format", "csv"}), input);
  const auto path = folder / "grid.csv";
  const auto written = RunCli(With(kUtm31, {"--format", "csv", "--output", path.string()}), input);
  EXPECT_EQ(written.status, cli::kExitBadInput);
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(Read(path), printed.out);
  EXPECT_EQ(Files(), 1u) << "no temporary file stays";
  // A run refused after the output was opened leaves the file as it was.
  const auto refused = RunCli(
      With(kUtm31, {"--csv-in", "--columns", "x,y", "--output", path.string()}), "lat,lon\n51,3\n");
  EXPECT_EQ(refused.status, cli::kExitUsage);
  EXPECT_EQ(Read(path), printed.out);
  EXPECT_EQ(Files(), 1u);
  const auto nowhere =
      RunCli(With(kUtm31, {"--output", (folder / "missing" / "grid.txt").string()}), input);
  EXPECT_EQ(nowhere.status, cli::kExitUsage);
  EXPECT_NE(nowhere.err.find("No such file or directory"), std::string::npos) << nowhere.err;
  EXPECT_EQ(Files(), 1u);
}

// Through a link the file behind it is replaced and the link kept, so a link into a
// shared folder keeps pointing at the results.
TEST_F(OutputFile, ReplacesTheFileBehindALinkAndKeepsTheLink) {
  const auto real = folder / "real.txt", link = folder / "link.txt";
  std::ofstream(real) << "old\n";
  std::filesystem::create_symlink(real.filename(), link);
  const auto run = RunCli(With(kUtm31, {"--output", link.string()}), "51,3\n");
  ASSERT_EQ(run.status, cli::kExitOk) << run.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Read(real), "500000.000 5649824.888\n");
  EXPECT_EQ(Files(), 2u);
}

// The README's example: a file cut into blocks by GNU parallel, each converted by its
// own process, and the outputs joined in order, is the file converted whole.
TEST_F(PointPipeline, RunsUnderGnuParallelToTheSameBytes) {
  if (std::system("command -v parallel > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "GNU parallel is not installed (tools/install-dependencies)";
  }
  const auto in = std::filesystem::path(Root('C')) / "points.txt";
  const std::string input = MixedLines(20000, false);
  std::ofstream(in, std::ios::binary) << input;
  const auto whole = RunCli(With(kUtm31, {"--id"}), input);
  const auto out = std::filesystem::path(Root('C')) / "points.out";
  const std::string command = "parallel --will-cite --pipe -k --block 64k " +
                              std::string(ORVALE_PROGRAM) + " project --projection utm:31 --id < " +
                              in.string() + " > " + out.string() + " 2> /dev/null";
  EXPECT_NE(std::system(command.c_str()), 0) << "some lines fail";
  std::ifstream joined(out, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(joined), {}), whole.out);
}

}  // namespace
}  // namespace orvale
