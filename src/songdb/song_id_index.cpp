#include "songdb/song_id_index.h"

#include "core/record_fields.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

// The key a record is found by, and in which of the two maps.
struct Key {
  bool inTrash;
  std::string_view id;
};

Key KeyOf(std::string_view record) {
  const bool inTrash = IsDeletedRecord(record);
  return {inTrash, RecordField(record, inTrash ? 2 : 1)};
}

}  // namespace

void SongIdIndex::Rebuild(const std::vector<std::string>& list) {
  active_.clear();
  trash_.clear();
  for (std::size_t position = 0; position < list.size(); ++position) Add(list[position], list.size() - 1 - position);
}

void SongIdIndex::AddedAtTop(const std::vector<std::string>& list) {
  Add(list.front(), list.size() - 1);
}

void SongIdIndex::Replaced(const std::vector<std::string>& list, std::size_t position, const std::string& old) {
  const Key before = KeyOf(old);
  const Key after = KeyOf(list[position]);
  if (before.inTrash == after.inTrash && before.id == after.id) return;
  const std::size_t fromEnd = list.size() - 1 - position;
  Remove(list, old, fromEnd);
  Add(list[position], fromEnd);
}

void SongIdIndex::Add(const std::string& record, std::size_t fromEnd) {
  const Key key = KeyOf(record);
  auto [entry, added] = (key.inTrash ? trash_ : active_).try_emplace(std::string(key.id), Entry{fromEnd, 0});
  if (entry->second.fromEnd < fromEnd) entry->second.fromEnd = fromEnd;
  ++entry->second.count;
}

void SongIdIndex::Remove(const std::vector<std::string>& list, const std::string& record, std::size_t fromEnd) {
  const Key key = KeyOf(record);
  Map& map = key.inTrash ? trash_ : active_;
  const auto entry = map.find(key.id);
  if (entry == map.end()) return;
  if (--entry->second.count == 0) {
    map.erase(entry);
    return;
  }
  if (entry->second.fromEnd != fromEnd) return;
  // The topmost of several records with one id went (a rare list with a doubled id): find the next.
  for (std::size_t position = 0; position < list.size(); ++position) {
    const Key other = KeyOf(list[position]);
    if (other.inTrash == key.inTrash && other.id == key.id && list.size() - 1 - position != fromEnd) {
      entry->second.fromEnd = list.size() - 1 - position;
      return;
    }
  }
}

std::optional<std::size_t> SongIdIndex::Position(const Map& map, const std::vector<std::string>& list,
                                                 std::string_view id) {
  const auto entry = map.find(id);
  if (entry == map.end() || entry->second.fromEnd >= list.size()) return std::nullopt;
  return list.size() - 1 - entry->second.fromEnd;
}

std::optional<std::size_t> SongIdIndex::ActivePosition(const std::vector<std::string>& list,
                                                       std::string_view id) const {
  if (id == kDeletedMarker) return std::nullopt;
  return Position(active_, list, id);
}

std::optional<std::size_t> SongIdIndex::TrashPosition(const std::vector<std::string>& list, std::string_view id) const {
  return Position(trash_, list, id);
}

std::size_t SongIdIndex::ActiveCount(std::string_view id) const {
  const auto entry = active_.find(id);
  return entry == active_.end() ? 0 : entry->second.count;
}

}  // namespace psalmora
