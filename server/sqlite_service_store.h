// The service store in one SQLite file (WAL mode). Safe to use from many threads at once: each call
// borrows a connection of its own; writers of this process queue on a mutex instead of spinning on
// SQLite's busy handler, which remains for other processes (adduser while the server runs).
#pragma once

#include <filesystem>
#include <mutex>

#include "server/service_store.h"
#include "server/sqlite_connection.h"

namespace psalmora::server {

class SqliteServiceStore final : public ServiceStore {
 public:
  // Opens or creates the database and its tables; throws StoreError when it cannot.
  explicit SqliteServiceStore(const std::filesystem::path& file);

  bool AddAccount(const Account& account) override;
  std::optional<Account> FindAccountByEmail(std::string_view email) override;
  bool HasAccount(std::string_view userId) override;

  bool AddItem(std::string_view userId, ItemKind kind, const ItemChange& item) override;
  PutOutcome PutItem(std::string_view userId, ItemKind kind, const ItemChange& item, std::int64_t now) override;
  void DeleteItems(std::string_view userId, ItemKind kind, const std::vector<std::string>& globalIds,
                   std::int64_t now) override;
  ItemState LoadItems(std::string_view userId, ItemKind kind) override;

  bool KeepStamps(std::string_view userId, ItemKind kind, const std::vector<ChangeStamp>& stamps, std::int64_t now,
                  std::int64_t oldestKept, std::size_t limit) override;
  std::vector<ChangeStamp> TakeStamps(std::string_view userId, ItemKind kind, std::int64_t oldestKept) override;

  std::string AddPool(std::string_view name, const std::vector<std::string>& userIds) override;
  std::optional<Pool> FindPool(std::string_view poolId) override;

 private:
  SqliteConnectionPool pool_;
  std::mutex writeMutex_;
};

}  // namespace psalmora::server
