// The real psalmora-server program: adduser reads the password from standard input, serve on port 0
// prints its listening line, answers over HTTP (GET, and POST for long queries), logs no query value,
// and ends cleanly on SIGTERM.
#include <fcntl.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "support/temp_dir.h"

namespace {

// Runs the program with the arguments, stdin from a text; its stdout and exit status.
std::pair<std::string, int> RunWithInput(const std::string& arguments, const std::string& input,
                                         const psalmora::testing::TempDir& dir) {
  const std::filesystem::path inputFile = dir / "input.txt";
  psalmora::testing::WriteFileBytes(inputFile, input);
  const std::string command = std::string(PSALMORA_SERVER_PATH) + " " + arguments + " < " + inputFile.string();
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  char buffer[256];
  while (pipe && fgets(buffer, sizeof buffer, pipe)) out += buffer;
  const int status = pipe ? pclose(pipe) : -1;
  return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// A started "serve" whose standard output is read through a pipe.
struct ServerProcess {
  pid_t pid = -1;
  FILE* out = nullptr;
};

ServerProcess StartServe(const std::string& database, const std::string& logFile) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(log, STDERR_FILENO);
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execl(PSALMORA_SERVER_PATH, PSALMORA_SERVER_PATH, "serve", "--port", "0", "--db", database.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  return {pid, fdopen(fds[0], "r")};
}

TEST(ServerProcess, AddsAUserServesRequestsAndStopsOnSigterm) {
  psalmora::testing::TempDir dir;
  const std::string database = (dir / "service.db").string();
  const auto [userLine, addStatus] = RunWithInput("adduser anna@example.org --db " + database, "geheim\n", dir);
  ASSERT_EQ(addStatus, 0);
  const std::string user = userLine.substr(0, userLine.find('\n'));
  ASSERT_TRUE(std::regex_match(user, std::regex("[0-9a-f]{32}"))) << userLine;
  EXPECT_EQ(RunWithInput("adduser ANNA@example.org --db " + database, "anders\n", dir).second, 1);

  ServerProcess server = StartServe(database, (dir / "access.log").string());
  ASSERT_GT(server.pid, 0);
  char line[256] = {};
  ASSERT_NE(fgets(line, sizeof line, server.out), nullptr);
  std::smatch match;
  const std::string listening(line);
  ASSERT_TRUE(
      std::regex_match(listening, match, std::regex("psalmora-server: listening on http://127\\.0\\.0\\.1:(\\d+)\n")))
      << listening;

  httplib::Client client("127.0.0.1", std::stoi(match[1]));
  const auto ping = client.Get("/app/app-aktion.php?aktion=ping");
  ASSERT_TRUE(ping);
  EXPECT_EQ(ping->status, 200);
  EXPECT_EQ(ping->body, "ok|psalmora-server");
  EXPECT_EQ(ping->get_header_value("Content-Type"), "text/plain; charset=utf-8");
  const auto login = client.Get("/app/app-aktion.php?email=anna%40example.org&password=geheim&aktion=login");
  ASSERT_TRUE(login);
  EXPECT_EQ(login->body, user + "[spalte]anna@example.org");

  // A request line over the library's limit (8 KiB) gets the error text; the same query as a POST body
  // has no such limit (as text/plain: the library caps form bodies at 8 KiB too).
  const std::string longQuery = "aktion=ping&fill=" + std::string(9000, 'x');
  const auto tooLong = client.Get("/app/app-aktion.php?" + longQuery);
  ASSERT_TRUE(tooLong);
  EXPECT_EQ(tooLong->status, 414);
  EXPECT_EQ(tooLong->body, "error|Anfrage zu lang");
  const auto posted = client.Post("/app/app-aktion.php", longQuery, "text/plain");
  ASSERT_TRUE(posted);
  EXPECT_EQ(posted->body, "ok|psalmora-server");

  ASSERT_EQ(kill(server.pid, SIGTERM), 0);
  int status = 0;
  ASSERT_EQ(waitpid(server.pid, &status, 0), server.pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  fclose(server.out);
  // The access log names the actions but never a value of a query.
  const std::string log = psalmora::testing::ReadFileBytes(dir / "access.log");
  EXPECT_NE(log.find("aktion=login 200"), std::string::npos) << log;
  EXPECT_EQ(log.find("geheim"), std::string::npos) << log;
  EXPECT_EQ(log.find("anna"), std::string::npos) << log;
}

}  // namespace
