// The SQL of the service store. Items of both kinds share the code: the table and its columns come from
// the kind's field table.
#include "server/sqlite_service_store.h"

#include <algorithm>

namespace psalmora::server {

namespace {

constexpr int kSchemaVersion = 2;
// Pool ids start above the numbers the program gives a meaning of its own (pool 43 is converted away by
// the synchronisation).
constexpr std::int64_t kFirstPoolId = 101;

const char* ItemTable(ItemKind kind) {
  return kind == ItemKind::kSong ? "songs" : "selections";
}

std::int64_t KindNumber(ItemKind kind) {
  return kind == ItemKind::kSong ? 0 : 1;
}

std::string ColumnList(ItemKind kind) {
  std::string columns;
  for (std::string_view field : ItemFields(kind)) {
    columns += ", ";
    columns += field;
  }
  return columns;
}

std::string CreateItemTable(ItemKind kind) {
  std::string sql = "CREATE TABLE IF NOT EXISTS " + std::string(ItemTable(kind)) +
                    " (user_id TEXT NOT NULL REFERENCES accounts(user_id), global_id TEXT NOT NULL";
  for (std::string_view field : ItemFields(kind)) {
    sql += ", ";
    sql += field;
    sql += " TEXT NOT NULL DEFAULT ''";
  }
  return sql + ", PRIMARY KEY (user_id, global_id))";
}

void CreateSchema(SqliteConnection& connection) {
  SqliteTransaction transaction(connection, true);
  connection.Exec(
      "CREATE TABLE IF NOT EXISTS accounts (user_id TEXT PRIMARY KEY, email TEXT NOT NULL UNIQUE, "
      "password_hash TEXT NOT NULL)");
  connection.Exec(CreateItemTable(ItemKind::kSong));
  connection.Exec(CreateItemTable(ItemKind::kSelection));
  connection.Exec(
      "CREATE TABLE IF NOT EXISTS deleted_items (user_id TEXT NOT NULL, kind INTEGER NOT NULL, "
      "global_id TEXT NOT NULL, deleted_at INTEGER NOT NULL, PRIMARY KEY (user_id, kind, global_id)) WITHOUT ROWID");
  connection.Exec(
      "CREATE TABLE IF NOT EXISTS kept_stamps (user_id TEXT NOT NULL, kind INTEGER NOT NULL, "
      "global_id TEXT NOT NULL, changed_at TEXT NOT NULL, received_at INTEGER NOT NULL)");
  connection.Exec("CREATE INDEX IF NOT EXISTS kept_stamps_by_user ON kept_stamps (user_id, kind, received_at)");
  connection.Exec("CREATE INDEX IF NOT EXISTS kept_stamps_by_age ON kept_stamps (received_at)");
  connection.Exec("CREATE TABLE IF NOT EXISTS pools (pool_id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)");
  connection.Exec(
      "CREATE TABLE IF NOT EXISTS pool_members (pool_id INTEGER NOT NULL REFERENCES pools(pool_id), "
      "user_id TEXT NOT NULL REFERENCES accounts(user_id), added INTEGER NOT NULL, "
      "PRIMARY KEY (pool_id, user_id)) WITHOUT ROWID");
  connection.Exec("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  transaction.Commit();
}

bool IsDeleted(SqliteConnection& connection, std::string_view userId, ItemKind kind, std::string_view globalId) {
  SqliteStatement& query =
      connection.Prepared("SELECT 1 FROM deleted_items WHERE user_id = ?1 AND kind = ?2 AND global_id = ?3");
  query.Bind(1, userId);
  query.Bind(2, KindNumber(kind));
  query.Bind(3, globalId);
  const bool deleted = query.Step();
  query.Reset();
  return deleted;
}

// Every account's and every compare run's old parts go, so a run that was never finished (a client
// that lost its connection) leaves nothing behind for long.
void DropOldStamps(SqliteConnection& connection, std::int64_t oldestKept) {
  SqliteStatement& drop = connection.Prepared("DELETE FROM kept_stamps WHERE received_at < ?1");
  drop.Bind(1, oldestKept);
  drop.Run();
}

}  // namespace

SqliteServiceStore::SqliteServiceStore(const std::filesystem::path& file) : pool_(file.string()) {
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  CreateSchema(*connection);
}

bool SqliteServiceStore::AddAccount(const Account& account) {
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  SqliteStatement& exists = connection->Prepared("SELECT 1 FROM accounts WHERE user_id = ?1 OR email = ?2");
  exists.Bind(1, account.userId);
  exists.Bind(2, account.email);
  if (exists.Step()) return false;
  SqliteStatement& insert =
      connection->Prepared("INSERT INTO accounts (user_id, email, password_hash) VALUES (?1, ?2, ?3)");
  insert.Bind(1, account.userId);
  insert.Bind(2, account.email);
  insert.Bind(3, account.passwordHash);
  insert.Run();
  transaction.Commit();
  return true;
}

std::optional<Account> SqliteServiceStore::FindAccountByEmail(std::string_view email) {
  auto connection = pool_.Acquire();
  SqliteStatement& query = connection->Prepared("SELECT user_id, email, password_hash FROM accounts WHERE email = ?1");
  query.Bind(1, email);
  if (!query.Step()) return std::nullopt;
  Account account{query.Text(0), query.Text(1), query.Text(2)};
  query.Reset();
  return account;
}

bool SqliteServiceStore::HasAccount(std::string_view userId) {
  auto connection = pool_.Acquire();
  SqliteStatement& query = connection->Prepared("SELECT 1 FROM accounts WHERE user_id = ?1");
  query.Bind(1, userId);
  const bool found = query.Step();
  query.Reset();
  return found;
}

bool SqliteServiceStore::AddItem(std::string_view userId, ItemKind kind, const ItemChange& item) {
  const std::size_t count = ItemFields(kind).size();
  std::string sql = "INSERT OR IGNORE INTO " + std::string(ItemTable(kind)) + " (user_id, global_id" +
                    ColumnList(kind) + ") VALUES (?1, ?2";
  for (std::size_t i = 0; i < count; ++i) sql += ", coalesce(?" + std::to_string(i + 3) + ", '')";
  sql += ")";
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteStatement& insert = connection->Prepared(sql);
  insert.Bind(1, userId);
  insert.Bind(2, item.globalId);
  for (std::size_t i = 0; i < count; ++i) insert.BindOptional(static_cast<int>(i + 3), item.values.at(i));
  insert.Run();
  return connection->Changes() == 1;
}

PutOutcome SqliteServiceStore::PutItem(std::string_view userId, ItemKind kind, const ItemChange& item,
                                       std::int64_t now) {
  const std::span<const std::string_view> fields = ItemFields(kind);
  std::string update = "UPDATE " + std::string(ItemTable(kind)) + " SET ";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) update += ", ";
    update += std::string(fields[i]) + " = coalesce(?" + std::to_string(i + 3) + ", " + std::string(fields[i]) + ")";
  }
  update += " WHERE user_id = ?1 AND global_id = ?2";

  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  if (IsDeleted(*connection, userId, kind, item.globalId)) return PutOutcome::kIgnoredDeleted;
  SqliteStatement& change = connection->Prepared(update);
  change.Bind(1, userId);
  change.Bind(2, item.globalId);
  for (std::size_t i = 0; i < fields.size(); ++i) change.BindOptional(static_cast<int>(i + 3), item.values.at(i));
  change.Run();
  PutOutcome outcome = PutOutcome::kUpdated;
  if (connection->Changes() == 0) {
    ItemChange created = item;
    std::optional<std::string>& createdAt = created.values.at(FieldIndex(kind, "erstellt_am"));
    if (!createdAt || createdAt->empty()) createdAt = std::to_string(now);
    std::string sql =
        "INSERT INTO " + std::string(ItemTable(kind)) + " (user_id, global_id" + ColumnList(kind) + ") VALUES (?1, ?2";
    for (std::size_t i = 0; i < fields.size(); ++i) sql += ", coalesce(?" + std::to_string(i + 3) + ", '')";
    sql += ")";
    SqliteStatement& insert = connection->Prepared(sql);
    insert.Bind(1, userId);
    insert.Bind(2, created.globalId);
    for (std::size_t i = 0; i < fields.size(); ++i) insert.BindOptional(static_cast<int>(i + 3), created.values.at(i));
    insert.Run();
    outcome = PutOutcome::kCreated;
  }
  transaction.Commit();
  return outcome;
}

void SqliteServiceStore::DeleteItems(std::string_view userId, ItemKind kind, const std::vector<std::string>& globalIds,
                                     std::int64_t now) {
  const std::string remove = "DELETE FROM " + std::string(ItemTable(kind)) + " WHERE user_id = ?1 AND global_id = ?2";
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  for (const std::string& globalId : globalIds) {
    SqliteStatement& item = connection->Prepared(remove);
    item.Bind(1, userId);
    item.Bind(2, globalId);
    item.Run();
    SqliteStatement& mark = connection->Prepared(
        "INSERT OR IGNORE INTO deleted_items (user_id, kind, global_id, deleted_at) VALUES (?1, ?2, ?3, ?4)");
    mark.Bind(1, userId);
    mark.Bind(2, KindNumber(kind));
    mark.Bind(3, globalId);
    mark.Bind(4, now);
    mark.Run();
  }
  transaction.Commit();
}

ItemState SqliteServiceStore::LoadItems(std::string_view userId, ItemKind kind) {
  const std::size_t count = ItemFields(kind).size();
  const std::string select = "SELECT global_id" + ColumnList(kind) + " FROM " + std::string(ItemTable(kind)) +
                             " WHERE user_id = ?1 ORDER BY rowid";
  auto connection = pool_.Acquire();
  SqliteTransaction transaction(*connection, false);
  ItemState state;
  SqliteStatement& items = connection->Prepared(select);
  items.Bind(1, userId);
  while (items.Step()) {
    Item item;
    item.globalId = items.Text(0);
    item.values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) item.values.push_back(items.Text(static_cast<int>(i + 1)));
    state.live.push_back(std::move(item));
  }
  SqliteStatement& deleted =
      connection->Prepared("SELECT global_id FROM deleted_items WHERE user_id = ?1 AND kind = ?2 ORDER BY global_id");
  deleted.Bind(1, userId);
  deleted.Bind(2, KindNumber(kind));
  while (deleted.Step()) state.deleted.push_back(deleted.Text(0));
  transaction.Commit();
  return state;
}

bool SqliteServiceStore::KeepStamps(std::string_view userId, ItemKind kind, const std::vector<ChangeStamp>& stamps,
                                    std::int64_t now, std::int64_t oldestKept, std::size_t limit) {
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  DropOldStamps(*connection, oldestKept);
  SqliteStatement& count = connection->Prepared("SELECT count(*) FROM kept_stamps WHERE user_id = ?1 AND kind = ?2");
  count.Bind(1, userId);
  count.Bind(2, KindNumber(kind));
  count.Step();
  const auto kept = static_cast<std::size_t>(count.Int(0));
  count.Reset();
  if (kept + stamps.size() > limit) {
    transaction.Commit();
    return false;
  }
  for (const ChangeStamp& stamp : stamps) {
    SqliteStatement& insert = connection->Prepared(
        "INSERT INTO kept_stamps (user_id, kind, global_id, changed_at, received_at) VALUES (?1, ?2, ?3, ?4, ?5)");
    insert.Bind(1, userId);
    insert.Bind(2, KindNumber(kind));
    insert.Bind(3, stamp.globalId);
    insert.Bind(4, stamp.changedAt);
    insert.Bind(5, now);
    insert.Run();
  }
  transaction.Commit();
  return true;
}

std::vector<ChangeStamp> SqliteServiceStore::TakeStamps(std::string_view userId, ItemKind kind,
                                                        std::int64_t oldestKept) {
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  DropOldStamps(*connection, oldestKept);
  std::vector<ChangeStamp> stamps;
  SqliteStatement& query = connection->Prepared(
      "SELECT global_id, changed_at FROM kept_stamps WHERE user_id = ?1 AND kind = ?2 ORDER BY rowid");
  query.Bind(1, userId);
  query.Bind(2, KindNumber(kind));
  while (query.Step()) stamps.push_back({query.Text(0), query.Text(1)});
  SqliteStatement& forget = connection->Prepared("DELETE FROM kept_stamps WHERE user_id = ?1 AND kind = ?2");
  forget.Bind(1, userId);
  forget.Bind(2, KindNumber(kind));
  forget.Run();
  transaction.Commit();
  return stamps;
}

std::string SqliteServiceStore::AddPool(std::string_view name, const std::vector<std::string>& userIds) {
  auto connection = pool_.Acquire();
  std::lock_guard lock(writeMutex_);
  SqliteTransaction transaction(*connection, true);
  SqliteStatement& find = connection->Prepared("SELECT pool_id FROM pools WHERE name = ?1");
  find.Bind(1, name);
  std::int64_t poolId = 0;
  if (find.Step()) {
    poolId = find.Int(0);
    find.Reset();
  } else {
    SqliteStatement& next = connection->Prepared("SELECT coalesce(max(pool_id) + 1, ?1) FROM pools");
    next.Bind(1, kFirstPoolId);
    next.Step();
    poolId = std::max(next.Int(0), kFirstPoolId);
    next.Reset();
    SqliteStatement& insert = connection->Prepared("INSERT INTO pools (pool_id, name) VALUES (?1, ?2)");
    insert.Bind(1, poolId);
    insert.Bind(2, name);
    insert.Run();
  }
  for (const std::string& userId : userIds) {
    SqliteStatement& member = connection->Prepared(
        "INSERT OR IGNORE INTO pool_members (pool_id, user_id, added) "
        "VALUES (?1, ?2, (SELECT count(*) FROM pool_members WHERE pool_id = ?1))");
    member.Bind(1, poolId);
    member.Bind(2, userId);
    member.Run();
  }
  transaction.Commit();
  return std::to_string(poolId);
}

std::optional<Pool> SqliteServiceStore::FindPool(std::string_view poolId) {
  // Only a plain decimal number names a pool ("0101" or "101 " do not).
  if (poolId.empty() || poolId.size() > 18 || poolId.front() == '0') return std::nullopt;
  for (char c : poolId) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  auto connection = pool_.Acquire();
  SqliteTransaction transaction(*connection, false);
  SqliteStatement& find = connection->Prepared("SELECT pool_id, name FROM pools WHERE pool_id = ?1");
  find.Bind(1, static_cast<std::int64_t>(std::stoll(std::string(poolId))));
  if (!find.Step()) return std::nullopt;
  Pool pool{std::to_string(find.Int(0)), find.Text(1), {}};
  find.Reset();
  SqliteStatement& members = connection->Prepared(
      "SELECT m.user_id, a.email FROM pool_members m JOIN accounts a ON a.user_id = m.user_id "
      "WHERE m.pool_id = ?1 ORDER BY m.added");
  members.Bind(1, static_cast<std::int64_t>(std::stoll(pool.id)));
  while (members.Step()) pool.members.push_back({members.Text(0), members.Text(1)});
  transaction.Commit();
  return pool;
}

}  // namespace psalmora::server
