#pragma once
// Who may use the studio, as pure functions of a request's facts, so every rule can
// be tested without a socket. The model is a notebook server's: a one-time token in
// the URL's fragment, exchanged for an HttpOnly, SameSite=Strict session cookie; a
// custom header on every API call (a form or a simple cross-site request cannot set
// one); the Host checked against DNS rebinding; Origin checked on every POST; JSON
// only as application/json; no CORS, ever.

#include <cstddef>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvale::studio {

inline constexpr std::string_view kSessionCookie = "orvale_session";
inline constexpr std::string_view kRequestHeader = "X-Orvale-Request";
inline constexpr std::size_t kPayloadLimit = 64u * 1024u * 1024u;
inline constexpr std::size_t kSecretBytes = 32;

// `count` random bytes from the kernel as lower-case hex; empty if none could be read.
std::string RandomHex(std::size_t count);

// True when `host` (the Host header) is one of `allowed` ("127.0.0.1:PORT", ...).
bool HostAllowed(std::string_view host, const std::vector<std::string>& allowed);
// The Host names a server at `listen` on `port` answers to: 127.0.0.1 and localhost,
// and the listen address itself when it is another.
std::vector<std::string> AllowedHosts(std::string_view listen, int port);
// A state-changing request's Origin must be this server's own: "http://" + Host.
bool OriginAllowed(std::string_view origin, std::string_view host);
// "application/json", with parameters ("; charset=utf-8") or not, in any case.
bool IsJsonType(std::string_view content_type);
// A Range header naming more than one range.
bool IsMultiRange(std::string_view range);
// The value of cookie `name` in a Cookie header; nothing when it is absent.
std::optional<std::string> CookieValue(std::string_view cookie_header, std::string_view name);
// The Set-Cookie value of a session.
std::string SessionCookieHeader(std::string_view session);
// Headers every response carries.
std::vector<std::pair<std::string, std::string>> SecurityHeaders();

// What the checks need of a request.
struct RequestFacts {
  std::string method;
  std::string path;
  std::string host;
  std::string origin;          // empty when absent
  std::string content_type;    // empty when absent
  std::string range;           // empty when absent
  std::string cookie;          // the Cookie header
  std::string request_header;  // X-Orvale-Request
  bool has_body = false;       // a Content-Length above 0 or a chunked body
};

struct Refusal {
  int status = 403;
  std::string reason;
};

// Tokens and sessions of one server. Thread-safe: the checks run on the server's
// worker threads, outside the models' lock.
class AccessKeeper {
 public:
  // A fresh one-time token (64 hex digits); every older unspent one stays valid.
  std::string MintToken();
  // The session for a token, which is spent by it; nothing for a wrong or spent one.
  std::optional<std::string> Exchange(std::string_view token);
  bool IsSession(std::string_view session) const;

  // Why a request may not go on; nothing when it may. The token exchange itself
  // (POST /api/session) needs no session yet.
  std::optional<Refusal> Check(const RequestFacts& request,
                               const std::vector<std::string>& allowed_hosts) const;

 private:
  mutable std::mutex mutex_;
  std::set<std::string, std::less<>> tokens_;
  std::set<std::string, std::less<>> sessions_;
};

}  // namespace orvale::studio
