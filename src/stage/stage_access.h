// The remote's door: the PIN check with a delay that grows with every wrong PIN from the same address,
// and the sessions a right PIN opens (kept by the phone in a cookie). Safe to use from any thread.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace psalmora {

class StageAccess {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  struct LoginResult {
    bool ok = false;
    std::string token;                   // the new session when ok
    std::chrono::milliseconds wait{0};   // refused: how long this address must wait before the next try
  };

  // An empty PIN opens no session at all: the remote stays shut until one is set.
  explicit StageAccess(std::string pin, Clock clock = {});

  // A try before the address's wait has passed is refused without looking at the PIN, so guessing in
  // parallel gains nothing. Each wrong PIN doubles the wait (1 s, 2 s, 4 s ... up to 5 minutes).
  LoginResult Login(const std::string& address, std::string_view pin);
  bool HasSession(std::string_view token) const;
  void Logout(std::string_view token);

  static std::chrono::milliseconds DelayAfter(int failures);

 private:
  struct Failures {
    int count = 0;
    std::chrono::steady_clock::time_point until;
  };

  std::string NewToken();

  const std::string pin_;
  Clock clock_;
  mutable std::mutex mutex_;
  std::map<std::string, Failures> failures_;
  std::set<std::string, std::less<>> sessions_;
};

}  // namespace psalmora
