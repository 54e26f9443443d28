// The data pool on the client side: the requests of "/online/online.cgi" and the activity files, the
// reading of their replies, and the local files in "datenpool/" (a user's last activity, and per pool the
// mapping of pool song ids to local song ids). The requests run on any thread and write nothing; the
// files are written by the caller.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "online/web_access.h"

namespace psalmora {

inline constexpr std::string_view kPoolPath = "/online/online.cgi";
inline constexpr std::string_view kActivityPath = "/online/aktivitaeten/";
inline constexpr std::string_view kPoolFolder = "datenpool";

// `PoolBase`: the server address (without a final "/") and "/online/online.cgi".
std::string PoolBase(std::string_view serverAddress);

// Request addresses. Every value is encoded with UrlEncodeText: a title with "&" or "#" would otherwise
// end the value early or cut the address.
std::string PoolLoginUrl(std::string_view serverAddress, std::string_view user, std::string_view password);
std::string PoolsAndUsersUrl(std::string_view serverAddress, std::string_view session, std::string_view poolId);
std::string ReportActivityUrl(std::string_view serverAddress, std::string_view session, std::string_view poolId,
                              std::string_view poolSongId, std::string_view title, std::string_view selection);
// "/online/aktivitaeten/" + user id + ".dat", with the session as its query (the server shows a
// member's activity only to members of the same pool).
std::string ActivityFileUrl(std::string_view serverAddress, std::string_view userId, std::string_view session);

// The reply of the pools-and-users request: the single "alleuser" entry (shown under "Datenpool") and
// the "pools" entries (split at "%", shown under "Benutzer"), or the server's message.
struct PoolsAndUsers {
  std::string pool;
  std::vector<std::string> users;
  std::string error;
};
PoolsAndUsers ReadPoolsAndUsers(std::string_view page);

// The user id of a "Benutzer" entry: the text before its first "."; the whole entry without one.
std::string UserIdOfEntry(std::string_view entry);

// Whether an id may become part of a file name in "datenpool/": 1 to 64 letters, digits, "-" or "_".
// Ids come from the server and the group records; "../x" must never name a file.
bool IsSafePoolFileId(std::string_view id);
// "datenpool/<pool id>.dat" and "datenpool/aktivitaet-<user id>.dat" in the data folder; an empty path
// for an id that is not safe.
std::filesystem::path PoolMappingFile(const std::filesystem::path& dataFolder, std::string_view poolId);
std::filesystem::path ActivityFilePath(const std::filesystem::path& dataFolder, std::string_view userId);

// Id mapping (lines "pool song id TAB local song id"): field 1 of the first line whose field 2 is the
// local id, and the other way round; empty when none.
std::string PoolSongIdOf(std::string_view mapping, std::string_view localId);
std::string LocalSongIdOf(std::string_view mapping, std::string_view poolSongId);
// The selection value of a report: each song's pool song id followed by "-", in list order.
std::string SelectionValue(const std::vector<std::string>& localIds, std::string_view mapping);

// An activity file: the values (text after the first TAB) of lines 1 to 3.
struct Activity {
  std::string poolId;
  std::string poolSongId;
  std::string title;
};
Activity ReadActivity(std::string_view file);

// A session with the data pool server, shared by the requests of one program run (any thread). It logs
// in when it has no session, and once more when the server has forgotten the one it had.
class PoolConnection {
 public:
  struct Account {
    std::string serverAddress;
    std::string user;
    std::string password;
  };

  explicit PoolConnection(HttpGet http) : http_(std::move(http)) {}

  // The pools-and-users reply for the pool id (error set when the request failed).
  PoolsAndUsers LoadPoolsAndUsers(const Account& account, std::string_view poolId);
  // Sends the report; false when it did not arrive.
  bool ReportActivity(const Account& account, std::string_view poolId, std::string_view poolSongId,
                      std::string_view title, std::string_view selection);
  // The user's activity file in Windows-1252; nothing when the download failed.
  std::optional<std::string> FetchActivity(const Account& account, std::string_view userId);

  // A login refused for the same account values is not tried again for this long: a wrong password
  // would otherwise cost the server a password check at every poll.
  static constexpr long long kLoginRetrySeconds = 30;

  // The message of the last failed login ("" after a good one).
  std::string LoginError() const;

 private:
  // The page of a request built from a session; a second try with a new session when the server asks.
  std::string Ask(const Account& account, const std::function<std::string(const std::string& session)>& url);
  std::string Session(const Account& account, bool renew);

  HttpGet http_;
  mutable std::mutex mutex_;
  std::string session_;
  std::string sessionFor_;  // the address and user the session belongs to
  std::string loginError_;
  // When a failed download last made the session be checked, and when a login with these account
  // values last failed (steady clock, seconds).
  long long lastSessionCheck_ = -1000;
  long long lastFailedLogin_ = -1000;
};

}  // namespace psalmora
