// The stage view's web server: the stage page (read-only, no PIN), the remote page (PIN, session
// cookie), their live event streams and the remote's actions. It runs on threads of its own and only
// reads the snapshot the interface thread last handed it, so a slow or vanished phone never holds up
// the beamer. It serves these few routes and nothing else: no file is ever read by a path from a URL.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "stage/stage_access.h"
#include "stage/stage_state.h"

namespace psalmora {

enum class RemoteCommand { kSendSong, kNext, kPrevious, kPaging, kHeader, kFooter, kBlack, kFreeText };

struct RemoteAction {
  RemoteCommand command = RemoteCommand::kNext;
  int row = -1;     // kSendSong: the selection's row
  bool on = false;  // kPaging, kHeader, kFooter, kBlack: the state wanted
  std::string header, text;  // kFreeText, UTF-8
};

struct StageServerOptions {
  std::string host = "0.0.0.0";  // every network of the machine: the phones are on the church's LAN
  std::string pin;
  // Called on a server thread for every accepted action; the receiver passes it to the interface thread
  // and returns at once.
  std::function<void(const RemoteAction&)> onAction;
  StageAccess::Clock clock;     // tests move the PIN delay on by hand
  std::string labelsJson = "{}";  // the pages' captions in the program's language
  int maxStreams = 100;         // open event streams (phones) at once; more are told to come back later
  std::chrono::seconds keepAlive{15};  // a comment line on idle streams, so dead phones are noticed
};

// Parses the remote's form fields ("a" and its arguments); nothing for an unknown or malformed action.
std::optional<RemoteAction> ParseRemoteAction(const std::function<std::string(const char*)>& field,
                                              const StageState& state);

class StageServer {
 public:
  explicit StageServer(StageServerOptions options);
  ~StageServer();
  StageServer(const StageServer&) = delete;
  StageServer& operator=(const StageServer&) = delete;

  // Binds the port (0: any free one) and starts serving; the error text when the port cannot be had.
  std::optional<std::string> Start(int port);
  void Stop();
  bool IsRunning() const;
  int Port() const;

  // The new state of the beamer, from any thread; every stream wakes. Costs the caller the same with or
  // without phones connected: one thread is woken, which wakes the streams, and the JSON is made on
  // the streams' threads.
  void Publish(StageState state);
  std::uint64_t Version() const;
  int StreamCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace psalmora
