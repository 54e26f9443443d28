// The data pool application. A user sees a pool, its members and their activities only while he is a
// member of that pool himself.
#include "server/pool_actions.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <iostream>

#include "server/service_actions.h"

namespace psalmora::server {

namespace {

std::int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::string Page(const std::string& pairs, std::string_view body) {
  return "<!--" + pairs + "-->\n<html><head><meta charset=\"utf-8\"><title>Psalmora Datenpool</title></head><body>" +
         std::string(body) + "</body></html>\n";
}

std::string ErrorPage(std::string_view message, bool loginAgain = false) {
  const std::string text = PageReplyText(message);
  return Page((loginAgain ? "anmelden=1|fehler=" : "fehler=") + text, "<p>" + text + "</p>");
}

bool IsMember(const Pool& pool, std::string_view userId) {
  return std::any_of(pool.members.begin(), pool.members.end(),
                     [userId](const PoolMember& member) { return member.userId == userId; });
}

// One value of an activity line: a TAB or a line break would end it early.
std::string LineValue(std::string_view text) {
  std::string value(text.substr(0, 1000));
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return value;
}

}  // namespace

std::string PageReplyText(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (char c : text) {
    if (c == '|' || c == '=' || c == '%') continue;
    clean.push_back(c == '\r' || c == '\n' || c == '\t' ? ' ' : c);
  }
  for (std::size_t at = clean.find("-->"); at != std::string::npos; at = clean.find("-->", at)) clean.erase(at, 3);
  return clean;
}

PoolActions::PoolActions(ServiceStore& store, Clock clock)
    : store_(store), clock_(clock ? std::move(clock) : Clock(SystemSeconds)) {}

std::string PoolActions::Handle(std::string_view rawQuery) {
  if (rawQuery.size() > 64 * 1024) return ErrorPage("Anfrage zu lang");
  try {
    std::string problem;
    const std::optional<Query> query = Query::Parse(rawQuery, problem);
    if (!query) return ErrorPage(problem);
    if (query->Has("user")) return Login(*query);
    const std::string userId = SessionUser(query->Value("session"));
    if (userId.empty()) return ErrorPage("Sitzung abgelaufen, bitte neu anmelden", true);
    const std::string& action = query->Value("aktion");
    if (action == "allepoolsundbenutzer") return PoolsAndUsers(*query, userId);
    if (action == "aktivitaetsend") return ReportActivity(*query, userId);
    return ErrorPage("Unbekannte Aktion");
  } catch (const StoreError& failure) {
    std::cerr << "psalmora-server: " << failure.what() << "\n";
    return ErrorPage("Datenbankfehler auf dem Server");
  } catch (const std::exception& failure) {
    std::cerr << "psalmora-server: " << failure.what() << "\n";
    return ErrorPage("Interner Fehler des Servers");
  }
}

std::string PoolActions::Login(const Query& query) {
  const std::string email = NormalizeEmail(query.Value("user"));
  const std::string& password = query.Value("pw");
  const std::optional<Account> account = email.empty() ? std::nullopt : store_.FindAccountByEmail(email);
  const bool matches = account ? passwords_.Matches(account->passwordHash, password)
                               : (passwords_.CheckAgainstNothing(password), false);
  if (!matches) return Page("session=|fehler=Anmeldung fehlgeschlagen", "<p>Anmeldung fehlgeschlagen</p>");
  const std::string session = RandomToken();
  const std::int64_t now = clock_();
  std::lock_guard lock(mutex_);
  std::erase_if(sessions_, [now](const auto& entry) { return now - entry.second.lastUse > kSessionSeconds; });
  if (sessions_.size() >= kMaxSessions) {
    const auto oldest = std::min_element(sessions_.begin(), sessions_.end(), [](const auto& a, const auto& b) {
      return a.second.lastUse < b.second.lastUse;
    });
    sessions_.erase(oldest);
  }
  sessions_[session] = {account->userId, now};
  return Page("session=" + session + "|benutzer=" + account->userId,
              "<p>Angemeldet als " + PageReplyText(account->email) + "</p>");
}

std::string PoolActions::SessionUser(std::string_view session) {
  if (session.empty()) return {};
  const std::int64_t now = clock_();
  std::lock_guard lock(mutex_);
  const auto found = sessions_.find(std::string(session));
  if (found == sessions_.end()) return {};
  if (now - found->second.lastUse > kSessionSeconds) {
    sessions_.erase(found);
    return {};
  }
  found->second.lastUse = now;
  return found->second.userId;
}

std::string PoolActions::PoolsAndUsers(const Query& query, const std::string& userId) {
  const std::optional<Pool> pool = store_.FindPool(query.Value("id"));
  if (!pool || !IsMember(*pool, userId)) {
    return Page("alleuser=|pools=|fehler=Kein Datenpool mit dieser ID", "<p>Kein Datenpool mit dieser ID</p>");
  }
  std::string members;
  for (const PoolMember& member : pool->members) {
    if (!members.empty()) members += '%';
    members += member.userId + "." + PageReplyText(member.email);
  }
  return Page("alleuser=" + pool->id + "." + PageReplyText(pool->name) + "|pools=" + members,
              "<p>" + PageReplyText(pool->name) + "</p>");
}

std::string PoolActions::ReportActivity(const Query& query, const std::string& userId) {
  const std::string& poolId = query.Value("poolid");
  const std::optional<Pool> pool = store_.FindPool(poolId);
  if (!pool || !IsMember(*pool, userId)) return ErrorPage("Kein Datenpool mit dieser ID");
  const std::string file = "pool\t" + pool->id + "\r\nsongidpool\t" + LineValue(query.Value("songidpool")) +
                           "\r\ntitel\t" + LineValue(query.Value("titel")) + "\r\nauswahl\t" +
                           LineValue(query.Value("auswahl")) + "\r\n";
  std::lock_guard lock(mutex_);
  activities_[userId] = {pool->id, file};
  return Page("ok=1", "<p>ok</p>");
}

std::optional<std::string> PoolActions::ActivityFile(std::string_view userId, std::string_view rawQuery) {
  try {
    std::string problem;
    const std::optional<Query> query = Query::Parse(rawQuery, problem);
    if (!query) return std::nullopt;
    const std::string reader = SessionUser(query->Value("session"));
    if (reader.empty()) return std::nullopt;
    Activity activity;
    {
      std::lock_guard lock(mutex_);
      const auto found = activities_.find(std::string(userId));
      if (found == activities_.end()) return std::nullopt;
      activity = found->second;
    }
    const std::optional<Pool> pool = store_.FindPool(activity.poolId);
    if (!pool || !IsMember(*pool, reader) || !IsMember(*pool, userId)) return std::nullopt;
    return activity.file;
  } catch (const std::exception& failure) {
    std::cerr << "psalmora-server: " << failure.what() << "\n";
    return std::nullopt;
  }
}

}  // namespace psalmora::server
