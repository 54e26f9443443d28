// Data pool requests, replies and local files.
#include "online/data_pool.h"

#include <chrono>

#include "core/record_fields.h"
#include "core/text_lines.h"
#include "online/service_protocol.h"

namespace psalmora {
namespace {

// How often a failing activity download may cost a check of the session (a login is slow on the server).
constexpr long long kSessionCheckSeconds = 30;

std::string Trimmed(std::string_view address) {
  while (!address.empty() && address.back() == '/') address.remove_suffix(1);
  return std::string(address);
}

long long SteadySeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Short requests: the window waits for none of them, but a dead server should not hold a worker long.
HttpOptions PoolRequestOptions() {
  HttpOptions options;
  options.connectTimeout = std::chrono::milliseconds(3000);
  options.totalTimeout = std::chrono::milliseconds(8000);
  options.maxBodyBytes = std::size_t{1} * 1024 * 1024;
  return options;
}

}  // namespace

std::string PoolBase(std::string_view serverAddress) {
  return Trimmed(serverAddress) + std::string(kPoolPath);
}

std::string PoolLoginUrl(std::string_view serverAddress, std::string_view user, std::string_view password) {
  return PoolBase(serverAddress) + "?user=" + UrlEncodeText(user) + "&pw=" + UrlEncodeText(password);
}

std::string PoolsAndUsersUrl(std::string_view serverAddress, std::string_view session, std::string_view poolId) {
  return PoolBase(serverAddress) + "?session=" + UrlEncodeText(session) +
         "&aktion=allepoolsundbenutzer&id=" + UrlEncodeText(poolId);
}

std::string ReportActivityUrl(std::string_view serverAddress, std::string_view session, std::string_view poolId,
                              std::string_view poolSongId, std::string_view title, std::string_view selection) {
  return PoolBase(serverAddress) + "?session=" + UrlEncodeText(session) + "&poolid=" + UrlEncodeText(poolId) +
         "&aktion=aktivitaetsend&songidpool=" + UrlEncodeText(poolSongId) + "&titel=" + UrlEncodeText(title) +
         "&auswahl=" + UrlEncodeText(selection);
}

std::string ActivityFileUrl(std::string_view serverAddress, std::string_view userId, std::string_view session) {
  return Trimmed(serverAddress) + std::string(kActivityPath) + UrlEncodeText(userId) + ".dat?session=" +
         UrlEncodeText(session);
}

PoolsAndUsers ReadPoolsAndUsers(std::string_view page) {
  PoolsAndUsers reply;
  reply.pool = ReadPageReply("alleuser", page);
  const std::string users = ReadPageReply("pools", page);
  std::size_t start = 0;
  while (!users.empty() && start <= users.size()) {
    std::size_t end = users.find('%', start);
    if (end == std::string::npos) end = users.size();
    if (end > start) reply.users.push_back(users.substr(start, end - start));
    start = end + 1;
  }
  reply.error = ReadPageReply("fehler", page);
  return reply;
}

std::string UserIdOfEntry(std::string_view entry) {
  return std::string(entry.substr(0, entry.find('.')));
}

bool IsSafePoolFileId(std::string_view id) {
  if (id.empty() || id.size() > 64) return false;
  for (const char c : id) {
    const bool ok = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::filesystem::path PoolMappingFile(const std::filesystem::path& dataFolder, std::string_view poolId) {
  if (!IsSafePoolFileId(poolId)) return {};
  return dataFolder / kPoolFolder / (std::string(poolId) + ".dat");
}

std::filesystem::path ActivityFilePath(const std::filesystem::path& dataFolder, std::string_view userId) {
  if (!IsSafePoolFileId(userId)) return {};
  return dataFolder / kPoolFolder / ("aktivitaet-" + std::string(userId) + ".dat");
}

std::string PoolSongIdOf(std::string_view mapping, std::string_view localId) {
  if (localId.empty()) return {};
  for (const std::string& line : SplitLines(mapping)) {
    if (RecordField(line, 2) == localId) return std::string(RecordField(line, 1));
  }
  return {};
}

std::string LocalSongIdOf(std::string_view mapping, std::string_view poolSongId) {
  if (poolSongId.empty()) return {};
  for (const std::string& line : SplitLines(mapping)) {
    if (RecordField(line, 1) == poolSongId) return std::string(RecordField(line, 2));
  }
  return {};
}

std::string SelectionValue(const std::vector<std::string>& localIds, std::string_view mapping) {
  std::string value;
  for (const std::string& id : localIds) value += PoolSongIdOf(mapping, id) + "-";
  return value;
}

Activity ReadActivity(std::string_view file) {
  const std::vector<std::string> lines = SplitLines(file);
  const auto value = [&lines](std::size_t index) -> std::string {
    if (index >= lines.size()) return {};
    const std::size_t tab = lines[index].find('\t');
    return tab == std::string::npos ? std::string() : lines[index].substr(tab + 1);
  };
  return {value(0), value(1), value(2)};
}

std::string PoolConnection::LoginError() const {
  std::lock_guard lock(mutex_);
  return loginError_;
}

std::string PoolConnection::Session(const Account& account, bool renew) {
  const std::string owner = account.serverAddress + '\t' + account.user + '\t' + account.password;
  {
    std::lock_guard lock(mutex_);
    if (owner != sessionFor_) {
      session_.clear();
      lastFailedLogin_ = -1000;
    }
    if (!renew && !session_.empty()) return session_;
    if (owner == sessionFor_ && SteadySeconds() - lastFailedLogin_ < kLoginRetrySeconds) return {};
  }
  if (account.user.empty()) {
    std::lock_guard lock(mutex_);
    loginError_ = "Kein Benutzername für den Datenpool eingetragen";
    return {};
  }
  const std::string page = ReplyToCp1252(http_(PoolLoginUrl(account.serverAddress, account.user, account.password),
                                               PoolRequestOptions()));
  const std::string session = ReadPageReply("session", page);
  std::lock_guard lock(mutex_);
  session_ = session;
  sessionFor_ = owner;
  if (session.empty()) {
    lastFailedLogin_ = SteadySeconds();
    const std::string message = ReadPageReply("fehler", page);
    loginError_ = page.empty() ? "Server nicht erreichbar" : message.empty() ? "Anmeldung fehlgeschlagen" : message;
  } else {
    loginError_.clear();
  }
  return session;
}

std::string PoolConnection::Ask(const Account& account,
                                const std::function<std::string(const std::string& session)>& url) {
  std::string session = Session(account, false);
  if (session.empty()) return {};
  std::string page = ReplyToCp1252(http_(url(session), PoolRequestOptions()));
  if (ReadPageReply("anmelden", page) == "1") {
    session = Session(account, true);
    if (session.empty()) return {};
    page = ReplyToCp1252(http_(url(session), PoolRequestOptions()));
  }
  return page;
}

PoolsAndUsers PoolConnection::LoadPoolsAndUsers(const Account& account, std::string_view poolId) {
  const std::string page = Ask(account, [&](const std::string& session) {
    return PoolsAndUsersUrl(account.serverAddress, session, poolId);
  });
  PoolsAndUsers reply = ReadPoolsAndUsers(page);
  if (page.empty()) {
    const std::string login = LoginError();
    reply.error = login.empty() ? "Server nicht erreichbar" : login;
  }
  return reply;
}

bool PoolConnection::ReportActivity(const Account& account, std::string_view poolId, std::string_view poolSongId,
                                    std::string_view title, std::string_view selection) {
  const std::string page = Ask(account, [&](const std::string& session) {
    return ReportActivityUrl(account.serverAddress, session, poolId, poolSongId, title, selection);
  });
  return ReadPageReply("ok", page) == "1";
}

std::optional<std::string> PoolConnection::FetchActivity(const Account& account, std::string_view userId) {
  const std::string session = Session(account, false);
  if (session.empty()) return std::nullopt;
  const std::string file = http_(ActivityFileUrl(account.serverAddress, userId, session), PoolRequestOptions());
  if (!file.empty()) return ReplyToCp1252(file);
  // Nothing came: no activity yet, no right to see it, or a session the server forgot (a restart). Which
  // one the download cannot tell, so now and then the session is checked; a forgotten one is renewed.
  const long long now = SteadySeconds();
  {
    std::lock_guard lock(mutex_);
    if (now - lastSessionCheck_ < kSessionCheckSeconds) return std::nullopt;
    lastSessionCheck_ = now;
  }
  const std::string check = ReplyToCp1252(http_(PoolsAndUsersUrl(account.serverAddress, session, ""),
                                                PoolRequestOptions()));
  if (ReadPageReply("anmelden", check) != "1") return std::nullopt;
  const std::string renewed = Session(account, true);
  if (renewed.empty()) return std::nullopt;
  const std::string again = http_(ActivityFileUrl(account.serverAddress, userId, renewed), PoolRequestOptions());
  if (again.empty()) return std::nullopt;
  return ReplyToCp1252(again);
}

}  // namespace psalmora
