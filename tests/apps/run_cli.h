#pragma once
// Runs the orvale program in-process, as a shell would, and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace orvale::testing {

struct CliRun {
  int status = 0;
  std::string out;
  std::string err;
};

// Runs with the output going to `out` (a file, say); `run.out` stays empty. Standard
// input is `from` when given, else `input`; `in_descriptor` is the descriptor it
// stands for (-1: none).
inline CliRun RunCliTo(std::ostream& out, std::vector<std::string> arguments,
                       const std::string& input = {}, int in_descriptor = -1,
                       std::istream* from = nullptr) {
  arguments.insert(arguments.begin(), "orvale");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments)
    argv.push_back(argument.c_str());
  std::istringstream given(input);
  std::istream& in = from != nullptr ? *from : given;
  std::ostringstream err;
  CliRun run;
  run.status =
      cli::Run(static_cast<int>(argv.size()), argv.data(), {in, out, err, false, in_descriptor});
  run.err = err.str();
  return run;
}

inline CliRun RunCli(std::vector<std::string> arguments, const std::string& input = {}) {
  std::ostringstream out;
  CliRun run = RunCliTo(out, std::move(arguments), input);
  run.out = out.str();
  return run;
}

// The lines of `text` without their line ends; with `cut_errors` each error line is cut
// to "ERROR: ", so that lines can be compared in place without their messages.
inline std::vector<std::string> Lines(const std::string& text, bool cut_errors = false) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(cut_errors && line.starts_with("ERROR: ") ? "ERROR: " : line);
  return lines;
}

}  // namespace orvale::testing
