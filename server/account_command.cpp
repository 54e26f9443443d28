// Creating accounts from the command line.
#include "server/account_command.h"

#include <termios.h>
#include <unistd.h>

#include <functional>
#include <optional>

#include "server/password_hash.h"
#include "server/pool_actions.h"
#include "server/service_actions.h"
#include "server/sqlite_service_store.h"

namespace psalmora::server {

namespace {

constexpr std::size_t kMaxEmailBytes = 254;

bool IsUsableEmail(std::string_view email) {
  if (email.empty() || email.size() > kMaxEmailBytes) return false;
  const std::size_t at = email.find('@');
  if (at == 0 || at == std::string_view::npos || at + 1 == email.size()) return false;
  for (char c : email) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  return true;
}

std::optional<std::string> ReadLine(std::istream& in) {
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// One line typed on the terminal with the echo switched off.
std::optional<std::string> ReadHidden(std::istream& in, std::ostream& err, std::string_view prompt) {
  err << prompt << std::flush;
  termios saved{};
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::optional<std::string> line = ReadLine(in);
  if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  err << "\n";
  return line;
}

// Opens the database, lets make add something and prints the new id it returns, or its error (make
// returns "" then); the exit status of the command.
int PrintMadeId(const std::string& database, std::ostream& out, std::ostream& err,
                const std::function<std::string(ServiceStore&, std::string&)>& make) {
  try {
    SqliteServiceStore store(database);
    std::string error;
    const std::string id = make(store, error);
    if (id.empty()) {
      err << "psalmora-server: " << error << "\n";
      return 1;
    }
    out << id << "\n";
    return 0;
  } catch (const StoreError& failure) {
    err << "psalmora-server: " << failure.what() << "\n";
    return 1;
  }
}

}  // namespace

std::string CreateAccount(ServiceStore& store, std::string_view email, std::string_view password, std::string& error) {
  const std::string normalized = NormalizeEmail(email);
  if (!IsUsableEmail(normalized)) {
    error = "not a usable e-mail address";
    return {};
  }
  if (password.empty()) {
    error = "the password is empty";
    return {};
  }
  const std::optional<std::string> hash = HashPassword(password);
  if (!hash) {
    error = "cannot hash the password (out of memory)";
    return {};
  }
  const Account account{RandomToken(), normalized, *hash};
  if (!store.AddAccount(account)) {
    error = "an account with this e-mail address exists already";
    return {};
  }
  return account.userId;
}

int RunAddUser(const ServerOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  std::optional<std::string> password;
  if (isatty(STDIN_FILENO)) {
    password = ReadHidden(in, err, "Password: ");
    const std::optional<std::string> again = ReadHidden(in, err, "Password again: ");
    if (password && again != password) {
      err << "psalmora-server: the passwords differ\n";
      return 1;
    }
  } else {
    password = ReadLine(in);
  }
  if (!password) {
    err << "psalmora-server: no password given\n";
    return 1;
  }
  return PrintMadeId(options.database, out, err, [&](ServiceStore& store, std::string& error) {
    return CreateAccount(store, options.email, *password, error);
  });
}

std::string CreatePool(ServiceStore& store, std::string_view name, const std::vector<std::string>& emails,
                       std::string& error) {
  // The name is shown in the pool lists, whose separators it must not hold.
  const std::string cleanName = PageReplyText(name);
  if (cleanName.empty() || cleanName.size() > 200 || cleanName != name) {
    error = "the pool name must be 1 to 200 characters without | = % or line breaks";
    return {};
  }
  std::vector<std::string> userIds;
  for (const std::string& email : emails) {
    const std::optional<Account> account = store.FindAccountByEmail(NormalizeEmail(email));
    if (!account) {
      error = "no account with the e-mail address " + email;
      return {};
    }
    userIds.push_back(account->userId);
  }
  return store.AddPool(cleanName, userIds);
}

int RunAddPool(const ServerOptions& options, std::ostream& out, std::ostream& err) {
  return PrintMadeId(options.database, out, err, [&](ServiceStore& store, std::string& error) {
    return CreatePool(store, options.poolName, options.poolMembers, error);
  });
}

}  // namespace psalmora::server
