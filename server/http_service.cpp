// cpp-httplib wiring of the song-management service, and the serve command with its signal handling.
#include "server/http_service.h"

#include <httplib.h>
#include <signal.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <mutex>
#include <thread>

#include "server/sqlite_service_store.h"

namespace psalmora::server {

namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";
// A POST body larger than this is refused before it is read (a request line is capped by the library).
constexpr std::size_t kMaxBodyBytes = std::size_t{4} * 1024 * 1024;
constexpr time_t kReadTimeoutSeconds = 20;
constexpr time_t kKeepAliveSeconds = 5;
// A connection gives up its thread now and then, so more clients than threads all get their turn.
constexpr std::size_t kKeepAliveRequests = 100;

std::string QueryOf(const httplib::Request& request) {
  const std::size_t question = request.target.find('?');
  std::string query = question == std::string::npos ? std::string() : request.target.substr(question + 1);
  if (request.method == "POST" && !request.body.empty()) {
    if (!query.empty()) query += '&';
    query += request.body;
  }
  return query;
}

std::string ErrorForStatus(int status) {
  switch (status) {
    case 404:
      return "error|Unbekannte Adresse";
    case 405:
      return "error|Unbekannte Anfrageart";
    case 413:
    case 414:
    case 431:
      return "error|Anfrage zu lang";
    default:
      return "error|Ungültige Anfrage";
  }
}

constexpr const char* kPageType = "text/html; charset=utf-8";
// The news file is read anew for every request, so an edit shows at once; a larger file is cut.
constexpr std::size_t kMaxNewsBytes = std::size_t{1} * 1024 * 1024;

std::string NewsPage(const std::string& file) {
  if (!file.empty()) {
    std::ifstream in(file, std::ios::binary);
    if (in) {
      std::string page(kMaxNewsBytes, '\0');
      in.read(page.data(), static_cast<std::streamsize>(page.size()));
      page.resize(static_cast<std::size_t>(in.gcount()));
      return page;
    }
  }
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Psalmora aktuell</title></head>"
         "<body><h1>Psalmora aktuell</h1><p>Keine Neuigkeiten.</p></body></html>\n";
}

std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace

HttpService::HttpService(const ServerOptions& options, ServiceActions& actions, std::ostream& log, PoolActions* pool)
    : options_(options), actions_(actions), log_(log), pool_(pool) {}

HttpService::~HttpService() = default;

bool HttpService::Bind(std::string& error) {
  if (!options_.tlsCert.empty()) {
    auto secure = std::make_unique<httplib::SSLServer>(options_.tlsCert.c_str(), options_.tlsKey.c_str());
    if (!secure->is_valid()) {
      error = "cannot load the TLS certificate " + options_.tlsCert + " or key " + options_.tlsKey;
      return false;
    }
    server_ = std::move(secure);
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  httplib::Server& server = *server_;
  const std::size_t threads = static_cast<std::size_t>(options_.threads);
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_payload_max_length(kMaxBodyBytes);
  server.set_read_timeout(kReadTimeoutSeconds, 0);
  server.set_write_timeout(kReadTimeoutSeconds, 0);
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_keep_alive_max_count(kKeepAliveRequests);
  // A reply goes out in two writes (head, body); with Nagle's algorithm the second waits for the
  // client's delayed acknowledgement, some 40 ms per request on a kept-alive connection.
  server.set_tcp_nodelay(true);

  const auto answer = [this](const httplib::Request& request, httplib::Response& response) {
    response.set_content(actions_.Handle(QueryOf(request)), kTextType);
  };
  server.Get(kServicePath, answer);
  server.Post(kServicePath, answer);
  if (pool_) {
    server.Get(kPoolPath, [this](const httplib::Request& request, httplib::Response& response) {
      response.set_content(pool_->Handle(QueryOf(request)), kPageType);
    });
    server.Get(std::string(kActivityPathPrefix) + R"(([0-9a-f]{32})\.dat)",
               [this](const httplib::Request& request, httplib::Response& response) {
                 const std::optional<std::string> file = pool_->ActivityFile(request.matches[1].str(), QueryOf(request));
                 if (!file) {
                   response.status = 404;
                   return;
                 }
                 response.set_header("Cache-Control", "no-store");
                 response.set_content(*file, kTextType);
               });
  }
  server.Get(kNewsPath, [this](const httplib::Request&, httplib::Response& response) {
    response.set_header("Cache-Control", "no-store");
    response.set_content(NewsPage(options_.newsFile), kPageType);
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    response.set_content(ErrorForStatus(response.status), kTextType);
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
    response.status = 500;
    response.set_content("error|Interner Fehler des Servers", kTextType);
  });
  if (!options_.quiet) {
    server.set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      // Only the action: the query holds passwords and song texts.
      static std::mutex logMutex;
      const bool known = request.path == kServicePath || request.path == kPoolPath;
      const std::string action = known ? ActionOfQuery(QueryOf(request)) : std::string("-");
      std::lock_guard lock(logMutex);
      // A request refused before it was read (a request line over 8 KiB) has no path, method or peer.
      const bool named = known || request.path == kNewsPath || request.path.rfind(kActivityPathPrefix, 0) == 0;
      const std::string path = named                        ? request.path
                               : request.path.empty()       ? std::string("(unread request)")
                                                            : std::string("(other path)");
      log_ << Timestamp() << ' ' << (request.remote_addr.empty() ? "-" : request.remote_addr) << ' '
           << (request.method.empty() ? "-" : request.method) << ' ' << path << " aktion=" << action << ' '
           << response.status << ' ' << response.body.size() << '\n'
           << std::flush;
    });
  }

  if (options_.port == 0) {
    port_ = server.bind_to_any_port(options_.bindAddress);
  } else {
    port_ = server.bind_to_port(options_.bindAddress, options_.port) ? options_.port : -1;
  }
  if (port_ < 0) {
    error = "cannot listen on " + options_.bindAddress + " port " + std::to_string(options_.port);
    return false;
  }
  return true;
}

std::string HttpService::Address() const {
  const std::string host =
      options_.bindAddress.find(':') != std::string::npos ? "[" + options_.bindAddress + "]" : options_.bindAddress;
  return std::string(options_.tlsCert.empty() ? "http" : "https") + "://" + host + ":" + std::to_string(port_);
}

bool HttpService::Run() {
  if (stopping_) return true;
  return server_->listen_after_bind() || stopping_;
}

void HttpService::Stop() {
  stopping_ = true;
  if (server_) server_->stop();
}

int RunServe(const ServerOptions& options, std::ostream& out, std::ostream& err) {
  // The signals are taken by a thread of our own (sigtimedwait), so no handler runs inside the library;
  // they are blocked before any thread starts, and every thread inherits that.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  // A client that hangs up mid-reply must not end the server.
  signal(SIGPIPE, SIG_IGN);

  try {
    SqliteServiceStore store(options.database);
    ServiceActions actions(store);
    PoolActions pool(store);
    HttpService service(options, actions, err, &pool);
    std::string error;
    if (!service.Bind(error)) {
      err << "psalmora-server: " << error << "\n";
      return 1;
    }
    std::atomic<bool> finished{false};
    std::thread watcher([&] {
      const timespec tick{0, 200'000'000};
      bool stopRequested = false;
      while (!finished) {
        if (!stopRequested)
          stopRequested = sigtimedwait(&stopSignals, nullptr, &tick) > 0;
        else
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
        // Repeated: a stop that comes before the server loop has started would otherwise be lost.
        if (stopRequested) service.Stop();
      }
    });
    out << "psalmora-server: listening on " << service.Address() << std::endl;
    const bool ran = service.Run();
    finished = true;
    watcher.join();
    if (!ran) {
      err << "psalmora-server: the server stopped with an error\n";
      return 1;
    }
    return 0;
  } catch (const StoreError& failure) {
    err << "psalmora-server: " << failure.what() << "\n";
    return 1;
  }
}

}  // namespace psalmora::server
