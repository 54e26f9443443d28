// What the song-management service keeps, behind an interface so a database other than SQLite can take
// its place without touching the protocol code: accounts, each account's songs and selections ("items",
// matched by global id), the global ids each account deleted (so its other computers learn of it), and
// the compare items an account sends in several parts. Every row belongs to one account; no call reaches
// another account's rows. Failures of the database throw StoreError.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora::server {

enum class ItemKind { kSong, kSelection };

// The fields of an item besides its global id, named as the requests name them; the store's columns
// carry the same names.
inline constexpr std::array<std::string_view, 16> kSongFields = {
    "id",           "titel",         "textumusik", "copyright",       "ccli_liednummer", "akkordzeile",
    "bemerkung",    "link1",         "songtempo",  "liedtext",        "erstellt_am",     "erstellt_von",
    "geaendert_am", "geaendert_von", "tonart",     "textformatierung"};
inline constexpr std::array<std::string_view, 7> kSelectionFields = {
    "name", "allesongids", "rechte", "erstellt_am", "erstellt_von", "geaendert_am", "geaendert_von"};

std::span<const std::string_view> ItemFields(ItemKind kind);
// Position of a field in ItemFields(kind); the name must be one of them.
std::size_t FieldIndex(ItemKind kind, std::string_view name);

// A stored item: its values in the order of ItemFields.
struct Item {
  std::string globalId;
  std::vector<std::string> values;
};

// A new or changed item: nullopt leaves a value as it is (empty on a new item).
struct ItemChange {
  std::string globalId;
  std::vector<std::optional<std::string>> values;
};

// The live items of an account (oldest first) and the global ids it deleted.
struct ItemState {
  std::vector<Item> live;
  std::vector<std::string> deleted;
};

struct Account {
  std::string userId;
  std::string email;
  std::string passwordHash;
};

// One compare item of a client: a global id and the change date it has.
struct ChangeStamp {
  std::string globalId;
  std::string changedAt;
};

// A data pool: a team whose members see each other's shown song. Its id is a decimal number that the
// members enter as their group's pool id.
struct PoolMember {
  std::string userId;
  std::string email;
};
struct Pool {
  std::string id;
  std::string name;
  std::vector<PoolMember> members;  // in the order they were added
};

enum class PutOutcome { kCreated, kUpdated, kIgnoredDeleted };

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ServiceStore {
 public:
  virtual ~ServiceStore() = default;

  // False when the e-mail address (or the user id) already has an account.
  virtual bool AddAccount(const Account& account) = 0;
  virtual std::optional<Account> FindAccountByEmail(std::string_view email) = 0;
  virtual bool HasAccount(std::string_view userId) = 0;

  // Stores a new item under a global id the caller made; false when the account already has that id.
  virtual bool AddItem(std::string_view userId, ItemKind kind, const ItemChange& item) = 0;
  // Updates the item with that global id, or creates it (with "erstellt_am" = now when not given) unless
  // the account deleted that id.
  virtual PutOutcome PutItem(std::string_view userId, ItemKind kind, const ItemChange& item, std::int64_t now) = 0;
  // Deletes these items of the account and remembers every id as deleted.
  virtual void DeleteItems(std::string_view userId, ItemKind kind, const std::vector<std::string>& globalIds,
                           std::int64_t now) = 0;
  // One consistent view of the account's items of a kind.
  virtual ItemState LoadItems(std::string_view userId, ItemKind kind) = 0;

  // Compare items that arrive in parts. Both calls first drop the account's kept items received before
  // oldestKept. Keep adds the stamps, or keeps nothing and returns false when the account would then hold
  // more than limit. Take returns the kept stamps in arrival order and forgets them.
  virtual bool KeepStamps(std::string_view userId, ItemKind kind, const std::vector<ChangeStamp>& stamps,
                          std::int64_t now, std::int64_t oldestKept, std::size_t limit) = 0;
  virtual std::vector<ChangeStamp> TakeStamps(std::string_view userId, ItemKind kind, std::int64_t oldestKept) = 0;

  // Data pools. AddPool makes the pool when no pool has that name, else adds the accounts to it (an
  // account already in it stays once); returns the pool's id.
  virtual std::string AddPool(std::string_view name, const std::vector<std::string>& userIds) = 0;
  virtual std::optional<Pool> FindPool(std::string_view poolId) = 0;
};

}  // namespace psalmora::server
