#pragma once
// The orvale command-line program, callable in-process so tests can drive it.

#include <iosfwd>

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
};

int Run(int argc, const char* const* argv, const Streams& streams);

}  // namespace orvale::cli
