#include "access.h"

#include <sys/random.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace orvale::studio {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// Constant time in the length of the expected secret, so timing tells nothing of it.
bool SameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

}  // namespace

std::string RandomHex(std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    const ssize_t n = getrandom(bytes.data() + got, count - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {};
    }
    got += static_cast<std::size_t>(n);
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * count);
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xF];
  }
  return hex;
}

bool HostAllowed(std::string_view host, const std::vector<std::string>& allowed) {
  const std::string lower = Lower(host);
  return std::find(allowed.begin(), allowed.end(), lower) != allowed.end();
}

std::vector<std::string> AllowedHosts(std::string_view listen, int port) {
  const std::string suffix = ":" + std::to_string(port);
  std::vector<std::string> hosts = {"127.0.0.1" + suffix, "localhost" + suffix};
  const std::string address = Lower(listen);
  // A wildcard address is no name a browser sends; any other is the one the user chose.
  if (!address.empty() && address != "127.0.0.1" && address != "localhost" &&
      address != "0.0.0.0" && address != "::") {
    hosts.push_back((address.find(':') != std::string::npos ? "[" + address + "]" : address) +
                    suffix);
  }
  return hosts;
}

bool OriginAllowed(std::string_view origin, std::string_view host) {
  return !origin.empty() && !host.empty() && Lower(origin) == "http://" + Lower(host);
}

bool IsJsonType(std::string_view content_type) {
  const std::string_view type = Trim(content_type.substr(0, content_type.find(';')));
  return Lower(type) == "application/json";
}

bool IsMultiRange(std::string_view range) {
  return range.find(',') != std::string_view::npos;
}

std::optional<std::string> CookieValue(std::string_view cookie_header, std::string_view name) {
  while (!cookie_header.empty()) {
    const std::size_t end = std::min(cookie_header.find(';'), cookie_header.size());
    const std::string_view pair = Trim(cookie_header.substr(0, end));
    const std::size_t equals = pair.find('=');
    if (equals != std::string_view::npos && Trim(pair.substr(0, equals)) == name)
      return std::string(Trim(pair.substr(equals + 1)));
    cookie_header.remove_prefix(std::min(end + 1, cookie_header.size()));
  }
  return std::nullopt;
}

std::string SessionCookieHeader(std::string_view session) {
  return std::string(kSessionCookie) + "=" + std::string(session) +
         "; HttpOnly; SameSite=Strict; Path=/";
}

std::vector<std::pair<std::string, std::string>> SecurityHeaders() {
  return {{"Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'"},
          {"X-Content-Type-Options", "nosniff"},
          {"Cache-Control", "no-store"},
          {"Referrer-Policy", "no-referrer"}};
}

std::string AccessKeeper::MintToken() {
  std::string token = RandomHex(kSecretBytes);
  std::lock_guard lock(mutex_);
  if (!token.empty()) tokens_.insert(token);
  return token;
}

std::optional<std::string> AccessKeeper::Exchange(std::string_view token) {
  std::lock_guard lock(mutex_);
  auto found = tokens_.end();
  for (auto it = tokens_.begin(); it != tokens_.end(); ++it)
    if (SameSecret(*it, token)) found = it;
  if (found == tokens_.end()) return std::nullopt;
  tokens_.erase(found);
  std::string session = RandomHex(kSecretBytes);
  if (session.empty()) return std::nullopt;
  sessions_.insert(session);
  return session;
}

bool AccessKeeper::IsSession(std::string_view session) const {
  std::lock_guard lock(mutex_);
  bool found = false;
  for (const std::string& known : sessions_)
    found = SameSecret(known, session) || found;
  return found;
}

std::optional<Refusal> AccessKeeper::Check(const RequestFacts& request,
                                           const std::vector<std::string>& allowed_hosts) const {
  if (!HostAllowed(request.host, allowed_hosts))
    return Refusal{403, "this server answers only to its own address"};
  if (IsMultiRange(request.range)) return Refusal{416, "only one range may be asked for"};
  const bool changes = request.method != "GET" && request.method != "HEAD";
  if (changes) {
    if (!OriginAllowed(request.origin, request.host))
      return Refusal{403, "requests that change anything must come from the studio's own page"};
    if ((request.has_body || !request.content_type.empty()) && !IsJsonType(request.content_type))
      return Refusal{415, "the body must be application/json"};
  }
  const bool api = request.path == "/api" || request.path.starts_with("/api/");
  if (!api) return std::nullopt;
  if (request.path == "/api/session" && request.method == "POST") return std::nullopt;
  const std::optional<std::string> session = CookieValue(request.cookie, kSessionCookie);
  if (!session || !IsSession(*session)) return Refusal{403, "no session: open the studio's URL"};
  if (request.request_header != "1") return Refusal{403, "the X-Orvale-Request header is missing"};
  return std::nullopt;
}

}  // namespace orvale::studio
