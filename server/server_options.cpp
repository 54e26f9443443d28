// Reading the command line of psalmora-server.
#include "server/server_options.h"

#include <charconv>

namespace psalmora::server {

namespace {

std::optional<int> ParseInt(const std::string& text, int lowest, int highest) {
  int value = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (problem != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string ServerUsageText() {
  return "Usage:\n"
         "  psalmora-server serve --db FILE [--port N] [--bind ADDR] [--tls-cert FILE --tls-key FILE]\n"
         "                        [--threads N] [--quiet]\n"
         "                        [--news FILE]\n"
         "  psalmora-server adduser EMAIL --db FILE\n"
         "  psalmora-server addpool NAME EMAIL... --db FILE\n"
         "  psalmora-server --help | --version\n"
         "\n"
         "The song-management service of Psalmora: the program's synchronisation with an account on\n"
         "\"/app/app-aktion.php\", the data pool on \"/online/online.cgi\" (members of a pool see the song\n"
         "the others show) and the news page \"/pm-news.php\". Accounts, their songs and selections and\n"
         "the pools live in one SQLite file.\n"
         "\n"
         "Commands:\n"
         "  serve            answer requests until SIGTERM or SIGINT. Prints\n"
         "                   \"psalmora-server: listening on http://ADDR:PORT\" when ready.\n"
         "  adduser EMAIL    create an account; reads the password from the terminal (without echo)\n"
         "                   or one line of standard input, and prints the new user id.\n"
         "  addpool NAME EMAIL...\n"
         "                   create the data pool NAME (or add to it) with the accounts of these\n"
         "                   addresses as members, and print its id; the members enter it as the\n"
         "                   pool id of a group.\n"
         "\n"
         "Options:\n"
         "  --db FILE        the database file (created when missing)\n"
         "  --port N         TCP port, default 8750; 0 picks a free port\n"
         "  --bind ADDR      address to listen on, default 127.0.0.1 (0.0.0.0 for every interface)\n"
         "  --tls-cert FILE  PEM certificate chain; with --tls-key the server speaks HTTPS\n"
         "  --tls-key FILE   PEM private key\n"
         "  --threads N      requests handled at once, default 32\n"
         "  --quiet          no access log on standard error\n"
         "  --news FILE      the page shown as \"/pm-news.php\" (read anew for every request)\n"
         "  --help           this text\n"
         "  --version        the program version\n";
}

std::optional<ServerOptions> ParseServerOptions(const std::vector<std::string>& arguments, std::string& error) {
  ServerOptions options;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "-h" || argument == "help") return options;
    if (argument == "--version") {
      options.command = ServerCommand::kVersion;
      return options;
    }
  }
  if (arguments.empty()) {
    error = "no command given";
    return std::nullopt;
  }
  if (arguments[0] == "serve") {
    options.command = ServerCommand::kServe;
  } else if (arguments[0] == "adduser") {
    options.command = ServerCommand::kAddUser;
  } else if (arguments[0] == "addpool") {
    options.command = ServerCommand::kAddPool;
  } else {
    error = "unknown command " + arguments[0];
    return std::nullopt;
  }
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--quiet" && options.command == ServerCommand::kServe) {
      options.quiet = true;
      continue;
    }
    if (argument.rfind("--", 0) != 0) {
      if (options.command == ServerCommand::kAddUser && options.email.empty()) {
        options.email = argument;
        continue;
      }
      if (options.command == ServerCommand::kAddPool) {
        if (options.poolName.empty()) {
          options.poolName = argument;
        } else {
          options.poolMembers.push_back(argument);
        }
        continue;
      }
      error = "unexpected argument " + argument;
      return std::nullopt;
    }
    if (i + 1 >= arguments.size()) {
      error = "option " + argument + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    const bool serving = options.command == ServerCommand::kServe;
    if (argument == "--db") {
      options.database = value;
    } else if (serving && argument == "--port") {
      const auto port = ParseInt(value, 0, 65535);
      if (!port) {
        error = "--port needs a number from 0 to 65535";
        return std::nullopt;
      }
      options.port = *port;
    } else if (serving && argument == "--threads") {
      const auto threads = ParseInt(value, 1, 1024);
      if (!threads) {
        error = "--threads needs a number from 1 to 1024";
        return std::nullopt;
      }
      options.threads = *threads;
    } else if (serving && argument == "--bind") {
      options.bindAddress = value;
    } else if (serving && argument == "--tls-cert") {
      options.tlsCert = value;
    } else if (serving && argument == "--tls-key") {
      options.tlsKey = value;
    } else if (serving && argument == "--news") {
      options.newsFile = value;
    } else {
      error = "unknown option " + argument;
      return std::nullopt;
    }
  }
  if (options.database.empty()) {
    error = "--db FILE is required";
    return std::nullopt;
  }
  if (options.command == ServerCommand::kAddUser && options.email.empty()) {
    error = "adduser needs an e-mail address";
    return std::nullopt;
  }
  if (options.command == ServerCommand::kAddPool && (options.poolName.empty() || options.poolMembers.empty())) {
    error = "addpool needs a pool name and at least one e-mail address";
    return std::nullopt;
  }
  if (options.tlsCert.empty() != options.tlsKey.empty()) {
    error = "--tls-cert and --tls-key go together";
    return std::nullopt;
  }
  return options;
}

}  // namespace psalmora::server
