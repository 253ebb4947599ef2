// The studio's access rules without a socket: which requests pass, the one-time
// token, the session cookie, the static files a URL may reach and their types.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "access.h"
#include "server.h"
#include "support/text_table.h"

namespace orvale::studio {
namespace {

namespace fs = std::filesystem;

std::string Field(const testing::TextRow& row, std::size_t i) {
  return row[i] == "-" ? std::string() : row[i];
}

TEST(AccessTest, EachRequestPassesOrIsRefusedAsTheRulesSay) {
  AccessKeeper keeper;
  const std::optional<std::string> session = keeper.Exchange(keeper.MintToken());
  ASSERT_TRUE(session.has_value());
  const std::vector<std::string> hosts = AllowedHosts("127.0.0.1", 8123);
  for (const testing::TextRow& row : testing::ReadTextTable("studio/access.txt", 10)) {
    RequestFacts facts;
    facts.method = row[0];
    facts.path = row[1];
    facts.host = Field(row, 2);
    facts.origin = Field(row, 3);
    facts.content_type = Field(row, 4);
    facts.range = Field(row, 5);
    if (row[6] == "good") facts.cookie = "theme=dark; orvale_session=" + *session;
    if (row[6] == "wrong") facts.cookie = "orvale_session=" + RandomHex(kSecretBytes);
    facts.request_header = Field(row, 7);
    facts.has_body = row[8] == "yes";
    const std::optional<Refusal> refusal = keeper.Check(facts, hosts);
    EXPECT_EQ(refusal ? refusal->status : 0, std::stoi(row[9])) << row.where;
    if (refusal) {
      EXPECT_FALSE(refusal->reason.empty()) << row.where;
    }
  }
}

TEST(AccessTest, ATokenOpensOneSessionOnly) {
  AccessKeeper keeper;
  const std::string first = keeper.MintToken();
  const std::string second = keeper.MintToken();
  ASSERT_EQ(first.size(), 2 * kSecretBytes);
  EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(first, second);
  EXPECT_EQ(keeper.Exchange("not-a-token"), std::nullopt);
  EXPECT_EQ(keeper.Exchange(""), std::nullopt);
  EXPECT_EQ(keeper.Exchange(first.substr(0, 63) + (first[63] == '0' ? "1" : "0")), std::nullopt);
  const std::optional<std::string> session = keeper.Exchange(first);
  ASSERT_TRUE(session.has_value());
  EXPECT_EQ(session->size(), 2 * kSecretBytes);
  EXPECT_NE(*session, first) << "the session is no token";
  EXPECT_TRUE(keeper.IsSession(*session));
  EXPECT_FALSE(keeper.IsSession(first));
  EXPECT_EQ(keeper.Exchange(first), std::nullopt) << "spent";
  EXPECT_TRUE(keeper.Exchange(second).has_value()) << "an older unspent token still opens";
}

TEST(AccessTest, SecretsAreRandomAndCookiesStrict) {
  std::set<std::string> seen;
  for (int i = 0; i < 64; ++i)
    seen.insert(RandomHex(kSecretBytes));
  EXPECT_EQ(seen.size(), 64u);
  EXPECT_EQ(SessionCookieHeader("abc"), "orvale_session=abc; HttpOnly; SameSite=Strict; Path=/");
  EXPECT_EQ(CookieValue("a=1; orvale_session=xyz; b=2", kSessionCookie), "xyz");
  EXPECT_EQ(CookieValue("orvale_session_old=1; x=orvale_session", kSessionCookie), std::nullopt);
  EXPECT_EQ(CookieValue("", kSessionCookie), std::nullopt);
  for (const auto& [name, value] : SecurityHeaders()) {
    EXPECT_NE(name, "Access-Control-Allow-Origin");
    if (name == "Content-Security-Policy") {
      EXPECT_EQ(value, "default-src 'self'; frame-ancestors 'none'");
    }
  }
  EXPECT_EQ(SecurityHeaders().size(), 4u);
}

TEST(AccessTest, AnotherListenAddressIsAlsoAHostName) {
  EXPECT_EQ(AllowedHosts("127.0.0.1", 80),
            (std::vector<std::string>{"127.0.0.1:80", "localhost:80"}));
  EXPECT_EQ(AllowedHosts("0.0.0.0", 80).size(), 2u) << "no browser sends a wildcard";
  EXPECT_EQ(AllowedHosts("192.168.1.5", 80).back(), "192.168.1.5:80");
  EXPECT_EQ(AllowedHosts("::1", 80).back(), "[::1]:80");
}

class StaticFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("orvale-static-" + RandomHex(8));
    root_ = base_ / "web";
    fs::create_directories(root_ / "sub");
    fs::create_directories(root_ / "fonts");
    for (const char* name :
         {"index.html", "app.js", "sub/style.css", "fonts/Face.woff2", ".hidden"})
      std::ofstream(root_ / name) << name;
    std::ofstream(base_ / "secret.txt") << "secret";
    fs::create_symlink(base_ / "secret.txt", root_ / "link.txt");
  }
  void TearDown() override { fs::remove_all(base_); }

  fs::path base_, root_;
};

TEST_F(StaticFilesTest, AUrlReachesOnlyPlainFilesInsideTheRoot) {
  for (const testing::TextRow& row : testing::ReadTextTable("studio/static_paths.txt", 2)) {
    const std::string file = StaticFile(root_.string(), row[0]);
    if (row[1] == "-") {
      EXPECT_EQ(file, "") << row.where;
    } else {
      EXPECT_EQ(file, fs::canonical(root_ / row[1]).string()) << row.where;
    }
  }
  EXPECT_EQ(StaticFile("", "/index.html"), "");
}

TEST_F(StaticFilesTest, FilesGoOutWithTheTypeOfTheirName) {
  for (const testing::TextRow& row : testing::ReadTextTable("studio/mime_types.txt", 2))
    EXPECT_EQ(MimeType(row[0]), row[1]) << row.where;
}

TEST_F(StaticFilesTest, DataRootsHoldWhatIsInsideThemOnly) {
  const std::vector<std::string> roots = {root_.string()};
  EXPECT_TRUE(InsideRoots((root_ / "sub" / "new.csv").string(), roots));
  EXPECT_TRUE(InsideRoots((root_ / "sub" / ".." / "app.js").string(), roots));
  EXPECT_FALSE(InsideRoots((root_ / ".." / "secret.txt").string(), roots));
  EXPECT_FALSE(InsideRoots((root_ / "link.txt").string(), roots)) << "a link leading out";
  EXPECT_FALSE(InsideRoots(root_.string() + "-other/x", roots)) << "a sibling sharing the prefix";
  EXPECT_FALSE(InsideRoots((root_ / "x").string(), {}));
}

}  // namespace
}  // namespace orvale::studio
