// The commands "adduser" (a new account with a password hash and a random user id) and "addpool".
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "server/server_options.h"
#include "server/service_store.h"

namespace psalmora::server {

// Creates the account; the new user id, or "" with a reason in error (address taken or not usable).
std::string CreateAccount(ServiceStore& store, std::string_view email, std::string_view password, std::string& error);

// adduser as the program runs it: the password from the terminal without echo (asked twice), or one
// line of standard input when that is not a terminal. Returns the exit code.
int RunAddUser(const ServerOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// Makes the data pool (or adds to it) with the accounts of these e-mail addresses; its id, or "" with
// a reason in error (no name, an address without an account).
std::string CreatePool(ServiceStore& store, std::string_view name, const std::vector<std::string>& emails,
                       std::string& error);

// addpool as the program runs it: prints the pool id. Returns the exit code.
int RunAddPool(const ServerOptions& options, std::ostream& out, std::ostream& err);

}  // namespace psalmora::server
