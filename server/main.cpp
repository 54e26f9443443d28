// psalmora-server: the song-management service and data pool a church runs itself (serve), its accounts
// (adduser) and pools (addpool).
#include <iostream>
#include <string>
#include <vector>

#include "server/account_command.h"
#include "server/http_service.h"
#include "server/password_hash.h"
#include "server/server_options.h"

int main(int argc, char** argv) {
  using namespace psalmora::server;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string error;
  const std::optional<ServerOptions> options = ParseServerOptions(arguments, error);
  if (!options) {
    std::cerr << "psalmora-server: " << error << "\n" << ServerUsageText();
    return 2;
  }
  switch (options->command) {
    case ServerCommand::kHelp:
      std::cout << ServerUsageText();
      return 0;
    case ServerCommand::kVersion:
      std::cout << "psalmora-server " << PSALMORA_SERVER_VERSION << "\n";
      return 0;
    case ServerCommand::kServe:
    case ServerCommand::kAddUser:
      break;
    case ServerCommand::kAddPool:
      return RunAddPool(*options, std::cout, std::cerr);
  }
  if (!InitPasswordHashing()) {
    std::cerr << "psalmora-server: libsodium cannot start\n";
    return 1;
  }
  if (options->command == ServerCommand::kAddUser) return RunAddUser(*options, std::cin, std::cout, std::cerr);
  return RunServe(*options, std::cout, std::cerr);
}
