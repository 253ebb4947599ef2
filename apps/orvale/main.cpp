#include <csignal>
#include <iostream>

#include <unistd.h>

#include "cli.h"

int main(int argc, char** argv) {
  // A reader that leaves early (`orvale project ... | head`) ends the program quietly,
  // as for any filter, even when the parent started it with SIGPIPE ignored.
  std::signal(SIGPIPE, SIG_DFL);
  std::ios::sync_with_stdio(false);
  return orvale::cli::Run(
      argc, argv, {std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, STDIN_FILENO});
}
