// Where the songs of the song list are, by id: the active records by field 1 and the records in the
// trash by their id (field 2), so finding a song costs the same in a list of 200,000 as in one of 20.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace psalmora {

// Kept in step with every change of the list by its owner (SongStore). Positions are held counted
// from the end of the list, so a record put at the top moves no other entry.
class SongIdIndex {
 public:
  void Rebuild(const std::vector<std::string>& list);
  // list[0] was just put in front of the others.
  void AddedAtTop(const std::vector<std::string>& list);
  // list[position] was just set; before, it held old.
  void Replaced(const std::vector<std::string>& list, std::size_t position, const std::string& old);

  // The topmost active record whose field 1 is id. The trash marker is no id: nothing for it.
  std::optional<std::size_t> ActivePosition(const std::vector<std::string>& list, std::string_view id) const;
  // The topmost record in the trash of the song id.
  std::optional<std::size_t> TrashPosition(const std::vector<std::string>& list, std::string_view id) const;
  // How many active records have field 1 id.
  std::size_t ActiveCount(std::string_view id) const;

 private:
  struct Entry {
    std::size_t fromEnd = 0;  // of the topmost record with the key
    std::size_t count = 0;    // records with the key
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  using Map = std::unordered_map<std::string, Entry, Hash, std::equal_to<>>;

  void Add(const std::string& record, std::size_t fromEnd);
  void Remove(const std::vector<std::string>& list, const std::string& record, std::size_t fromEnd);
  static std::optional<std::size_t> Position(const Map& map, const std::vector<std::string>& list, std::string_view id);

  Map active_;
  Map trash_;
};

}  // namespace psalmora
