// orvale-studio: the workbench. Serves the front end and the panes' API on 127.0.0.1,
// prints the URL with a one-time token, and serves until SIGINT or SIGTERM.

#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "orvale/platform/clock.h"
#include "server.h"

extern char** environ;

namespace {

// web/ beside the program in a build tree; share/orvale/web once installed.
std::string DefaultWebRoot() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path folder = error ? std::filesystem::path(".") : exe.parent_path();
  const std::filesystem::path installed = folder / ".." / "share" / "orvale" / "web";
  if (!std::filesystem::is_directory(folder / "web", error) &&
      std::filesystem::is_directory(installed, error)) {
    return installed.lexically_normal().string();
  }
  return (folder / "web").string();
}

void PrintUrl(const std::string& url) {
  std::cout << "Orvale Studio: " << url << std::endl;  // endl: a reader waits for it
}

// Hands the URL to the desktop's browser and reaps the helper when it ends.
void OpenInBrowser(const std::string& url) {
  std::vector<char*> argv = {const_cast<char*>("xdg-open"), const_cast<char*>(url.c_str()),
                             nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv.data(), environ) != 0) {
    std::cerr << "orvale-studio: xdg-open could not be started; open the URL yourself\n";
    return;
  }
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Orvale Studio: every computation pane, record dialog and list editor of Orvale in the "
      "browser.\n\nServes a local web page on 127.0.0.1 and prints its URL with a one-time "
      "access token. Type Enter on this terminal for a new URL (each token opens one "
      "session). Stop with Ctrl+C.",
      "orvale-studio"};
  int port = 0;
  bool open = false;
  std::string web = DefaultWebRoot();
  std::vector<std::string> data_roots;
  std::string listen = "127.0.0.1";
  app.add_option("--port", port, "TCP port to serve on; 0 takes a free one")
      ->default_val(0)
      ->check(CLI::Range(0, 65535));
  app.add_flag("--open", open, "Open the URL in the desktop's browser (xdg-open)");
  app.add_option("--web", web, "Folder of the front end's files (default: web/ beside the program)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--data-root", data_roots,
                 "Folder the studio may read and write files in; repeat for more")
      ->check(CLI::ExistingDirectory);
  app.add_option("--listen", listen,
                 "Address to listen on (default 127.0.0.1). Any other exposes the studio to "
                 "the network; a warning is printed");
  CLI11_PARSE(app, argc, argv);

  // SIGINT and SIGTERM are taken by sigwait below; every thread made later inherits
  // the mask, so none of them is interrupted by the signal.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  if (listen != "127.0.0.1") {
    std::cerr << "orvale-studio: WARNING: listening on " << listen
              << " rather than 127.0.0.1: anyone who can reach this address and learns a "
                 "token can use the studio and its files.\n";
  }

  orvale::SystemClock clock;
  orvale::studio::Workbench host(clock);
  orvale::studio::StudioServer server(host, {web, listen, data_roots});
  if (server.Start(port) < 0) {
    std::cerr << "orvale-studio: cannot listen on " << listen << " port " << port << "\n";
    return 1;
  }
  const std::string url = server.Url();
  PrintUrl(url);
  if (open) OpenInBrowser(url);

  // Each line typed (or piped) mints a new token and prints its URL; at the end of
  // the input the thread ends and the studio serves on.
  std::thread([&server] {
    for (std::string line; std::getline(std::cin, line);) {
      server.MintToken();
      PrintUrl(server.Url());
    }
  }).detach();

  int signal = 0;
  sigwait(&stop_signals, &signal);
  std::cerr << "orvale-studio: stopping\n";
  server.Stop();
  return 0;
}
