// FetchUrl against the stand-in forum server (tools/forum_server.py), run by
// run_with_forum.sh inside a network namespace whose hosts file sends the forum hosts to
// 127.0.0.1: port 80 and 8080 plain, 443 TLS with a certificate of the namespace's own CA.
#include "lookup/fetch_url.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace tolvane::lookup {
namespace {

std::string Fetch(const std::string& address) {
  Bytes body = FetchUrl(address.c_str());
  return std::string(reinterpret_cast<const char*>(body.data()), body.size());
}

std::string Pattern(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(((i % 251) * 7 + 3) % 251);
  return bytes;
}

std::string RequestLine(const std::string& head) { return head.substr(0, head.find("\r\n")); }

int Connections() { return std::stoi(Fetch("http://tieba.baidu.com/test/connections")); }

const std::string kHost = "http://tieba.baidu.com";

// Runs first (tests run in declaration order): nothing before it has touched the network.
TEST(FetchUrlTest, RefusedAddressesSendNothingAndEmptyOpensNoSession) {
  const std::string longHost = "http://" + std::string(300, 'a') + ".test/x";
  const char* refused[] = {
      nullptr,           "",
      "#top",            "ftp://tieba.baidu.com/test/echo",
      "test/echo",       "/test/echo",
      "//tieba.baidu.com/test/echo",
      longHost.c_str(),  "file:///C:/windows/win.ini",
  };
  for (const char* address : refused) {
    EXPECT_TRUE(FetchUrl(address).empty()) << (address ? address : "(null)");
  }
  EXPECT_FALSE(FetchSessionIsOpen());
  // The first connection the server ever saw is this query's own.
  EXPECT_EQ(Connections(), 1);
  EXPECT_TRUE(FetchSessionIsOpen());
}

TEST(FetchUrlTest, RequestLineAndHeaders) {
  const std::string head = Fetch(kHost + "/test/echo");
  EXPECT_EQ(RequestLine(head), "GET /test/echo HTTP/1.0");
  EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
            std::string::npos) << head;
  EXPECT_NE(head.find("\r\nHost: tieba.baidu.com\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nAccept: */*\r\n"), std::string::npos) << head;
  // Exactly one Accept header, and nothing the fetch did not ask for.
  EXPECT_EQ(head.find("Accept", head.find("Accept:") + 1), std::string::npos) << head;
  for (const char* absent : {"Referer", "Accept-Language", "Accept-Encoding", "Content-Length"}) {
    EXPECT_EQ(head.find(absent), std::string::npos) << absent << " in\n" << head;
  }
  EXPECT_EQ(head.substr(head.size() - 4), "\r\n\r\n");
}

TEST(FetchUrlTest, RequestTargetTable) {
  struct Case {
    const char* name;
    std::string address;
    const char* requestLine;
  } cases[] = {
      {"fragment not sent", kHost + "/test/echo?un=abc#top", "GET /test/echo?un=abc HTTP/1.0"},
      {"GBK bytes keep their values", kHost + "/test/echo?un=\xB0\xD9\xB6\xC8",
       "GET /test/echo?un=%B0%D9%B6%C8 HTTP/1.0"},
      {"dot-dot segment resolved", kHost + "/test/a/../echo", "GET /test/echo HTTP/1.0"},
      {"existing escapes not escaped again", kHost + "/test/echo?q=%41%zz",
       "GET /test/echo?q=%41%zz HTTP/1.0"},
      {"CR LF from a page cannot add a header", kHost + "/test/echo?x=a\r\nX-Injected: 1",
       "GET /test/echo?x=a%0D%0AX-Injected:%201 HTTP/1.0"},
      {"space escaped", kHost + "/test/echo?x=a b", "GET /test/echo?x=a%20b HTTP/1.0"},
  };
  for (const auto& c : cases) {
    const std::string head = Fetch(c.address);
    EXPECT_EQ(RequestLine(head), c.requestLine) << c.name;
    EXPECT_EQ(head.find("X-Injected: 1\r\n"), std::string::npos) << c.name;
  }
}

TEST(FetchUrlTest, BodiesTable) {
  struct Case {
    const char* name;
    std::string address;
    std::string body;
  } cases[] = {
      {"GBK member page", kHost + "/home/main?un=\xB6\xC8", "gbk member page\n"},
      {"dot-dot to a file", kHost + "/a/../b", "bee\n"},
      {"404 body returned", kHost + "/test/status/404", "<html><body>status 404</body></html>"},
      {"500 body returned", kHost + "/test/status/500", "<html><body>status 500</body></html>"},
      {"no Content-Length", kHost + "/test/no-length?body=hello", "hello"},
      {"Content-Length 1", kHost + "/test/length-1", "Z"},
      {"bogus Content-Length", kHost + "/test/content-length?value=abc&body=bogus", "bogus"},
      {"negative Content-Length", kHost + "/test/content-length?value=-5&body=neg", "neg"},
      {"Content-Length too small", kHost + "/test/content-length?value=2&body=longer body",
       "longer body"},
      {"huge Content-Length", kHost + "/test/content-length?value=99999999999999999999&body=x",
       "x"},
      {"Content-Length text longer than its buffer",
       kHost + "/test/content-length?value=" + std::string(40, '0') + "3&body=abcdef", "abcdef"},
      {"body over many reads", kHost + "/test/big/300000", Pattern(300000)},
      {"unannounced body over many reads", kHost + "/test/big-no-length/300000", Pattern(300000)},
      {"broken mid-body returns the part", kHost + "/test/broken-after/5000", Pattern(5000)},
      {"explicit port", "http://tieba.baidu.com:8080/test/port", "8080"},
      {"default http port", kHost + "/test/port", "80"},
      {"default https port", "https://tieba.baidu.com/test/port", "443"},
      {"picture host", "http://pictures.tolvane.test/p/two.bin", "picture two\n"},
      {"host that does not resolve", "http://unknown.tolvane.invalid/x", ""},
      {"refused connection", "http://tieba.baidu.com:9/x", ""},
  };
  for (const auto& c : cases) {
    const std::string body = Fetch(c.address);
    EXPECT_EQ(body.size(), c.body.size()) << c.name;
    EXPECT_TRUE(body == c.body) << c.name << ": " << body.substr(0, 200);
  }
}

// Canonical addresses longer than the first 2084-byte buffer are canonicalized again into a
// buffer of the size asked for; parts beyond their room are refused.
TEST(FetchUrlTest, LongAddresses) {
  const std::string credentials = std::string(120, 'u') + ":" + std::string(120, 'p') + "@";
  const std::string query = std::string(1900, 'q');
  const std::string head =
      Fetch("http://" + credentials + "tieba.baidu.com/test/echo?" + query);
  EXPECT_EQ(RequestLine(head), "GET /test/echo?" + query + " HTTP/1.0");
  EXPECT_TRUE(Fetch(kHost + "/test/echo?" + std::string(2100, 'q')).empty());
  EXPECT_TRUE(Fetch("http://" + std::string(200, 'u') + "@tieba.baidu.com/test/echo").empty());
  EXPECT_TRUE(Fetch(kHost + "/test/echo?" + std::string(1 << 20, 'q')).empty());
}

// Every byte value in a query reaches the server: as it is when a request line can carry it,
// otherwise as %XX of the same value. ("#" starts the fragment; "\" is the canonicalizer's,
// which may turn it into "/".)
TEST(FetchUrlTest, EveryByteValueInAQuery) {
  std::string query, expected;
  for (int byte = 1; byte < 256; ++byte) {
    if (byte == '#' || byte == '\\') continue;
    query += static_cast<char>(byte);
    if (byte <= 0x20 || byte >= 0x7F) {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      expected += escaped;
    } else {
      expected += static_cast<char>(byte);
    }
  }
  const std::string head = Fetch(kHost + "/test/echo?q=" + query);
  EXPECT_EQ(RequestLine(head), "GET /test/echo?q=" + expected + " HTTP/1.0");
}

TEST(FetchUrlTest, HttpsUsesTheSameRequestForm) {
  const std::string head = Fetch("https://tieba.baidu.com/test/echo?un=abc#frag");
  EXPECT_EQ(RequestLine(head), "GET /test/echo?un=abc HTTP/1.0");
  EXPECT_NE(head.find("\r\nAccept: */*\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"),
            std::string::npos) << head;
}

TEST(FetchUrlTest, RedirectFromHttpToHttpsIsFollowed) {
  const std::string head =
      Fetch(kHost + "/test/redirect?to=https://tieba.baidu.com/test/port");
  EXPECT_EQ(head, "443");
}

TEST(FetchUrlTest, CallsShareOneSessionAndEachMakesAConnection) {
  const void* session = FetchSessionHandle();
  ASSERT_NE(session, nullptr);
  const int before = Connections();
  EXPECT_FALSE(Fetch(kHost + "/test/echo").empty());
  EXPECT_FALSE(Fetch(kHost + "/b").empty());
  EXPECT_EQ(Connections(), before + 3);
  EXPECT_EQ(FetchSessionHandle(), session);
  // Refused addresses make no connection even with the session open.
  const int quiet = Connections();
  EXPECT_TRUE(Fetch("ftp://tieba.baidu.com/x").empty());
  EXPECT_TRUE(Fetch("//tieba.baidu.com/x").empty());
  EXPECT_EQ(Connections(), quiet + 1);
}

}  // namespace
}  // namespace tolvane::lookup
