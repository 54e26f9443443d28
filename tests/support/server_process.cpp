#include "support/server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace psalmora::testing {

ServerProcess::ServerProcess(std::string serverPath, std::string newsFile) : serverPath_(std::move(serverPath)) {
  int out[2];
  if (::pipe(out) != 0) return;
  const std::string db = (dir_ / "service.db").string();
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(out[1], 1);
    // Its request log would hold the test's output open after a crash and clutter it otherwise.
    ::dup2(::open("/dev/null", O_WRONLY), 2);
    ::close(out[0]);
    ::close(out[1]);
    std::vector<std::string> arguments = {serverPath_, "serve", "--port", "0", "--db", db};
    if (!newsFile.empty()) arguments.insert(arguments.end(), {"--news", newsFile});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  // The first line, or nothing within ten seconds.
  std::string line;
  pollfd ready{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && ::poll(&ready, 1, 10000) > 0) {
    char buffer[256];
    const ssize_t got = ::read(out[0], buffer, sizeof buffer);
    if (got <= 0) break;
    line.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(out[0]);
  const std::string prefix = "psalmora-server: listening on ";
  if (line.rfind(prefix, 0) == 0) address_ = line.substr(prefix.size(), line.find('\n') - prefix.size());
}

ServerProcess::~ServerProcess() {
  Stop();
}

void ServerProcess::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
}

bool ServerProcess::AddUser(const std::string& email, const std::string& password) const {
  const std::string command =
      "'" + serverPath_ + "' adduser '" + email + "' --db '" + (dir_ / "service.db").string() + "' >/dev/null 2>&1";
  FILE* pipe = ::popen(command.c_str(), "w");
  if (pipe == nullptr) return false;
  std::fputs((password + "\n").c_str(), pipe);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ServerProcess::AddPool(const std::string& name, const std::vector<std::string>& emails) const {
  std::string command = "'" + serverPath_ + "' addpool '" + name + "'";
  for (const std::string& email : emails) command += " '" + email + "'";
  command += " --db '" + (dir_ / "service.db").string() + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string out;
  char buffer[128];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  const int status = ::pclose(pipe);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace psalmora::testing
