// Password hashes (libsodium's crypto_pwhash_str: salted, slow, memory-hard) and the random tokens the
// service hands out as user ids and global ids.
#pragma once

#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <string_view>

namespace psalmora::server {

// False when libsodium cannot start (no random source); nothing here works then.
bool InitPasswordHashing();

// The hash text to store; nullopt when the system lacks the memory for it.
std::optional<std::string> HashPassword(std::string_view password);

// 32 lowercase hex digits from the system's secure random source.
std::string RandomToken();

// Checks passwords against stored hashes. Each check takes tens of megabytes for a moment, so only a
// few run at once and a flood of logins cannot exhaust the memory.
class PasswordChecker {
 public:
  PasswordChecker();
  bool Matches(std::string_view storedHash, std::string_view password);
  // The same work for an unknown e-mail address, so the answer time does not tell which addresses exist.
  void CheckAgainstNothing(std::string_view password);

 private:
  std::counting_semaphore<64> slots_;
  std::once_flag dummyOnce_;
  std::string dummyHash_;
};

}  // namespace psalmora::server
