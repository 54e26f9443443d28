// The HTTP side of the service: cpp-httplib answers "/app/app-aktion.php" with the reply of
// ServiceActions for the raw query, the data pool's paths with PoolActions, and "/pm-news.php" with the
// news file an administrator edits (GET; a POST's body is taken the same way, for queries too long for
// the library's 8 KiB request line; as text/plain, since the library caps form bodies at 8 KiB too). The access log
// names the action only, never a value.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "server/server_options.h"
#include "server/pool_actions.h"
#include "server/service_actions.h"

namespace httplib {
class Server;
}

namespace psalmora::server {

inline constexpr const char* kServicePath = "/app/app-aktion.php";
inline constexpr const char* kNewsPath = "/pm-news.php";

class HttpService {
 public:
  // log receives the access log and errors; none when quiet. Without pool the data pool's paths are
  // unknown addresses.
  HttpService(const ServerOptions& options, ServiceActions& actions, std::ostream& log, PoolActions* pool = nullptr);
  ~HttpService();
  HttpService(const HttpService&) = delete;
  HttpService& operator=(const HttpService&) = delete;

  // Binds the address; false with a reason in error when it cannot (or the TLS files do not load).
  bool Bind(std::string& error);
  // "http://ADDR:PORT" (https with TLS) after Bind.
  std::string Address() const;
  int port() const { return port_; }
  // Answers requests until Stop; returns false when the server failed.
  bool Run();
  // From any thread, also before Run has started: Run then returns at once.
  void Stop();

 private:
  const ServerOptions options_;
  ServiceActions& actions_;
  std::ostream& log_;
  PoolActions* pool_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = -1;
  std::atomic<bool> stopping_{false};
};

// serve as the program runs it: opens the store, binds, prints the listening line to out, answers until
// SIGTERM or SIGINT. Returns the exit code.
int RunServe(const ServerOptions& options, std::ostream& out, std::ostream& err);

}  // namespace psalmora::server
