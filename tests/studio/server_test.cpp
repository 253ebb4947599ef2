// The studio through a real socket on a free port: the front end and the API behind
// the session, and every kind of hostile or malformed request refused with nothing
// changed and the server still answering. Then the programs themselves: orvale-studio
// printing its URL, a fresh one per line typed, and stopping cleanly; `orvale studio`
// starting it.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "access.h"
#include "server.h"
#include "support/temporary_drives.h"
#include "support/text_table.h"
#include "workbench.h"

extern char** environ;

namespace orvale::studio {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// One request exactly as written, on a connection of its own; the whole answer.
std::string RawRequest(int port, const std::string& request) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    static_cast<void>(::send(fd, request.data(), request.size(), MSG_NOSIGNAL));
    char buffer[4096];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
      answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return answer;
}

int StatusOf(const std::string& answer) {
  return answer.size() > 12 && answer.starts_with("HTTP/1.1 ") ? std::stoi(answer.substr(9, 3)) : 0;
}

class StudioServerTest : public testing::TemporaryDrives {
 protected:
  StudioServerTest() : clock_({2026, 3, 20, 12, 0, 0.0, 0, false}) {}

  void SetUp() override {
    TemporaryDrives::SetUp();
    web_ = Root('C') + "/web-" + RandomHex(4);
    fs::create_directories(web_);
    std::ofstream(web_ + "/index.html") << "<!doctype html><title>Orvale Studio</title>";
    std::ofstream(Root('C') + "/secret.txt") << "secret";
    host_ = std::make_unique<Workbench>(clock_);
    server_ = std::make_unique<StudioServer>(*host_, ServerOptions{web_, "127.0.0.1", {}});
    port_ = server_->Start(0);
    ASSERT_GT(port_, 0);
    self_ = "127.0.0.1:" + std::to_string(port_);
    session_ = Exchange(server_->MintToken());
    ASSERT_FALSE(session_.empty());
  }
  void TearDown() override {
    server_.reset();
    host_.reset();
    TemporaryDrives::TearDown();
  }

  // The session cookie's value for a token; empty when refused.
  std::string Exchange(const std::string& token) {
    httplib::Client client("127.0.0.1", port_);
    const auto reply = client.Post("/api/session", {{"Origin", "http://" + self_}},
                                   json{{"token", token}}.dump(), "application/json");
    if (!reply || reply->status != 200) return {};
    const std::string cookie = reply->get_header_value("Set-Cookie");
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
    return CookieValue(cookie.substr(0, cookie.find(';')), kSessionCookie).value_or("");
  }

  httplib::Headers ApiHeaders() const {
    return {{"Origin", "http://" + self_},
            {"Cookie", std::string(kSessionCookie) + "=" + session_},
            {std::string(kRequestHeader), "1"}};
  }

  json Get(const std::string& path, int* status = nullptr) {
    httplib::Client client("127.0.0.1", port_);
    const auto reply = client.Get(path.c_str(), ApiHeaders());
    if (status) *status = reply ? reply->status : 0;
    return reply ? json::parse(reply->body, nullptr, false) : json();
  }
  json Post(const std::string& path, const json& body, int* status = nullptr) {
    httplib::Client client("127.0.0.1", port_);
    const auto reply = client.Post(path.c_str(), ApiHeaders(), body.dump(), "application/json");
    if (status) *status = reply ? reply->status : 0;
    return reply ? json::parse(reply->body, nullptr, false) : json();
  }

  // The state as the page would read it, to show a refusal changed nothing.
  std::string State() { return Get("/api/state").dump(); }

  FixedClock clock_;
  std::string web_;
  std::unique_ptr<Workbench> host_;
  std::unique_ptr<StudioServer> server_;
  int port_ = 0;
  std::string self_;
  std::string session_;
};

TEST_F(StudioServerTest, TheFrontEndAndTheApiAnswerWithTheirSecurityHeaders) {
  httplib::Client client("127.0.0.1", port_);
  const auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->body, "<!doctype html><title>Orvale Studio</title>");
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  const auto refused = client.Get("/api/state");
  ASSERT_TRUE(refused);
  for (const auto* reply : {&*page, &*refused}) {
    EXPECT_EQ(reply->get_header_value("Content-Security-Policy"),
              "default-src 'self'; frame-ancestors 'none'");
    EXPECT_EQ(reply->get_header_value("X-Content-Type-Options"), "nosniff");
    EXPECT_EQ(reply->get_header_value("Cache-Control"), "no-store");
    EXPECT_EQ(reply->get_header_value("Referrer-Policy"), "no-referrer");
    EXPECT_FALSE(reply->has_header("Access-Control-Allow-Origin"));
  }
  EXPECT_EQ(refused->status, 403);
  EXPECT_TRUE(json::parse(refused->body).contains("error"));

  int status = 0;
  const json state = Get("/api/state", &status);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(state["kinds"].size(), kPaneKinds.size());
  EXPECT_EQ(server_->Url(), "http://127.0.0.1:" + std::to_string(port_) +
                                "/#token=" + server_->Url().substr(server_->Url().find('=') + 1));
}

TEST_F(StudioServerTest, APaneIsMadeAndEditedInUtf8) {
  int status = 0;
  const json pane = Post("/api/panes", {{"kind", "grid-to-geog"}}, &status);
  ASSERT_EQ(status, 200) << pane.dump();
  const std::string edit = "/api/panes/" + std::to_string(pane["id"].get<int>()) + "/edit";
  json answer = Post(edit, {{"path", "2/0"}, {"text", "51\xC2\xB0 30\xE2\x80\xB2 N"}}, &status);
  EXPECT_EQ(status, 200);
  EXPECT_EQ(answer["outcome"], "taken") << answer.dump();
  EXPECT_EQ(answer["panes"][0]["grid"]["properties"][2]["items"][0]["text"],
            "51\xC2\xB0 30'.0000000N");
  answer = Post(edit, {{"path", "2/0"}, {"text", "north"}}, &status);
  EXPECT_EQ(status, 200) << "a typo is no fault";
  EXPECT_EQ(answer["outcome"], "refused");
  EXPECT_FALSE(answer["reason"].get<std::string>().empty());
  Post("/api/panes/42/edit", {{"path", "2/0"}, {"text", "1"}}, &status);
  EXPECT_EQ(status, 404);
  Get("/api/panes", &status);
  EXPECT_EQ(status, 405) << "the path is known, by POST";
}

TEST_F(StudioServerTest, HostileAndMalformedRequestsChangeNothing) {
  Post("/api/panes", {{"kind", "grid-to-geog"}});
  const std::string before = State();
  const std::string spent = Exchange(server_->MintToken());
  ASSERT_FALSE(spent.empty());
  for (const testing::TextRow& row : testing::ReadTextTable("studio/refusals.txt")) {
    const auto fill = [&](std::string value) {
      if (value == "self") return self_;
      if (value.ends_with(":P")) return value.substr(0, value.size() - 1) + std::to_string(port_);
      return value;
    };
    std::string request = row[1] + " " + row[2] + " HTTP/1.1\r\nConnection: close\r\n";
    if (row[3] != "-") request += "Host: " + fill(row[3]) + "\r\n";
    if (row[4] != "-")
      request += "Origin: " + (row[4] == "self" ? "http://" + self_ : row[4]) + "\r\n";
    if (row[5] != "-") request += "Content-Type: " + row[5] + "\r\n";
    if (row[6] == "good") request += "Cookie: orvale_session=" + session_ + "\r\n";
    if (row[6] == "spent") request += "Cookie: orvale_session=" + RandomHex(kSecretBytes) + "\r\n";
    if (row[7] != "-") request += std::string(kRequestHeader) + ": " + row[7] + "\r\n";
    if (row[1] == "POST") request += "Content-Length: " + std::to_string(row[8].size()) + "\r\n";
    request += "\r\n" + row[8];
    const std::string answer = RawRequest(port_, request);
    EXPECT_EQ(StatusOf(answer), std::stoi(row[9])) << row.where << " " << row[0];
    EXPECT_EQ(answer.find("Access-Control-Allow-Origin"), std::string::npos) << row.where;
    EXPECT_EQ(State(), before) << row.where << ": " << row[0] << " changed the state";
  }
  EXPECT_TRUE(Exchange(spent.empty() ? "" : server_->MintToken()).size() > 0)
      << "the server still opens sessions";
}

TEST_F(StudioServerTest, ATokenIsSpentByItsFirstUse) {
  const std::string token = server_->MintToken();
  EXPECT_FALSE(Exchange(token).empty());
  EXPECT_TRUE(Exchange(token).empty());
  EXPECT_TRUE(Exchange("").empty());
  const std::string answer = RawRequest(
      port_, "POST /api/session HTTP/1.1\r\nHost: " + self_ + "\r\nOrigin: http://" + self_ +
                 "\r\nContent-Type: application/json\r\nContent-Length: 2\r\n"
                 "Connection: close\r\n\r\n{}");
  EXPECT_EQ(StatusOf(answer), 403);
  EXPECT_EQ(answer.find("Set-Cookie"), std::string::npos);
}

TEST_F(StudioServerTest, AnOversizedBodyIsRefusedUnread) {
  const std::string before = State();
  // The length alone decides: the body is never sent, nor read.
  const std::string answer = RawRequest(
      port_, "POST /api/panes HTTP/1.1\r\nHost: " + self_ + "\r\nOrigin: http://" + self_ +
                 "\r\nContent-Type: application/json\r\nCookie: orvale_session=" + session_ +
                 "\r\nX-Orvale-Request: 1\r\nContent-Length: " + std::to_string(kPayloadLimit + 1) +
                 "\r\nConnection: close\r\n\r\n{\"kind\"");
  EXPECT_EQ(StatusOf(answer), 413);
  EXPECT_EQ(State(), before);
}

TEST_F(StudioServerTest, OneRangeIsServedAndSeveralRefused) {
  const auto get = [&](const std::string& range) {
    return RawRequest(port_, "GET /index.html HTTP/1.1\r\nHost: " + self_ + "\r\nRange: " + range +
                                 "\r\nConnection: close\r\n\r\n");
  };
  const std::string one = get("bytes=0-8");
  EXPECT_EQ(StatusOf(one), 206);
  EXPECT_TRUE(one.ends_with("\r\n\r\n<!doctype"));
  EXPECT_EQ(StatusOf(get("bytes=0-1,4-5")), 416);
  EXPECT_EQ(StatusOf(get("bytes=0-1, 4-5, 8-9")), 416);
  EXPECT_EQ(StatusOf(get("bytes=0-0")), 206) << "still serving";
}

TEST_F(StudioServerTest, NoPathLeadsOutOfTheWebRoot) {
  fs::create_symlink(Root('C') + "/secret.txt", web_ + "/link.txt");
  for (const char* path :
       {"/../secret.txt", "/%2e%2e/secret.txt", "/%2E%2E%2Fsecret.txt", "/..%2fsecret.txt",
        "/link.txt", "/.%2e/.%2e/secret.txt", "/..\\secret.txt", "/%00index.html"}) {
    const std::string answer =
        RawRequest(port_, std::string("GET ") + path + " HTTP/1.1\r\nHost: " + self_ +
                              "\r\nConnection: close\r\n\r\n");
    EXPECT_NE(StatusOf(answer), 200) << path;
    EXPECT_EQ(answer.find("secret\r"), std::string::npos) << path;
    EXPECT_FALSE(answer.ends_with("secret")) << path;
  }
  EXPECT_EQ(StatusOf(RawRequest(
                port_, "GET / HTTP/1.1\r\nHost: " + self_ + "\r\nConnection: close\r\n\r\n")),
            200);
}

// A program run with `arguments`, its standard input and output as pipes.
struct Child {
  pid_t pid = -1;
  int in = -1;
  FILE* out = nullptr;
};

Child Spawn(const std::vector<std::string>& arguments) {
  int to_child[2], from_child[2];
  if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, to_child[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, from_child[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, to_child[1]);
  posix_spawn_file_actions_addclose(&actions, from_child[0]);
  std::vector<char*> argv;
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  Child child;
  if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
    child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(to_child[0]);
  ::close(from_child[1]);
  child.in = to_child[1];
  child.out = ::fdopen(from_child[0], "r");
  return child;
}

std::string Line(FILE* out) {
  char line[512];
  return std::fgets(line, sizeof line, out) != nullptr ? line : "";
}

int Finish(Child& child, int signal) {
  if (signal != 0) ::kill(child.pid, signal);
  ::close(child.in);
  std::fclose(child.out);
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  return status;
}

TEST_F(StudioServerTest, TheProgramPrintsAFreshUrlPerLineAndStopsCleanly) {
  Child child = Spawn({ORVALE_STUDIO_PROGRAM, "--web", web_});
  ASSERT_GT(child.pid, 0);
  const std::regex url(R"(Orvale Studio: http://127\.0\.0\.1:(\d+)/#token=([0-9a-f]{64})\n)");
  std::smatch first, second;
  const std::string first_line = Line(child.out);
  ASSERT_TRUE(std::regex_match(first_line, first, url)) << first_line;
  ASSERT_EQ(::write(child.in, "\n", 1), 1);
  const std::string second_line = Line(child.out);
  ASSERT_TRUE(std::regex_match(second_line, second, url)) << second_line;
  EXPECT_EQ(first[1], second[1]);
  EXPECT_NE(first[2], second[2]);
  const std::string page =
      RawRequest(std::stoi(first[1]), "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + first[1].str() +
                                          "\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusOf(page), 200);
  const int status = Finish(child, SIGTERM);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(StudioServerTest, OrvaleStudioStartsTheWorkbenchWithItsArguments) {
  Child child = Spawn({ORVALE_PROGRAM, "studio", "--web", web_, "--port", "0"});
  ASSERT_GT(child.pid, 0);
  EXPECT_TRUE(Line(child.out).starts_with("Orvale Studio: http://127.0.0.1:"));
  EXPECT_EQ(Finish(child, SIGINT), 0);
  // Its options are the workbench's: a folder that is not there is refused by it.
  Child refused = Spawn({ORVALE_PROGRAM, "studio", "--web", web_ + "/missing"});
  const int status = Finish(refused, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

}  // namespace
}  // namespace orvale::studio
