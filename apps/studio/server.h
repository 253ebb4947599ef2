#pragma once
// The studio's HTTP server: the access checks before any route, the front end's
// static files, the token exchange, and the API dispatched through one router under
// one lock (the models are single-threaded).

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "access.h"
#include "api.h"
#include "workbench.h"

namespace httplib {
class Server;
}

namespace orvale::studio {

struct ServerOptions {
  std::string web_root;                 // the front end's folder
  std::string listen = "127.0.0.1";     // the address to bind
  std::vector<std::string> data_roots;  // folders the API may read or write files in
};

class StudioServer {
 public:
  StudioServer(Workbench& host, ServerOptions options);
  ~StudioServer();
  StudioServer(const StudioServer&) = delete;
  StudioServer& operator=(const StudioServer&) = delete;

  // Binds (0: a free port) and serves on a thread of its own; the port, or -1 when
  // the address cannot be bound.
  int Start(int port);
  // Stops serving and waits for the thread; safe to call twice.
  void Stop();
  // Blocks until the server stops.
  void Wait();

  // A fresh one-time token; the URL below then carries it.
  std::string MintToken();
  // "http://127.0.0.1:PORT/#token=TOKEN" with the last token minted (one is minted
  // when there is none yet).
  std::string Url();
  int Port() const { return port_; }

  // Where routes register; add them before Start.
  ApiRouter& Router() { return router_; }
  Workbench& Host() { return host_; }
  // The lock every route runs under, for code that calls the models from elsewhere.
  std::mutex& ModelLock() { return model_lock_; }
  const std::vector<std::string>& DataRoots() const { return options_.data_roots; }

 private:
  void Install();

  Workbench& host_;
  ServerOptions options_;
  AccessKeeper access_;
  ApiRouter router_;
  std::mutex model_lock_;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  std::vector<std::string> allowed_hosts_;
  std::string token_;
  int port_ = -1;
};

// The MIME type served for a file name's extension.
std::string MimeType(std::string_view file_name);
// The file under `root` that URL path `path` names ("/" is index.html); empty when
// the path leaves the root, names a hidden file or nothing.
std::string StaticFile(const std::string& root, std::string_view path);
// True when `path` lies inside one of `roots` (after resolving "..", "." and links).
bool InsideRoots(const std::string& path, const std::vector<std::string>& roots);

}  // namespace orvale::studio
