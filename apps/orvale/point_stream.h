#pragma once
// Streams a text file of points through a per-line conversion on every core, keeping
// the output in input order. A pure filter: no state passes from one line to the
// next, so chunked runs (GNU parallel, streaming jobs) give byte-identical output.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvale::cli {

// Why a line gave no result: the reason (quoting the text at fault) and the column
// (1-based field number) it lies in, 0 when it is the line as a whole.
struct LineError {
  std::string reason;
  std::size_t column = 0;
};

// Converts one line, appending the output line (without its line end) to `out`. On
// failure returns false and puts the reason into `error`.
class LineConverter {
 public:
  virtual ~LineConverter() = default;
  // Called before Convert with the lines that Convert will then be given, in that
  // order, so that a converter can work them out together; by default nothing.
  virtual void Prepare(std::span<const std::string_view> lines) { static_cast<void>(lines); }
  virtual bool Convert(std::string_view line, std::string& out, LineError& error) = 0;
};

// How lines that are not converted points (comments, blank lines, errors) are shown,
// so that every line of the output is of the chosen format.
enum class LineStyle {
  kText,  // copied through; an error is "ERROR: reason"
  kCsv,   // as text, each such line one RFC 4180 field
  kJson,  // objects: {"comment":"..."}, {} for a blank line, {"error":"reason"}
};

// What becomes of a line that gives no result.
enum class ErrorPolicy {
  kMark,  // an error line in its place (as LineStyle says)
  kSkip,  // no output line
  kStop,  // the lines before it are written, and nothing after
};

// Given the first line of the input when the input starts with a header row: puts the
// output's header (empty: none) into `header`, or returns false with the problem.
using HeaderReader =
    std::function<bool(std::string_view line, std::string& header, std::string& problem)>;

struct StreamOptions {
  std::string command;                        // named in messages: "orvale project"
  std::string input_name = "standard input";  // named in messages: a file name
  std::string header;                         // written first when not empty (no read_header)
  HeaderReader read_header;                   // set: the first line is a header row
  ErrorPolicy on_error = ErrorPolicy::kMark;
  bool show_progress = false;    // a terminal is watching standard error
  std::uint64_t input_size = 0;  // bytes, when known, for the progress figure
  int workers = 0;               // 0: one per core
  LineStyle style = LineStyle::kText;
  bool quoted_line_breaks = false;  // CSV: a quoted field may hold line breaks
};

// No point needs more; a longer "line" (a binary file, a missing line end) is skipped
// to its end, so memory stays bounded whatever the input.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// Splits input into lines from large blocks: fast, and bounded in memory however long
// a "line" turns out to be. A UTF-8 byte-order mark at the start of the input is
// skipped; a carriage return before a line end is dropped. With `quoted_line_breaks`
// (RFC 4180 CSV) a line break inside a quoted field belongs to the record, which then
// spans several lines of the file.
class LineReader {
 public:
  explicit LineReader(std::istream& in, bool quoted_line_breaks = false);

  // The next line (or CSV record), without its line end; false at the end of the
  // input. A line longer than kMaxLineBytes comes back empty with `too_long` set.
  // `bytes` grows by the bytes read. The view stays valid until the next call.
  bool Next(std::string_view& line, bool& too_long, std::uint64_t& bytes);
  // The line breaks inside the last record Next gave: the lines of the file it took,
  // less one.
  std::uint32_t BreaksInside() const { return breaks_; }

 private:
  bool Fill();
  // The end of the record starting at `first`, searched from `from`; null when not in
  // sight. Counts the breaks inside quotes. `plain`: the next line end, quotes or not.
  const char* RecordEnd(const char* first, const char* from, const char* end, bool plain);

  std::istream& in_;
  std::vector<char> block_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool started_ = false;
  bool quoted_line_breaks_ = false;
  enum class CsvState { kFieldStart, kUnquoted, kQuoted, kQuoteInQuoted };
  CsvState csv_state_ = CsvState::kFieldStart;
  bool unclosed_ = false;  // the record's quote is taken as never closed
  std::uint32_t breaks_ = 0;
};

// The worker count a user may ask for: 1 to this.
int MostWorkers();

struct StreamResult {
  std::uint64_t lines = 0;
  std::uint64_t failed = 0;
  // Reading stopped on an error of the input (not its end): the lines after it are
  // lost, and "<command>: cannot read input: reason" has been said on `err`.
  bool input_failed = false;
  bool header_refused = false;  // read_header said no: nothing was converted
  bool stopped = false;         // ErrorPolicy::kStop met a bad line
};

// After reading `in` to its end: false, with "<command>: cannot read input: reason"
// on `err`, when the reading stopped on an error rather than at the end.
[[nodiscard]] bool InputReadToEnd(std::istream& in, std::ostream& err, const std::string& command);

// Each worker gets a converter of its own from `make_converter`, made once the header
// row (if any) has been read (converters may keep scratch state). Bad lines are
// handled as `options.on_error` says, and "<command>: <input>, line N, column C:
// reason" is said on `err`; blank lines and lines starting with '#' are copied through. Reading
// stops early once `out` has failed: nothing more could be written.
StreamResult StreamPoints(std::istream& in, std::ostream& out, std::ostream& err,
                          const StreamOptions& options,
                          const std::function<std::unique_ptr<LineConverter>()>& make_converter);

}  // namespace orvale::cli
