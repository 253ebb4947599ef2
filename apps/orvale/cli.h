#pragma once
// The orvale command-line program, callable in-process so tests can drive it.

#include <iosfwd>
#include <string>

namespace orvale::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // the command ran; some inputs were refused
inline constexpr int kExitUsage = 2;     // the command line itself was wrong

struct Streams {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive = false;  // standard error is a terminal: progress may be shown
  // The descriptor `in` reads, when it reads one (the program's standard input), so
  // that a directory given as input is told from an empty one; -1 when none.
  int in_descriptor = -1;
};

// Flushes `out` and says whether everything written to it arrived. When it did not,
// says "<program>: cannot write output: reason" on `err` and returns false; a closed
// pipe (the reader has gone, as `head` does) is no error to report, but still false.
// Run checks this for every command once the command has run, and exits with 1 when
// output was lost; a command may check earlier to stop work that can no longer be
// written.
[[nodiscard]] bool OutputWritten(std::ostream& out, std::ostream& err);

// False with the reason when the file at `path`, or the open descriptor (when
// `path` is empty), is a directory: reading one gives no lines rather than an error.
[[nodiscard]] bool IsReadableInput(const std::string& path, int descriptor, std::string& problem);

int Run(int argc, const char* const* argv, const Streams& streams);

}  // namespace orvale::cli
