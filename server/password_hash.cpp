// Password hashing on libsodium.
#include "server/password_hash.h"

#include <sodium.h>

#include <array>

namespace psalmora::server {

namespace {

constexpr std::ptrdiff_t kParallelChecks = 2;

}  // namespace

bool InitPasswordHashing() {
  return sodium_init() >= 0;
}

std::optional<std::string> HashPassword(std::string_view password) {
  std::array<char, crypto_pwhash_STRBYTES> hash{};
  if (crypto_pwhash_str(hash.data(), password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    return std::nullopt;
  }
  return std::string(hash.data());
}

std::string RandomToken() {
  std::array<unsigned char, 16> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  std::array<char, 2 * 16 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
  return std::string(hex.data());
}

PasswordChecker::PasswordChecker() : slots_(kParallelChecks) {}

bool PasswordChecker::Matches(std::string_view storedHash, std::string_view password) {
  const std::string hash(storedHash);  // libsodium wants it NUL-terminated
  slots_.acquire();
  const bool matches = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
  slots_.release();
  return matches;
}

void PasswordChecker::CheckAgainstNothing(std::string_view password) {
  std::call_once(dummyOnce_, [this] { dummyHash_ = HashPassword(RandomToken()).value_or(""); });
  if (!dummyHash_.empty()) Matches(dummyHash_, password);
}

}  // namespace psalmora::server
