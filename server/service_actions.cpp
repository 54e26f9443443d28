// The actions of the song-management protocol. Songs and selections follow the same rules, so each
// action is written once for both kinds of item.
#include "server/service_actions.h"

#include <chrono>
#include <exception>
#include <iostream>
#include <new>

#include "server/item_wire.h"
#include "server/song_compare.h"

namespace psalmora::server {

namespace {

constexpr std::string_view kUnknownUser = "error|Unbekannter Benutzer";
constexpr std::string_view kUnknownAction = "error|Unbekannte Aktion";
constexpr std::string_view kLoginFailed = "error|Anmeldung fehlgeschlagen: E-Mail-Adresse oder Passwort falsch";

std::string Error(std::string_view message) {
  return "error|" + std::string(message);
}

std::int64_t SystemSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// The item's values as the query gives them; a key the query lacks stays unset.
ItemChange ChangeFromQuery(const Query& query, ItemKind kind, std::string globalId) {
  ItemChange change;
  change.globalId = std::move(globalId);
  for (std::string_view field : ItemFields(kind)) {
    const std::string* value = query.Find(field);
    change.values.push_back(value ? std::optional<std::string>(*value) : std::nullopt);
  }
  return change;
}

template <typename T, typename Format>
std::string Join(const std::vector<T>& parts, std::string_view separator, Format format) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += format(parts[i]);
  }
  return joined;
}

struct ActionEntry {
  std::string_view name;
  ItemKind kind;
  std::string (ServiceActions::*run)(const Query&, ItemKind);
};

}  // namespace

ServiceActions::ServiceActions(ServiceStore& store, Clock clock)
    : store_(store), clock_(clock ? std::move(clock) : Clock(SystemSeconds)) {}

std::string ServiceActions::Handle(std::string_view rawQuery) {
  if (rawQuery.size() > kMaxQueryBytes) return Error("Anfrage zu lang");
  try {
    std::string problem;
    const std::optional<Query> query = Query::Parse(rawQuery, problem);
    if (!query) return Error(problem);
    return Dispatch(*query);
  } catch (const StoreError& failure) {
    std::cerr << "psalmora-server: " << failure.what() << "\n";
    return Error("Datenbankfehler auf dem Server");
  } catch (const std::bad_alloc&) {
    return Error("Zu wenig Speicher auf dem Server");
  } catch (const std::exception& failure) {
    std::cerr << "psalmora-server: " << failure.what() << "\n";
    return Error("Interner Fehler des Servers");
  }
}

std::string ServiceActions::Dispatch(const Query& query) {
  const std::string& action = query.Value("aktion");
  if (action == "ping") return "ok|psalmora-server";
  if (action == "login") return Login(query);
  // This server keeps no pool 43, so there is nothing to convert (and no account is needed to say so).
  if (action == "getids43") return "";

  static constexpr std::array<ActionEntry, 8> kActions = {{
      {"neuersong", ItemKind::kSong, &ServiceActions::NewItem},
      {"deletesongs", ItemKind::kSong, &ServiceActions::DeleteItems},
      {"abgleich", ItemKind::kSong, &ServiceActions::CompareItems},
      {"changesong", ItemKind::kSong, &ServiceActions::ChangeItem},
      {"neueplaylist", ItemKind::kSelection, &ServiceActions::NewItem},
      {"deleteplaylist", ItemKind::kSelection, &ServiceActions::DeleteItems},
      {"abgleichplaylist", ItemKind::kSelection, &ServiceActions::CompareItems},
      {"changeplaylist", ItemKind::kSelection, &ServiceActions::ChangeItem},
  }};
  for (const ActionEntry& entry : kActions) {
    if (entry.name != action) continue;
    const std::string& userId = query.Value("userid");
    if (userId.empty() || !store_.HasAccount(userId)) return std::string(kUnknownUser);
    return (this->*entry.run)(query, entry.kind);
  }
  return std::string(kUnknownAction);
}

std::string ServiceActions::Login(const Query& query) {
  const std::string email = NormalizeEmail(query.Value("email"));
  const std::string& password = query.Value("password");
  const std::optional<Account> account = email.empty() ? std::nullopt : store_.FindAccountByEmail(email);
  if (!account) {
    passwords_.CheckAgainstNothing(password);
    return std::string(kLoginFailed);
  }
  if (!passwords_.Matches(account->passwordHash, password)) return std::string(kLoginFailed);
  return account->userId + std::string(kFieldSeparator) + account->email;
}

std::string ServiceActions::NewItem(const Query& query, ItemKind kind) {
  const std::string& userId = query.Value("userid");
  // A random id is practically never taken; a second try covers the impossible.
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::string globalId = RandomToken();
    if (store_.AddItem(userId, kind, ChangeFromQuery(query, kind, globalId))) return "ok|" + globalId;
  }
  return Error("Keine neue globale ID frei");
}

std::string ServiceActions::DeleteItems(const Query& query, ItemKind kind) {
  const std::vector<std::string> globalIds = SplitGlobalIds(query.Value("songstring"));
  if (globalIds.size() > kMaxCompareItems) return Error("Zu viele Einträge auf einmal");
  if (!globalIds.empty()) store_.DeleteItems(query.Value("userid"), kind, globalIds, clock_());
  return "ok";
}

std::string ServiceActions::CompareItems(const Query& query, ItemKind kind) {
  const std::string& userId = query.Value("userid");
  const std::string& part = query.Value("part");
  if (part != "teil" && part != "fertig") return Error("Unbekannter Teil des Abgleichs");
  std::vector<ChangeStamp> stamps = SplitStampList(query.Value("songstring"));
  // Parts are kept per compare run when the client names its run, so two computers of one account
  // comparing at the same moment are each answered for their own list. Stored under the account's id
  // and the run, never reachable from another account.
  const std::string& run = query.Value("abgleichid");
  if (!run.empty() && !IsUsableGlobalId(run)) return Error("Ungültiger Abgleich");
  const std::string keptFor = run.empty() ? userId : userId + "/" + run;
  const std::int64_t now = clock_();
  const std::int64_t oldestKept = now - kKeptPartSeconds;
  if (part == "teil") {
    if (!store_.KeepStamps(keptFor, kind, stamps, now, oldestKept, kMaxCompareItems)) {
      return Error("Zu viele Einträge im Abgleich");
    }
    return "ok";
  }
  std::vector<ChangeStamp> all = store_.TakeStamps(keptFor, kind, oldestKept);
  if (all.size() + stamps.size() > kMaxCompareItems) return Error("Zu viele Einträge im Abgleich");
  all.insert(all.end(), std::make_move_iterator(stamps.begin()), std::make_move_iterator(stamps.end()));

  const ItemState state = store_.LoadItems(userId, kind);
  const CompareOutcome outcome = CompareStamps(all, state, FieldIndex(kind, "geaendert_am"));
  const auto id = [](const std::string& globalId) -> const std::string& { return globalId; };
  const auto entry = [&](std::size_t position) { return FormatEntry(kind, state.live[position]); };
  std::string reply = Join(outcome.deletedOnService, "|", id);
  reply += kSectionSeparator;
  reply += Join(outcome.missingOnClient, kEntrySeparator, entry);
  reply += kSectionSeparator;
  reply += Join(outcome.newerOnClient, ",", id);
  reply += kSectionSeparator;
  reply += Join(outcome.newerOnService, kEntrySeparator, entry);
  return reply;
}

std::string ServiceActions::ChangeItem(const Query& query, ItemKind kind) {
  const std::string& globalId = query.Value("global_id");
  if (!IsUsableGlobalId(globalId)) return Error("Ungültige globale ID");
  store_.PutItem(query.Value("userid"), kind, ChangeFromQuery(query, kind, globalId), clock_());
  return "ok";
}

std::string NormalizeEmail(std::string_view email) {
  const std::size_t first = email.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = email.find_last_not_of(" \t");
  std::string normalized(email.substr(first, last - first + 1));
  for (char& c : normalized) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return normalized;
}

std::string ActionOfQuery(std::string_view rawQuery) {
  std::string problem;
  const std::optional<Query> query =
      Query::Parse(rawQuery.substr(0, std::min(rawQuery.size(), std::size_t{1} << 16)), problem);
  if (!query) return "?";
  std::string action = query->Value("aktion").substr(0, 32);
  for (char& c : action) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  }
  return action;
}

}  // namespace psalmora::server
