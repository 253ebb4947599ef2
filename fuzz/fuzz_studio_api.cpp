// The studio's JSON API as the server dispatches it, past its access checks: the
// first bytes choose a route of the real list (and now and then the other method, or
// a pane, dialog or editor id), the rest is the request's body. Every request gets an
// answer of the API's statuses, never an exception (the server would turn one into a
// 500) nor a crash, and every JSON answer the routes write as text parses back. The
// host lives from one input to the next, so a run builds up panes, dialogs, editors
// and records as a long session in the browser would.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "api.h"
#include "fuzz_support.h"
#include "orvale/platform/clock.h"
#include "record_routes.h"
#include "workbench.h"

namespace {

using nlohmann::json;

struct Route {
  const char* method;
  const char* path;  // "%d": an id chosen by the input
};

// The routes of API.md, as the server registers them.
constexpr Route kRoutes[] = {
    {"GET", "/state"},
    {"POST", "/panes"},
    {"POST", "/panes/%d/edit"},
    {"POST", "/panes/%d/close"},
    {"POST", "/panes/%d/show"},
    {"POST", "/clock"},
    {"POST", "/panes/%d/almanac"},
    {"GET", "/settings"},
    {"POST", "/settings"},
    {"POST", "/dialogs"},
    {"GET", "/dialogs/%d"},
    {"POST", "/dialogs/%d/edit"},
    {"POST", "/dialogs/%d/button"},
    {"POST", "/editors"},
    {"GET", "/editors/%d"},
    {"POST", "/editors/%d/select"},
    {"POST", "/editors/%d/add"},
    {"POST", "/editors/%d/edit"},
    {"POST", "/editors/%d/open"},
    {"POST", "/editors/%d/remove"},
    {"POST", "/editors/%d/close"},
    {"GET", "/editors/%d/export"},
    {"GET", "/selectors/geog-csv"},
    {"GET", "/selectors/grid-excel"},
    {"POST", "/selectors/geog-excel"},
    {"POST", "/selectors/grid-csv"},
    {"POST", "/points/preview"},
    {"POST", "/points/convert"},
    {"GET", "/points/export"},
    {"GET", "/no-such-route"},
};
constexpr std::size_t kRouteCount = sizeof kRoutes / sizeof kRoutes[0];
constexpr const char* kFormats[] = {"csv", "xlsx", "html", "pdf", ""};

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_studio_api: %s: %s\n", what, detail.c_str());
  std::abort();
}

bool KnownStatus(int status) {
  switch (status) {
    case 200:
    case 400:
    case 403:
    case 404:
    case 405:
    case 409:
    case 413:
    case 415:
    case 416:
      return true;
    default:
      return false;
  }
}

struct Studio {
  orvale::FixedClock clock{orvale::LocalDateTime{2026, 6, 21, 14, 30, 0}};
  orvale::studio::Workbench host{clock};
  orvale::studio::ApiRouter router;
  Studio() {
    orvale::studio::AddPaneRoutes(router, host);
    orvale::studio::AddRecordRoutes(
        router, {&host.Projection(), &host.Datum(), [this] { host.RecordsChanged(); }, {}});
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  orvale::fuzzing::UsePrivateDrive();
  static Studio studio;

  const Route& route = kRoutes[data[0] % kRouteCount];
  std::string method = route.method;
  if (data[1] & 0x80) method = method == "GET" ? "POST" : "GET";  // the other method: 405
  std::string path = route.path;
  if (const auto at = path.find("%d"); at != std::string::npos)
    path.replace(at, 2, std::to_string(data[1] & 0x1f));
  orvale::studio::ApiRequest request;
  if (path.ends_with("/export")) {
    request.query["format"] = kFormats[data[2] % 5];
    if (path.starts_with("/points")) request.query["file"] = std::to_string(data[2] / 5);
  }

  // As the server: an empty body is null, one that does not parse is refused before
  // any route sees it.
  const std::string body(reinterpret_cast<const char*>(data) + 3, size - 3);
  if (!body.empty()) {
    request.body = json::parse(body, nullptr, false);
    if (request.body.is_discarded()) return 0;
  }

  bool path_known = false;
  std::optional<orvale::studio::ApiReply> reply;
  try {
    reply = studio.router.Dispatch(method, path, std::move(request), &path_known);
  } catch (const std::exception& error) {
    Fail((method + " " + path).c_str(), std::string("exception: ") + error.what());
  }
  if (!reply) {
    if (route.path == std::string_view("/no-such-route") ? path_known : !path_known)
      Fail("route table", method + " " + path);
    return 0;
  }
  if (!KnownStatus(reply->status))
    Fail("status", method + " " + path + " -> " + std::to_string(reply->status));
  if (reply->content_type.empty()) {
    // What the server sends: invalid UTF-8 replaced, never thrown.
    static_cast<void>(reply->json.dump(-1, ' ', false, json::error_handler_t::replace));
  } else if (reply->content_type == "application/json" &&
             json::parse(reply->bytes, nullptr, false).is_discarded()) {
    Fail("JSON text", method + " " + path + " -> " + reply->bytes.substr(0, 200));
  }
  return 0;
}
