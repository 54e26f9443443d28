#include "online/web_access.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace psalmora {
namespace {

TEST(UrlEncodeTextTest, EncodesTheTableAndEveryOtherByteAQueryCannotCarry) {
  const struct {
    std::string_view text, encoded;
  } cases[] = {
      {"\xDF", "%C3%9F"},                // ß
      {"A&O", "A%26O"},                  //
      {"Wer?", "Wer%3F"},                //
      {"100% Liebe", "100%25%20Liebe"},  // the blank and "%" too, which the table left
      {"\xFC\xF6\xE4\xDC\xD6\xC4", "%C3%BC%C3%B6%C3%A4%C3%9C%C3%96%C3%84"},
      {"#=:[]@$*+`", "%23%3D%3A%5B%5D%40%24%2A%2B%60"},
      {"Gottes Sohn's", "Gottes%20Sohn\\'s"},  // the apostrophe as the service expects it
      {"\xB4\x92\xA9\xE7", "%C2%B4%E2%80%99%C2%A9%C3%A7"},
      {"a-b.c_d~e", "a-b.c_d~e"},
      {"Tab\tEnde\r\n", "Tab%09Ende%0D%0A"},
      {"%26", "%2526"},      // one pass: an encoded text is not encoded again
      {"&#322;", "%C5%82"},  // a character kept as a reference goes out as that character
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncodeText(c.text), c.encoded) << c.text;
}

TEST(ReadPageReplyTest, ReadsTheLastPairOfTheKeyInTheFirstLine) {
  const struct {
    std::string_view key, page, value;
  } cases[] = {
      {"pools", "<!--pools=3-->\n<html></html>", "3"},
      {"pools", "<html><body>pools=3</body></html>", ""},  // "pools=3" but not as the key: "<html>…pools"
      {"pools", "<!--pools=3|pools=5-->", "5"},
      {"pools", "<!--name=x|pools=7|ende=1-->\n<!--pools=9-->", "7"},  // only the first line
      {"pools", "<!--pools-->", ""},
      {"pools", "", ""},
      {"a", "<!--a=1=2|b=3-->", "1"},  // a value ends at the next "="
  };
  for (const auto& c : cases) EXPECT_EQ(ReadPageReply(c.key, c.page), c.value) << c.page;
}

// A one-shot HTTP server on loopback that answers the first request with a fixed response.
class OneReplyServer {
 public:
  explicit OneReplyServer(std::string response) {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(socket_, 1);
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this, response = std::move(response)] {
      const int client = ::accept(socket_, nullptr, nullptr);
      if (client < 0) return;
      char buffer[4096];
      std::string request;
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
      }
      request_ = request;
      ::send(client, response.data(), response.size(), MSG_NOSIGNAL);
      ::close(client);
    });
  }
  ~OneReplyServer() {
    ::shutdown(socket_, SHUT_RDWR);
    thread_.join();
    ::close(socket_);
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/x"; }
  const std::string& Request() const { return request_; }

 private:
  int socket_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::string request_;
};

std::string Response(std::string_view status, std::string_view body) {
  return "HTTP/1.1 " + std::string(status) + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + std::string(body);
}

TEST(HttpGetTextTest, ReturnsTheBodyAndSendsTheAgentWithoutCache) {
  std::string request;
  {
    OneReplyServer server(Response("200 OK", "ok|psalmora-server"));
    EXPECT_EQ(HttpGetText(server.Url()), "ok|psalmora-server");
    request = server.Request();
  }
  EXPECT_NE(request.find("User-Agent: Psalmora/3.12"), std::string::npos) << request;
  EXPECT_NE(request.find("Cache-Control: no-cache"), std::string::npos) << request;
}

TEST(HttpGetTextTest, ALongQueryGoesAsThePostBody) {
  std::string request;
  {
    OneReplyServer server(Response("200 OK", "ok|g1"));
    EXPECT_EQ(HttpGetText(server.Url() + "?aktion=neuersong&liedtext=" + std::string(9000, 'a')), "ok|g1");
    request = server.Request();
  }
  EXPECT_EQ(request.rfind("POST /x HTTP/1.1\r\n", 0), 0u) << request.substr(0, 100);
  EXPECT_NE(request.find("Content-Length: 9026"), std::string::npos);
}

TEST(HttpGetTextTest, GivesAnEmptyTextOnAnyFailure) {
  {
    OneReplyServer server(Response("404 Not Found", "nicht da"));
    EXPECT_EQ(HttpGetText(server.Url()), "");
  }
  {
    OneReplyServer server(Response("200 OK", std::string(2000, 'x')));
    HttpOptions small;
    small.maxBodyBytes = 1000;
    EXPECT_EQ(HttpGetText(server.Url(), small), "");
  }
  {
    OneReplyServer server("kein HTTP");
    EXPECT_EQ(HttpGetText(server.Url()), "");
  }
  // Nothing listens on port 1 of loopback.
  EXPECT_EQ(HttpGetText("http://127.0.0.1:1/app/app-aktion.php?aktion=ping"), "");
  EXPECT_EQ(HttpGetText("file:///etc/passwd"), "");
}

TEST(HttpGetTextTest, CurlHttpGetKeepsWorkingAcrossRequests) {
  const HttpGet get = CurlHttpGet();
  for (int i = 0; i < 2; ++i) {
    OneReplyServer server(Response("200 OK", "ok"));
    EXPECT_EQ(get(server.Url(), HttpOptions{}), "ok");
  }
}

}  // namespace
}  // namespace psalmora
