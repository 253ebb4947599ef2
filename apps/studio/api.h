#pragma once
// The studio's JSON API as the models see it: a request already past the access
// checks (token, Host, Origin, content type), its path parameters and parsed body,
// and a reply that is either JSON or a file. Handlers register by method and path
// pattern; the server runs each under the one lock that serialises the models.

#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace orvale::studio {

struct ApiRequest {
  std::string method;                        // "GET" or "POST"
  std::vector<std::string> params;           // the pattern's captures, in order
  std::map<std::string, std::string> query;  // decoded query parameters
  nlohmann::json body;                       // null for a GET or an empty body
};

struct ApiReply {
  int status = 200;
  nlohmann::json json;       // sent when `content_type` is empty
  std::string bytes;         // a file's contents
  std::string content_type;  // a file's type
  std::string filename;      // a download's name (UTF-8)
  bool attachment = true;    // false: shown in the browser (the print page)

  static ApiReply Json(nlohmann::json value) { return {200, std::move(value), {}, {}, {}, true}; }
  static ApiReply Error(int status, std::string_view message) {
    return {status, nlohmann::json{{"error", std::string(message)}}, {}, {}, {}, true};
  }
  static ApiReply File(std::string bytes, std::string content_type, std::string filename,
                       bool attachment = true) {
    return {200,       nullptr, std::move(bytes), std::move(content_type), std::move(filename),
            attachment};
  }
};

using ApiHandler = std::function<ApiReply(const ApiRequest&)>;

class ApiRouter {
 public:
  // `pattern` is a regular expression over the whole path after "/api", e.g.
  // R"(/panes/(\d+)/edit)"; its captures become the request's params.
  void Add(std::string method, const std::string& pattern, ApiHandler handler) {
    routes_.push_back({std::move(method), std::regex(pattern), std::move(handler)});
  }

  // The reply of the first route matching method and path; nothing when none does.
  // Sets `path_known` when the path matched some route under another method.
  std::optional<ApiReply> Dispatch(std::string_view method, const std::string& path,
                                   ApiRequest request, bool* path_known = nullptr) const {
    for (const Route& route : routes_) {
      std::smatch match;
      if (!std::regex_match(path, match, route.pattern)) continue;
      if (route.method != method) {
        if (path_known != nullptr) *path_known = true;
        continue;
      }
      request.method = std::string(method);
      request.params.assign(match.begin() + 1, match.end());
      return route.handler(request);
    }
    return std::nullopt;
  }

 private:
  struct Route {
    std::string method;
    std::regex pattern;
    ApiHandler handler;
  };
  std::vector<Route> routes_;
};

}  // namespace orvale::studio
