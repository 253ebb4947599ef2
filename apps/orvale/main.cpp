#include <iostream>

#include <unistd.h>

#include "cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return orvale::cli::Run(
      argc, argv, {std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, STDIN_FILENO});
}
