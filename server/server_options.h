// The command line of psalmora-server: which command, with which options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace psalmora::server {

inline constexpr int kDefaultPort = 8750;

enum class ServerCommand { kHelp, kVersion, kServe, kAddUser, kAddPool };

struct ServerOptions {
  ServerCommand command = ServerCommand::kHelp;
  std::string database;
  std::string email;  // adduser
  // addpool: the pool's name, then the members' e-mail addresses
  std::string poolName;
  std::vector<std::string> poolMembers;
  std::string newsFile;  // serve: the page of "/pm-news.php"
  std::string bindAddress = "127.0.0.1";
  int port = kDefaultPort;  // 0 picks a free port
  std::string tlsCert;
  std::string tlsKey;
  int threads = 32;
  bool quiet = false;  // no access log
};

// nullopt with a reason in error when the arguments (without the program name) do not fit.
std::optional<ServerOptions> ParseServerOptions(const std::vector<std::string>& arguments, std::string& error);

std::string ServerUsageText();

}  // namespace psalmora::server
