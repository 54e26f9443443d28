// The data pool: "/online/online.cgi" (login, the pool with its members, a member's report of the song
// he shows) and the members' activity files "/online/aktivitaeten/<user id>.dat". Replies of the
// application are pages whose first line is a comment of key=value pairs. Sessions and activities live
// in memory only: after a restart a client logs in again and members report anew. No HTTP in here.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/password_hash.h"
#include "server/query_text.h"
#include "server/service_store.h"

namespace psalmora::server {

inline constexpr const char* kPoolPath = "/online/online.cgi";
inline constexpr const char* kActivityPathPrefix = "/online/aktivitaeten/";

class PoolActions {
 public:
  using Clock = std::function<std::int64_t()>;

  // A session unused for this long is forgotten.
  static constexpr std::int64_t kSessionSeconds = 12 * 60 * 60;
  // Sessions kept at most; the oldest goes first.
  static constexpr std::size_t kMaxSessions = 20000;

  explicit PoolActions(ServiceStore& store, Clock clock = {});

  // The page for a raw query of "/online/online.cgi".
  std::string Handle(std::string_view rawQuery);
  // The activity file of a user (UTF-8 lines "label TAB value", CR LF), for a raw query that carries
  // the session of a member of the pool the activity was reported in; nullopt otherwise (also when
  // the user reported nothing yet).
  std::optional<std::string> ActivityFile(std::string_view userId, std::string_view rawQuery);

 private:
  std::string Login(const Query& query);
  std::string PoolsAndUsers(const Query& query, const std::string& userId);
  std::string ReportActivity(const Query& query, const std::string& userId);
  // The user id of a live session (and its time renewed); "" when unknown or expired.
  std::string SessionUser(std::string_view session);

  struct Session {
    std::string userId;
    std::int64_t lastUse = 0;
  };
  struct Activity {
    std::string poolId;
    std::string file;
  };

  ServiceStore& store_;
  Clock clock_;
  PasswordChecker passwords_;
  std::mutex mutex_;
  std::unordered_map<std::string, Session> sessions_;
  std::unordered_map<std::string, Activity> activities_;
};

// A text made fit for a reply comment or a list entry: no "|", "=", "%" (the separators), no line
// breaks or TABs, no "-->".
std::string PageReplyText(std::string_view text);

}  // namespace psalmora::server
