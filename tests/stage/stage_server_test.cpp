#include "stage/stage_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <mutex>
#include <random>
#include <vector>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using namespace std::chrono_literals;

// One request written byte for byte, so the path reaches the server exactly as a hostile client sends it.
std::string RawRequest(int port, const std::string& request) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    // Nothing more comes: a server waiting for the rest of a malformed request sees the end at once.
    ::shutdown(fd, SHUT_WR);
    char buffer[4096];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return answer;
}

std::string RawGet(int port, const std::string& path) {
  return RawRequest(port, "GET " + path + " HTTP/1.1\r\nHost: stage\r\nConnection: close\r\n\r\n");
}

struct Stage {
  std::mutex mutex;
  std::vector<RemoteAction> actions;
  StageServer server{[this] {
    StageServerOptions options;
    options.host = "127.0.0.1";
    options.pin = "2468";
    options.onAction = [this](const RemoteAction& action) {
      std::lock_guard lock(mutex);
      actions.push_back(action);
    };
    return options;
  }()};
  Stage() {
    const std::optional<std::string> error = server.Start(0);
    EXPECT_FALSE(error.has_value()) << *error;
  }
  httplib::Client Client() {
    httplib::Client client("127.0.0.1", server.Port());
    client.set_read_timeout(5, 0);
    return client;
  }
  std::string Login(const std::string& pin, int* status = nullptr) {
    httplib::Client client = Client();
    const httplib::Result result = client.Post("/remote/login", "pin=" + pin, "application/x-www-form-urlencoded");
    if (status) *status = result ? result->status : -1;
    if (!result) return {};
    const std::string cookie = result->get_header_value("Set-Cookie");
    return cookie.substr(0, cookie.find(';'));
  }
};

StageState SelectionOfTwo() {
  StageState state;
  state.selection = {{"1", "Eins"}, {"2", "Zwei"}};
  return state;
}

TEST(StageServerTest, ServesTheTwoPages) {
  Stage stage;
  httplib::Client client = stage.Client();
  for (const char* path : {"/", "/stage", "/remote"}) {
    const httplib::Result result = client.Get(path);
    ASSERT_TRUE(result) << path;
    EXPECT_EQ(result->status, 200) << path;
    EXPECT_NE(result->body.find("<!DOCTYPE html>"), std::string::npos);
    EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(result->get_header_value("Content-Security-Policy").find("default-src 'none'"), std::string::npos);
  }
}

TEST(StageServerTest, PathTricksReachNoFile) {
  psalmora::testing::TempDir folder;
  psalmora::testing::WriteFileBytes(folder / "lieder.dat", "GEHEIM-lieder");
  std::filesystem::create_directories(folder / "config");
  psalmora::testing::WriteFileBytes(folder / "config/einstellungen.ini", "GEHEIM-einstellungen");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder.path() / "config");
  Stage stage;
  const std::string paths[] = {"/lieder.dat", "/../lieder.dat", "/stage/../../lieder.dat", "/%2e%2e/lieder.dat",
                         "/stage%2f..%2f..%2flieder.dat", "/einstellungen.ini", "/./einstellungen.ini",
                         "//etc/passwd", "/../../../../etc/passwd", "/stage/..%5c..%5clieder.dat",
                         "/stage?file=../lieder.dat", "/remote/../../config/einstellungen.ini", "/%00/etc/passwd",
                         "/stage/events/../../../etc/passwd", "file:///etc/passwd", "/" + std::string(3000, '.') + "/x"};
  for (const std::string& path : paths) {
    const std::string answer = RawGet(stage.server.Port(), path);
    EXPECT_EQ(answer.find("GEHEIM"), std::string::npos) << path;
    EXPECT_EQ(answer.find("root:"), std::string::npos) << path;
    const bool page = answer.rfind("HTTP/1.1 200", 0) == 0;
    // Only "/stage?..." is a page of ours; it is the stage page, never a file.
    if (page) {
      EXPECT_NE(answer.find("psalmoraStage"), std::string::npos) << path;
    } else {
      EXPECT_TRUE(answer.rfind("HTTP/1.1 4", 0) == 0 || answer.empty()) << path << "\n" << answer.substr(0, 40);
    }
  }
  std::filesystem::current_path(before);
}

TEST(StageServerTest, RemoteNeedsTheRightPin) {
  Stage stage;
  stage.server.Publish(SelectionOfTwo());
  httplib::Client client = stage.Client();
  EXPECT_EQ(client.Get("/remote/state")->status, 401);
  EXPECT_EQ(client.Post("/remote/action", "a=next", "application/x-www-form-urlencoded")->status, 401);
  int status = 0;
  EXPECT_EQ(stage.Login("1111", &status), "");
  EXPECT_EQ(status, 403);
  const httplib::Result wrong = client.Post("/remote/login", "pin=1111", "application/x-www-form-urlencoded");
  // Refused while the first wrong PIN's second passes, with the time left, for the page to show.
  EXPECT_EQ(wrong->body.rfind("{\"ok\":false,\"wait\":", 0), 0u) << wrong->body;
  EXPECT_EQ(wrong->get_header_value("Retry-After"), "1");
  // Still waiting after the wrong PIN: even the right one is refused, with the time left.
  EXPECT_EQ(stage.Login("2468", &status), "");
  EXPECT_EQ(status, 403);
  EXPECT_TRUE(stage.actions.empty());
}

TEST(StageServerTest, ASessionSendsActions) {
  Stage stage;
  stage.server.Publish(SelectionOfTwo());
  const std::string cookie = stage.Login("2468");
  ASSERT_EQ(cookie.rfind("psalmora_session=", 0), 0u) << cookie;
  httplib::Client client = stage.Client();
  const httplib::Headers headers = {{"Cookie", cookie}};
  const auto post = [&](const std::string& body) {
    return client.Post("/remote/action", headers, body, "application/x-www-form-urlencoded")->status;
  };
  EXPECT_EQ(post("a=send&row=1"), 200);
  EXPECT_EQ(post("a=black&on=1"), 200);
  EXPECT_EQ(post("a=free&head=Ansage&text=Kaffee%20danach"), 200);
  EXPECT_EQ(post("a=send&row=2"), 400);  // the selection has two songs
  EXPECT_EQ(post("a=send&row=-1"), 400);
  EXPECT_EQ(post("a=format&disk=c"), 400);
  ASSERT_EQ(stage.actions.size(), 3u);
  EXPECT_EQ(stage.actions[0].command, RemoteCommand::kSendSong);
  EXPECT_EQ(stage.actions[0].row, 1);
  EXPECT_EQ(stage.actions[1].command, RemoteCommand::kBlack);
  EXPECT_TRUE(stage.actions[1].on);
  EXPECT_EQ(stage.actions[2].text, "Kaffee danach");
  EXPECT_EQ(stage.actions[2].header, "Ansage");
  EXPECT_EQ(client.Get("/remote/state", headers)->status, 200);
  EXPECT_EQ(client.Post("/remote/logout", headers, "", "application/x-www-form-urlencoded")->status, 200);
  EXPECT_EQ(client.Get("/remote/state", headers)->status, 401);
}

TEST(StageServerTest, TheStreamFollowsEveryPublish) {
  Stage stage;
  std::promise<std::vector<std::string>> done;
  std::thread reader([&] {
    httplib::Client client = stage.Client();
    std::vector<std::string> events;
    std::string buffer;
    client.Get("/stage/events?t=2&c=0", [&](const char* data, std::size_t length) {
      buffer.append(data, length);
      for (std::size_t end; (end = buffer.find("\n\n")) != std::string::npos; buffer.erase(0, end + 2)) {
        const std::size_t at = buffer.find("data: ");
        if (at < end) events.push_back(buffer.substr(at + 6, end - at - 6));
      }
      return events.size() < 2;
    });
    done.set_value(events);
  });
  // The first event is the state at connection time; then the published one.
  while (stage.server.StreamCount() == 0) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  StageState state;
  state.song = std::make_shared<StageSong>(BuildStageSong("5\t\tNeu\tC", {">C", "Text"}));
  stage.server.Publish(state);
  std::future<std::vector<std::string>> events = done.get_future();
  ASSERT_EQ(events.wait_for(5s), std::future_status::ready);
  reader.join();
  const std::vector<std::string> got = events.get();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_NE(got[0].find("\"song\":null"), std::string::npos);
  EXPECT_NE(got[1].find("\"title\":\"Neu\""), std::string::npos);
  EXPECT_NE(got[1].find("[[\"D\",\"Text\"]]"), std::string::npos) << got[1];  // this phone's +2
}

TEST(StageServerTest, StreamsBeyondTheCapAreToldToComeBack) {
  StageServerOptions options;
  options.host = "127.0.0.1";
  options.maxStreams = 0;
  StageServer server(options);
  ASSERT_FALSE(server.Start(0).has_value());
  httplib::Client client("127.0.0.1", server.Port());
  EXPECT_EQ(client.Get("/stage/events")->status, 503);
}

TEST(StageServerTest, ATakenPortIsReported) {
  Stage stage;
  StageServerOptions options;
  options.host = "127.0.0.1";
  StageServer second(options);
  const std::optional<std::string> error = second.Start(stage.server.Port());
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find(std::to_string(stage.server.Port())), std::string::npos);
}

// Seeded random requests: every answer comes, the server never serves anything but its pages and JSON,
// and it keeps answering afterwards.
TEST(StageServerFuzzTest, RandomRequestsGetPlainAnswers) {
  Stage stage;
  stage.server.Publish(SelectionOfTwo());
  std::mt19937 random(19);
  const std::string pieces[] = {"/", "stage", "remote", "events", "state", "..", "%2e", "%00", "?", "&", "=",
                                "a=send", "row=", "pin=", "\xff", "login", "action", "%"};
  for (int round = 0; round < 150; ++round) {
    std::string path = "/";
    const int count = static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i) path += pieces[random() % std::size(pieces)];
    if (path.find("events") != std::string::npos) continue;  // a stream stays open until closed
    const std::string method = random() % 2 ? "GET" : "POST";
    const std::string body = pieces[random() % std::size(pieces)] + pieces[random() % std::size(pieces)];
    const auto started = std::chrono::steady_clock::now();
    const std::string answer =
        RawRequest(stage.server.Port(), method + " " + path + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                                            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                                            std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_TRUE(answer.empty() || answer.rfind("HTTP/1.1 ", 0) == 0) << path;
    if (std::chrono::steady_clock::now() - started > 1s) ADD_FAILURE() << "slow: " << method << " " << path << " " << body;
  }
  EXPECT_TRUE(stage.actions.empty());
  EXPECT_EQ(stage.Client().Get("/stage")->status, 200);
}

}  // namespace
}  // namespace psalmora
