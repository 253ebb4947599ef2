#include "server.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "record_routes.h"
#include "text_json.h"

namespace orvale::studio {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string Dump(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

// The body of a good answer, sent as it is. cpp-httplib compresses a plain body
// whenever the browser accepts it, and Debian's build prefers brotli at its highest
// quality: a second for the front end's largest script, on loopback where
// compression saves nothing. A body given by a provider of known length is sent
// uncompressed. Errors keep a plain body: the error handler fills in empty ones.
void SetBody(httplib::Response& res, std::string bytes, const std::string& content_type) {
  if (res.status >= 400) return res.set_content(std::move(bytes), content_type);
  const auto body = std::make_shared<const std::string>(std::move(bytes));
  res.set_content_provider(body->size(), content_type,
                           [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                             return sink.write(body->data() + offset, length);
                           });
}

void SendError(httplib::Response& res, int status, std::string_view reason) {
  res.status = status;
  res.set_content(Dump(json{{"error", std::string(reason)}}), "application/json");
}

RequestFacts FactsOf(const httplib::Request& req) {
  RequestFacts facts;
  facts.method = req.method;
  facts.path = req.path;
  facts.host = req.get_header_value("Host");
  facts.origin = req.get_header_value("Origin");
  facts.content_type = req.get_header_value("Content-Type");
  facts.range = req.get_header_value("Range");
  facts.cookie = req.get_header_value("Cookie");
  facts.request_header = req.get_header_value(std::string(kRequestHeader).c_str());
  const std::string length = req.get_header_value("Content-Length");
  facts.has_body = (!length.empty() && length != "0") ||
                   req.get_header_value("Transfer-Encoding").find("chunked") != std::string::npos;
  return facts;
}

// Reads a whole regular file; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream out;
  out << in.rdbuf();
  bytes = std::move(out).str();
  return static_cast<bool>(in) || in.eof();
}

// A path with no symbolic links, "." or ".." left, as far as it exists.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? fs::path() : resolved;
}

bool Within(const fs::path& path, const fs::path& root) {
  if (path.empty() || root.empty()) return false;
  auto p = path.begin();
  for (auto r = root.begin(); r != root.end(); ++r, ++p) {
    if (r->empty()) continue;  // a trailing separator
    if (p == path.end() || *p != *r) return false;
  }
  return true;
}

}  // namespace

std::string MimeType(std::string_view file_name) {
  static constexpr std::pair<std::string_view, std::string_view> kTypes[] = {
      {".html", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".mjs", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".json", "application/json"},
      {".map", "application/json"},
      {".svg", "image/svg+xml"},
      {".png", "image/png"},
      {".ico", "image/x-icon"},
      {".woff2", "font/woff2"},
      {".woff", "font/woff"},
      {".ttf", "font/ttf"},
      {".otf", "font/otf"},
      {".txt", "text/plain; charset=utf-8"},
  };
  const std::size_t dot = file_name.rfind('.');
  if (dot != std::string_view::npos) {
    std::string extension(file_name.substr(dot));
    for (char& c : extension)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [known, type] : kTypes)
      if (extension == known) return std::string(type);
  }
  return "application/octet-stream";
}

std::string StaticFile(const std::string& root, std::string_view path) {
  if (root.empty() || path.empty() || path.front() != '/') return {};
  std::string relative(path.substr(1));
  if (relative.empty() || relative.back() == '/') relative += "index.html";
  // Each step must be a plain name: no "..", no hidden files, no backslashes or NULs.
  std::size_t start = 0;
  while (start <= relative.size()) {
    const std::size_t end = std::min(relative.find('/', start), relative.size());
    const std::string_view step = std::string_view(relative).substr(start, end - start);
    if (step.empty() || step.front() == '.' || step.find('\\') != std::string_view::npos ||
        step.find('\0') != std::string_view::npos) {
      return {};
    }
    start = end + 1;
  }
  const fs::path base = Resolved(root);
  const fs::path file = Resolved(fs::path(root) / relative);
  std::error_code error;
  if (!Within(file, base) || !fs::is_regular_file(file, error)) return {};
  return file.string();
}

bool InsideRoots(const std::string& path, const std::vector<std::string>& roots) {
  const fs::path resolved = Resolved(path);
  for (const std::string& root : roots)
    if (Within(resolved, Resolved(root))) return true;
  return false;
}

StudioServer::StudioServer(Workbench& host, ServerOptions options)
    : host_(host), options_(std::move(options)), http_(std::make_unique<httplib::Server>()) {
  AddPaneRoutes(router_, host_);
  // The record dialogs, list editors, import selectors and points table share the
  // host's projection and datum; a saved or removed record redraws the panes.
  AddRecordRoutes(router_,
                  {&host_.Projection(), &host_.Datum(), [this] { host_.RecordsChanged(); }, {}});
}

StudioServer::~StudioServer() {
  Stop();
}

std::string StudioServer::MintToken() {
  token_ = access_.MintToken();
  return token_;
}

std::string StudioServer::Url() {
  if (token_.empty()) MintToken();
  // A wildcard address is reached at 127.0.0.1 too; any other only at itself.
  const std::string& listen = options_.listen;
  const bool wildcard = listen.empty() || listen == "0.0.0.0" || listen == "::";
  const std::string host = wildcard                                ? std::string("127.0.0.1")
                           : listen.find(':') != std::string::npos ? "[" + listen + "]"
                                                                   : listen;
  return "http://" + host + ":" + std::to_string(port_) + "/#token=" + token_;
}

int StudioServer::Start(int port) {
  if (thread_.joinable()) return port_;
  Install();
  port_ = port == 0 ? http_->bind_to_any_port(options_.listen)
                    : (http_->bind_to_port(options_.listen, port) ? port : -1);
  if (port_ < 0) return -1;
  allowed_hosts_ = AllowedHosts(options_.listen, port_);
  thread_ = std::thread([this] { http_->listen_after_bind(); });
  // Requests made as soon as Start returns must find the server listening.
  for (int i = 0; i < 5000 && !http_->is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void StudioServer::Stop() {
  if (http_) http_->stop();
  if (thread_.joinable()) thread_.join();
}

void StudioServer::Wait() {
  if (thread_.joinable()) thread_.join();
}

void StudioServer::Install() {
  httplib::Server& http = *http_;
  http.set_payload_max_length(kPayloadLimit);
  httplib::Headers headers;
  for (const auto& [name, value] : SecurityHeaders())
    headers.emplace(name, value);
  http.set_default_headers(headers);

  http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const std::optional<Refusal> refusal = access_.Check(FactsOf(req), allowed_hosts_);
    if (!refusal) return httplib::Server::HandlerResponse::Unhandled;
    SendError(res, refusal->status, refusal->reason);
    return httplib::Server::HandlerResponse::Handled;
  });

  http.Post("/api/session", [this](const httplib::Request& req, httplib::Response& res) {
    const json body = json::parse(req.body, nullptr, false);
    const std::optional<std::string> token = StringField(body, "token");
    const std::optional<std::string> session = token ? access_.Exchange(*token) : std::nullopt;
    if (!session) return SendError(res, 403, "the token is wrong or spent");
    res.set_header("Set-Cookie", SessionCookieHeader(*session));
    res.set_content(Dump(json{{"ok", true}}), "application/json");
  });

  const auto api = [this](const httplib::Request& req, httplib::Response& res) {
    ApiRequest request;
    for (const auto& [name, value] : req.params)
      request.query[name] = value;
    if (!req.body.empty()) {
      request.body = json::parse(req.body, nullptr, false);
      if (request.body.is_discarded()) return SendError(res, 400, "the body is not JSON");
    }
    const std::string path = req.path.substr(4);  // after "/api"
    bool path_known = false;
    std::optional<ApiReply> reply;
    try {
      std::lock_guard lock(model_lock_);
      reply = router_.Dispatch(req.method, path, std::move(request), &path_known);
    } catch (const std::exception& error) {
      return SendError(res, 500, error.what());
    }
    if (!reply) return SendError(res, path_known ? 405 : 404, "no such route");
    res.status = reply->status;
    if (reply->content_type.empty()) {
      SetBody(res, Dump(reply->json), "application/json");
      return;
    }
    if (!reply->filename.empty()) {
      // RFC 6266: a plain ASCII fallback and the UTF-8 name percent-encoded.
      std::string ascii, encoded;
      for (const char c : reply->filename) {
        const auto b = static_cast<unsigned char>(c);
        ascii += b < 0x80 && c != '"' && c != '\\' && b >= 0x20 ? c : '_';
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", b);
        encoded += std::isalnum(b) || c == '.' || c == '-' || c == '_' ? std::string(1, c) : hex;
      }
      res.set_header("Content-Disposition",
                     std::string(reply->attachment ? "attachment" : "inline") + "; filename=\"" +
                         ascii + "\"; filename*=UTF-8''" + encoded);
    }
    SetBody(res, std::move(reply->bytes), reply->content_type);
  };
  http.Get(R"(/api/.*)", api);
  http.Post(R"(/api/.*)", api);

  http.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string file = StaticFile(options_.web_root, req.path);
    std::string bytes;
    if (file.empty() || !ReadFile(file, bytes)) return SendError(res, 404, "no such file");
    SetBody(res, std::move(bytes), MimeType(file));
  });

  http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) {
      res.set_content(Dump(json{{"error", "HTTP status " + std::to_string(res.status)}}),
                      "application/json");
    }
  });
}

}  // namespace orvale::studio
