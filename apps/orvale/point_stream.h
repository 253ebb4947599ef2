#pragma once
// Streams a text file of points through a per-line conversion on every core, keeping
// the output in input order. A pure filter: no state passes from one line to the
// next, so chunked runs (GNU parallel, streaming jobs) give byte-identical output.

#include <functional>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace orvale::cli {

// Converts one line, appending the output line (without its line end) to `out`. On
// failure returns false and puts the reason into `error`.
class LineConverter {
 public:
  virtual ~LineConverter() = default;
  // Called before Convert with the lines that Convert will then be given, in that
  // order, so that a converter can work them out together; by default nothing.
  virtual void Prepare(std::span<const std::string_view> lines) { static_cast<void>(lines); }
  virtual bool Convert(std::string_view line, std::string& out, std::string& error) = 0;
};

struct StreamOptions {
  std::string command;           // named in messages: "orvale project"
  std::string header;            // written first when not empty
  bool show_progress = false;    // a terminal is watching standard error
  std::uint64_t input_size = 0;  // bytes, when known, for the progress figure
  int workers = 0;               // 0: one per core
};

struct StreamResult {
  std::uint64_t lines = 0;
  std::uint64_t failed = 0;
};

// Each worker gets a converter of its own from `make_converter` (converters may keep
// scratch state). Bad lines print "ERROR: reason" in their place and
// "<command>: line N: reason" on `err`; blank lines and lines starting with '#' are
// copied through unchanged.
StreamResult StreamPoints(std::istream& in, std::ostream& out, std::ostream& err,
                          const StreamOptions& options,
                          const std::function<std::unique_ptr<LineConverter>()>& make_converter);

}  // namespace orvale::cli
