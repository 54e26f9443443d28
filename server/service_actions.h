// The song-management protocol: one raw request query in, the reply text out. No HTTP in here, so the
// tests drive it directly and the HTTP side only carries texts. Every failure is a reply
// "error|" + German message; nothing a client sends makes it throw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "server/password_hash.h"
#include "server/query_text.h"
#include "server/service_store.h"

namespace psalmora::server {

class ServiceActions {
 public:
  // Seconds since 1970; the tests set the time.
  using Clock = std::function<std::int64_t()>;

  // A longer query is refused unread. (The HTTP side refuses long request lines before that.)
  static constexpr std::size_t kMaxQueryBytes = std::size_t{4} * 1024 * 1024;
  // Compare items one account may send for one compare, over all its parts.
  static constexpr std::size_t kMaxCompareItems = 200000;
  // Parts of a compare older than this are forgotten.
  static constexpr std::int64_t kKeptPartSeconds = 600;

  explicit ServiceActions(ServiceStore& store, Clock clock = {});

  std::string Handle(std::string_view rawQuery);

 private:
  std::string Dispatch(const Query& query);
  std::string Login(const Query& query);
  std::string NewItem(const Query& query, ItemKind kind);
  std::string DeleteItems(const Query& query, ItemKind kind);
  std::string CompareItems(const Query& query, ItemKind kind);
  std::string ChangeItem(const Query& query, ItemKind kind);

  ServiceStore& store_;
  Clock clock_;
  PasswordChecker passwords_;
};

// An e-mail address as accounts are matched: without surrounding blanks, ASCII letters in lower case.
std::string NormalizeEmail(std::string_view email);

// The value of "aktion" in a raw query, for the access log, which shows no other value.
std::string ActionOfQuery(std::string_view rawQuery);

}  // namespace psalmora::server
