#include "stage/stage_access.h"

#include <algorithm>
#include <random>

namespace psalmora {
namespace {

constexpr std::size_t kMaxSessions = 64;
constexpr std::size_t kMaxAddresses = 4096;
constexpr auto kMaxDelay = std::chrono::minutes(5);

// Compares without leaving early, so the answer time tells nothing about how much of the PIN was right.
bool SameText(std::string_view given, std::string_view pin) {
  std::size_t diff = given.size() ^ pin.size();
  for (std::size_t i = 0; i < given.size(); ++i) {
    const auto expected = i < pin.size() ? static_cast<unsigned char>(pin[i]) : 0u;
    diff |= static_cast<unsigned char>(given[i]) ^ expected;
  }
  return diff == 0;
}

}  // namespace

StageAccess::StageAccess(std::string pin, Clock clock) : pin_(std::move(pin)), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

std::chrono::milliseconds StageAccess::DelayAfter(int failures) {
  if (failures <= 0) return std::chrono::milliseconds(0);
  const int doublings = std::min(failures - 1, 20);
  const std::chrono::milliseconds delay(1000LL << doublings);
  return std::min<std::chrono::milliseconds>(delay, kMaxDelay);
}

StageAccess::LoginResult StageAccess::Login(const std::string& address, std::string_view pin) {
  const auto now = clock_();
  std::lock_guard lock(mutex_);
  LoginResult result;
  auto known = failures_.find(address);
  if (known != failures_.end() && now < known->second.until) {
    result.wait = std::chrono::duration_cast<std::chrono::milliseconds>(known->second.until - now);
    return result;
  }
  if (!pin_.empty() && SameText(pin, pin_)) {
    if (known != failures_.end()) failures_.erase(known);
    // Too many phones: one of the old sessions ends (the tokens are random, so which one is arbitrary).
    if (sessions_.size() >= kMaxSessions) sessions_.erase(sessions_.begin());
    result.ok = true;
    result.token = NewToken();
    sessions_.insert(result.token);
    return result;
  }
  if (known == failures_.end()) {
    // A flood of made-up addresses must not grow the table without end: one old entry makes room.
    if (failures_.size() >= kMaxAddresses) failures_.erase(failures_.begin());
    known = failures_.emplace(address, Failures{}).first;
  }
  ++known->second.count;
  result.wait = DelayAfter(known->second.count);
  known->second.until = now + result.wait;
  return result;
}

bool StageAccess::HasSession(std::string_view token) const {
  if (token.empty()) return false;
  std::lock_guard lock(mutex_);
  return sessions_.find(token) != sessions_.end();
}

void StageAccess::Logout(std::string_view token) {
  std::lock_guard lock(mutex_);
  if (const auto found = sessions_.find(token); found != sessions_.end()) sessions_.erase(found);
}

std::string StageAccess::NewToken() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device random;
  std::string token;
  for (int i = 0; i < 32; ++i) token += kHex[random() & 0xF];
  return token;
}

}  // namespace psalmora
