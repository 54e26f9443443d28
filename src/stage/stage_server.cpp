// cpp-httplib wiring of the stage pages. Every route is an exact path; anything else is answered 404
// by httplib itself, so no URL, encoded or not, can name a file.
#include "stage/stage_server.h"

#include <httplib.h>

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "stage/stage_pages.h"

namespace psalmora {
namespace {

constexpr char kSessionCookie[] = "psalmora_session";
constexpr char kJson[] = "application/json; charset=utf-8";
constexpr char kHtml[] = "text/html; charset=utf-8";
constexpr std::size_t kMaxFreeText = 8000;

int IntParam(const httplib::Request& request, const char* name, int low, int high) {
  const std::string text = request.get_param_value(name);
  int value = 0;
  try {
    value = text.empty() ? 0 : std::stoi(text);
  } catch (...) {
    value = 0;
  }
  return std::clamp(value, low, high);
}

std::string SessionOf(const httplib::Request& request) {
  const std::string cookies = request.get_header_value("Cookie");
  const std::string name = std::string(kSessionCookie) + "=";
  std::size_t at = 0;
  while ((at = cookies.find(name, at)) != std::string::npos) {
    if (at == 0 || cookies[at - 1] == ' ' || cookies[at - 1] == ';') {
      const std::size_t start = at + name.size();
      const std::size_t end = cookies.find(';', start);
      return cookies.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    at += name.size();
  }
  return {};
}

// The server's threads yield to the interface thread: with fifty phones waking at once on a two-core
// machine, the beamer must not wait for them. Linux keeps a nice value per thread.
void LowerThreadPriority() {
  thread_local bool lowered = false;
  if (lowered) return;
  lowered = true;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

}  // namespace

std::optional<RemoteAction> ParseRemoteAction(const std::function<std::string(const char*)>& field,
                                              const StageState& state) {
  const std::string name = field("a");
  const bool on = field("on") == "1";
  RemoteAction action;
  action.on = on;
  if (name == "send") {
    action.command = RemoteCommand::kSendSong;
    const std::string row = field("row");
    if (row.empty() || row.size() > 6 || row.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    action.row = std::stoi(row);
    if (action.row >= static_cast<int>(state.selection.size())) return std::nullopt;
  } else if (name == "next") {
    action.command = RemoteCommand::kNext;
  } else if (name == "prev") {
    action.command = RemoteCommand::kPrevious;
  } else if (name == "paging") {
    action.command = RemoteCommand::kPaging;
  } else if (name == "header") {
    action.command = RemoteCommand::kHeader;
  } else if (name == "footer") {
    action.command = RemoteCommand::kFooter;
  } else if (name == "black") {
    action.command = RemoteCommand::kBlack;
  } else if (name == "free") {
    action.command = RemoteCommand::kFreeText;
    action.header = field("head");
    action.text = field("text");
    if (action.header.size() > kMaxFreeText || action.text.size() > kMaxFreeText) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return action;
}

struct StageServer::Impl {
  explicit Impl(StageServerOptions o) : options(std::move(o)), access(options.pin, options.clock) {}

  using Snapshot = std::pair<std::shared_ptr<const StageState>, std::uint64_t>;

  Snapshot Current() const {
    std::lock_guard lock(mutex);
    return {state, version};
  }

  // The snapshot once it is newer than seen, or the same one after the keep-alive time; nothing when
  // the server is closing.
  std::optional<Snapshot> WaitNewer(std::uint64_t seen) {
    std::unique_lock lock(mutex);
    changed.wait_for(lock, options.keepAlive, [&] { return closing || version != seen; });
    if (closing) return std::nullopt;
    return Snapshot{state, version};
  }

  bool HasSession(const httplib::Request& request) const { return access.HasSession(SessionOf(request)); }

  // An event stream of json(state, version) after every change. Each stream holds one server thread,
  // so their number is capped.
  // The event of one snapshot for one kind of page and view, made once however many phones share it:
  // fifty phones in the same key cost one JSON per change, not fifty.
  std::shared_ptr<const std::string> Event(const Snapshot& now, bool remote, StageView view) {
    const auto make = [&] {
      return std::make_shared<const std::string>(
          "retry: 1000\ndata: " +
          (remote ? RemoteJson(*now.first, now.second) : StageJson(*now.first, now.second, view)) + "\n\n");
    };
    std::lock_guard lock(eventsMutex);
    if (now.second < eventsVersion) return make();  // a late stream; the table is for the newest
    if (now.second > eventsVersion) {
      events.clear();
      eventsVersion = now.second;
    }
    std::shared_ptr<const std::string>& event =
        events[remote ? -1 : (view.transpose + 11) * 12 + view.capo];
    if (!event) event = make();
    return event;
  }

  void Stream(httplib::Response& response, bool remote, StageView view) {
    if (streams.fetch_add(1) >= options.maxStreams) {
      streams.fetch_sub(1);
      response.status = 503;
      response.set_header("Retry-After", "5");
      return;
    }
    auto seen = std::make_shared<std::uint64_t>(0);
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, seen, remote, view](std::size_t, httplib::DataSink& sink) {
          std::optional<Snapshot> now;
          if (*seen == 0) {
            now = Current();
          } else {
            now = WaitNewer(*seen);
          }
          if (!now) {
            sink.done();
            return false;
          }
          static const auto kStillHere = std::make_shared<const std::string>(": still here\n\n");
          std::shared_ptr<const std::string> message = kStillHere;
          if (now->second != *seen) {
            *seen = now->second;
            message = Event(*now, remote, view);
          }
          return sink.is_writable() && sink.write(message->data(), message->size());
        },
        [this](bool) { streams.fetch_sub(1); });
  }

  void Routes(httplib::Server& routes) {
    routes.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
      LowerThreadPriority();
      return httplib::Server::HandlerResponse::Unhandled;
    });
    const auto page = [](std::string html) {
      return [html = std::move(html)](const httplib::Request&, httplib::Response& response) {
        response.set_content(html, kHtml);
      };
    };
    routes.Get("/", page(StagePageHtml(options.labelsJson)));
    routes.Get("/stage", page(StagePageHtml(options.labelsJson)));
    routes.Get("/remote", page(RemotePageHtml(options.labelsJson)));
    routes.Get("/stage/state", [this](const httplib::Request& request, httplib::Response& response) {
      const Snapshot now = Current();
      response.set_content(StageJson(*now.first, now.second, ViewOf(request)), kJson);
    });
    routes.Get("/stage/events", [this](const httplib::Request& request, httplib::Response& response) {
      const StageView view = ViewOf(request);
      Stream(response, false, view);
    });
    routes.Get("/remote/state", [this](const httplib::Request& request, httplib::Response& response) {
      if (!HasSession(request)) return Refuse(response, 401);
      const Snapshot now = Current();
      response.set_content(RemoteJson(*now.first, now.second), kJson);
    });
    routes.Get("/remote/events", [this](const httplib::Request& request, httplib::Response& response) {
      if (!HasSession(request)) return Refuse(response, 401);
      Stream(response, true, {});
    });
    routes.Post("/remote/login", [this](const httplib::Request& request, httplib::Response& response) {
      const StageAccess::LoginResult result = access.Login(request.remote_addr, request.get_param_value("pin"));
      if (!result.ok) {
        const long long wait = result.wait.count();
        response.set_header("Retry-After", std::to_string((wait + 999) / 1000));
        response.status = 403;
        response.set_content("{\"ok\":false,\"wait\":" + std::to_string(wait) + "}", kJson);
        return;
      }
      response.set_header("Set-Cookie", std::string(kSessionCookie) + "=" + result.token +
                                            "; Path=/; HttpOnly; SameSite=Strict");
      response.set_content("{\"ok\":true}", kJson);
    });
    routes.Post("/remote/logout", [this](const httplib::Request& request, httplib::Response& response) {
      access.Logout(SessionOf(request));
      response.set_header("Set-Cookie", std::string(kSessionCookie) + "=; Path=/; Max-Age=0; SameSite=Strict");
      response.set_content("{\"ok\":true}", kJson);
    });
    routes.Post("/remote/action", [this](const httplib::Request& request, httplib::Response& response) {
      if (!HasSession(request)) return Refuse(response, 401);
      const Snapshot now = Current();
      const auto field = [&request](const char* name) { return request.get_param_value(name); };
      const std::optional<RemoteAction> action = ParseRemoteAction(field, *now.first);
      if (!action) return Refuse(response, 400);
      if (options.onAction) options.onAction(*action);
      response.set_content("{\"ok\":true}", kJson);
    });
    // httplib calls this for every answer from 400 up, also for those a route wrote itself.
    routes.set_error_handler([](const httplib::Request&, httplib::Response& response) {
      if (!response.body.empty()) return;
      response.set_content(response.status == 404 ? "not found" : "error", "text/plain; charset=utf-8");
    });
    routes.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
      response.status = 500;
      response.set_content("error", "text/plain; charset=utf-8");
    });
  }

  static StageView ViewOf(const httplib::Request& request) {
    return {IntParam(request, "t", -11, 11), IntParam(request, "c", 0, 11)};
  }

  static void Refuse(httplib::Response& response, int status) {
    response.status = status;
    response.set_content("{\"ok\":false}", kJson);
  }

  StageServerOptions options;
  StageAccess access;
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  int port = 0;
  mutable std::mutex mutex;
  std::condition_variable changed;
  std::shared_ptr<const StageState> state = std::make_shared<StageState>();
  std::uint64_t version = 1;
  bool closing = false;
  // The streams are woken by a thread of their own: the interface thread wakes that one only, so its
  // cost of a change does not grow with the number of phones.
  std::thread waker;
  std::condition_variable wakerCall;
  bool wakePending = false;

  void Wake() {
    std::unique_lock lock(mutex);
    for (;;) {
      wakerCall.wait(lock, [&] { return closing || wakePending; });
      if (closing) return;
      wakePending = false;
      lock.unlock();
      changed.notify_all();
      lock.lock();
    }
  }
  std::atomic<int> streams{0};
  std::atomic<bool> listenEnded{false};
  std::mutex eventsMutex;
  std::uint64_t eventsVersion = 0;
  std::map<int, std::shared_ptr<const std::string>> events;
};

StageServer::StageServer(StageServerOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

StageServer::~StageServer() {
  Stop();
}

std::optional<std::string> StageServer::Start(int port) {
  Stop();
  {
    std::lock_guard lock(impl_->mutex);
    impl_->closing = false;
  }
  auto server = std::make_unique<httplib::Server>();
  const auto threads = static_cast<std::size_t>(impl_->options.maxStreams + 16);
  server->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  // httplib's default also sets SO_REUSEPORT, which would let a second program share the port silently;
  // a port in use must be reported instead.
  server->set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server->set_payload_max_length(64 * 1024);
  // A phone that stops reading costs one stream thread for a few seconds, never the beamer.
  server->set_write_timeout(5, 0);
  server->set_read_timeout(10, 0);
  server->set_keep_alive_timeout(5);
  server->set_default_headers({
      {"Cache-Control", "no-store"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"X-Frame-Options", "DENY"},
      {"Content-Security-Policy",
       "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; connect-src 'self'; "
       "img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'"},
  });
  impl_->Routes(*server);
  const std::string& host = impl_->options.host;
  int bound = port;
  if (port == 0) {
    bound = server->bind_to_any_port(host);
    if (bound <= 0) return "no free port on " + host;
  } else if (port < 0 || port > 65535 || !server->bind_to_port(host, port)) {
    return "port " + std::to_string(port) + " cannot be used on " + host + " (taken, or not allowed)";
  }
  impl_->port = bound;
  impl_->server = std::move(server);
  httplib::Server* running = impl_->server.get();
  impl_->listenEnded = false;
  impl_->thread = std::thread([this, running] {
    running->listen_after_bind();
    impl_->listenEnded = true;
  });
  // stop() does nothing to a server that has not begun listening yet: wait for that moment.
  while (!running->is_running() && !impl_->listenEnded) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  impl_->waker = std::thread([this] { impl_->Wake(); });
  return std::nullopt;
}

void StageServer::Stop() {
  if (!impl_->server) return;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->closing = true;
  }
  impl_->changed.notify_all();
  impl_->wakerCall.notify_one();
  if (impl_->waker.joinable()) impl_->waker.join();
  impl_->server->stop();
  if (impl_->thread.joinable()) impl_->thread.join();
  impl_->server.reset();
  impl_->port = 0;
}

bool StageServer::IsRunning() const {
  return impl_->server != nullptr;
}

int StageServer::Port() const {
  return impl_->port;
}

void StageServer::Publish(StageState state) {
  auto next = std::make_shared<const StageState>(std::move(state));
  {
    std::lock_guard lock(impl_->mutex);
    impl_->state.swap(next);
    ++impl_->version;
    impl_->wakePending = true;
  }
  impl_->wakerCall.notify_one();
  // The old snapshot is released here, outside the lock (a stream may still hold it).
}

std::uint64_t StageServer::Version() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->version;
}

int StageServer::StreamCount() const {
  return impl_->streams.load();
}

}  // namespace psalmora
