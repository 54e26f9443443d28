// A thin layer over the SQLite C API: statements and connections that clean up after themselves, a
// transaction that rolls back unless committed, and a pool that lends each server thread a connection of
// its own (with its prepared statements) so reads run side by side in WAL mode. Failures throw StoreError.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace psalmora::server {

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Ready for new bindings (also ends a read that was not stepped to its end).
  void Reset();
  void Bind(int index, std::string_view text);
  void Bind(int index, std::int64_t value);
  // NULL for nullopt.
  void BindOptional(int index, const std::optional<std::string>& text);
  // True while a row is ready; false when done.
  bool Step();
  // Steps a statement that returns no rows.
  void Run();
  std::string Text(int column) const;
  std::int64_t Int(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class SqliteConnection {
 public:
  explicit SqliteConnection(const std::string& path);
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  void Exec(const std::string& sql);
  // The statement for this SQL text, prepared once per connection and reset for new bindings.
  SqliteStatement& Prepared(const std::string& sql);
  // Rows changed by the last statement.
  int Changes() const;
  // Resets every statement, so none keeps a read open while the connection waits in the pool.
  void ResetAll();

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};

// BEGIN IMMEDIATE for writes (the write lock at once, so two writers never deadlock on an upgrade),
// BEGIN for reads; rolls back when destroyed without Commit.
class SqliteTransaction {
 public:
  SqliteTransaction(SqliteConnection& connection, bool write);
  ~SqliteTransaction();
  SqliteTransaction(const SqliteTransaction&) = delete;
  SqliteTransaction& operator=(const SqliteTransaction&) = delete;
  void Commit();

 private:
  SqliteConnection& connection_;
  bool open_ = true;
};

class SqliteConnectionPool {
 public:
  explicit SqliteConnectionPool(std::string path);

  class Lease {
   public:
    Lease(SqliteConnectionPool& pool, std::unique_ptr<SqliteConnection> connection);
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    SqliteConnection& operator*() const { return *connection_; }
    SqliteConnection* operator->() const { return connection_.get(); }

   private:
    SqliteConnectionPool& pool_;
    std::unique_ptr<SqliteConnection> connection_;
  };

  // An idle connection, or a new one when all are lent.
  Lease Acquire();

 private:
  void Return(std::unique_ptr<SqliteConnection> connection);

  std::string path_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<SqliteConnection>> idle_;
};

}  // namespace psalmora::server
