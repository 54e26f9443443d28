// A psalmora-server of its own for a test: a fresh database in a temporary folder, served on a free
// loopback port until the object goes.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace psalmora::testing {

class ServerProcess {
 public:
  // Starts "psalmora-server serve --port 0 --db FILE" (with "--news FILE" when newsFile is given) and
  // waits for its "listening on" line.
  explicit ServerProcess(std::string serverPath, std::string newsFile = {});
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  bool Running() const { return !address_.empty(); }
  // "http://127.0.0.1:PORT"
  const std::string& Address() const { return address_; }
  // "psalmora-server adduser EMAIL --db FILE" with the password on stdin; true on success.
  bool AddUser(const std::string& email, const std::string& password) const;
  // "psalmora-server addpool NAME EMAIL... --db FILE"; the pool id, or "" on failure.
  std::string AddPool(const std::string& name, const std::vector<std::string>& emails) const;
  // Stops the server (SIGTERM, then waits).
  void Stop();

 private:
  std::string serverPath_;
  TempDir dir_;
  pid_t pid_ = -1;
  std::string address_;
};

}  // namespace psalmora::testing
