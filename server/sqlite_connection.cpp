// The SQLite wrappers of the service store.
#include "server/sqlite_connection.h"

#include <sqlite3.h>

#include <climits>

#include "server/service_store.h"

namespace psalmora::server {

namespace {

// How long a connection waits for another process's write lock (adduser while the server runs).
constexpr int kBusyTimeoutMs = 10000;

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
  throw StoreError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
  if (sql.size() > INT_MAX || sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()),
                                                 SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK) {
    Fail(db, "cannot prepare statement");
  }
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(statement_);
}

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void SqliteStatement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK) {
    Fail(db_, "cannot bind value");
  }
}

void SqliteStatement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) Fail(db_, "cannot bind value");
}

void SqliteStatement::BindOptional(int index, const std::optional<std::string>& text) {
  if (text) {
    Bind(index, std::string_view(*text));
  } else if (sqlite3_bind_null(statement_, index) != SQLITE_OK) {
    Fail(db_, "cannot bind value");
  }
}

bool SqliteStatement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  Fail(db_, "database statement failed");
}

void SqliteStatement::Run() {
  while (Step()) {
  }
}

std::string SqliteStatement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(statement_, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::int64_t SqliteStatement::Int(int column) const {
  return sqlite3_column_int64(statement_, column);
}

SqliteConnection::SqliteConnection(const std::string& path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("cannot open database " + path + ": " + message);
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  sqlite3_extended_result_codes(db_, 1);
  try {
    Exec("PRAGMA journal_mode=WAL");
    // In WAL mode NORMAL loses no committed data when the server crashes, only on a power cut before
    // the next checkpoint; the full sync per request would cost more than the rest of the request.
    Exec("PRAGMA synchronous=NORMAL");
    Exec("PRAGMA foreign_keys=ON");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteConnection::~SqliteConnection() {
  statements_.clear();
  sqlite3_close(db_);
}

void SqliteConnection::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw StoreError("database command failed: " + text);
  }
}

SqliteStatement& SqliteConnection::Prepared(const std::string& sql) {
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    found = statements_.emplace(sql, std::make_unique<SqliteStatement>(db_, sql)).first;
  }
  found->second->Reset();
  return *found->second;
}

int SqliteConnection::Changes() const {
  return sqlite3_changes(db_);
}

void SqliteConnection::ResetAll() {
  for (auto& [sql, statement] : statements_) statement->Reset();
}

SqliteTransaction::SqliteTransaction(SqliteConnection& connection, bool write) : connection_(connection) {
  connection_.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
}

SqliteTransaction::~SqliteTransaction() {
  if (!open_) return;
  try {
    connection_.ResetAll();
    connection_.Exec("ROLLBACK");
  } catch (const StoreError&) {
    // Nothing more to do: SQLite rolls back by itself when it could not.
  }
}

void SqliteTransaction::Commit() {
  connection_.ResetAll();
  connection_.Exec("COMMIT");
  open_ = false;
}

SqliteConnectionPool::SqliteConnectionPool(std::string path) : path_(std::move(path)) {}

SqliteConnectionPool::Lease::Lease(SqliteConnectionPool& pool, std::unique_ptr<SqliteConnection> connection)
    : pool_(pool), connection_(std::move(connection)) {}

SqliteConnectionPool::Lease::~Lease() {
  pool_.Return(std::move(connection_));
}

SqliteConnectionPool::Lease SqliteConnectionPool::Acquire() {
  {
    std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<SqliteConnection> connection = std::move(idle_.back());
      idle_.pop_back();
      return Lease(*this, std::move(connection));
    }
  }
  return Lease(*this, std::make_unique<SqliteConnection>(path_));
}

void SqliteConnectionPool::Return(std::unique_ptr<SqliteConnection> connection) {
  connection->ResetAll();
  std::lock_guard lock(mutex_);
  idle_.push_back(std::move(connection));
}

}  // namespace psalmora::server
