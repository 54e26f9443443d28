// The song store: the index "lieder.dat" held in memory as SongList, the id counter "id.dat" and one
// text file per song. Every change of the list is followed by SaveSongList, so the file mirrors memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/data_folder.h"
#include "core/file_stamp.h"
#include "songdb/song_id_index.h"

namespace psalmora {

// First field of a song in the trash ("#gelöscht#" in Windows-1252); its other fields follow shifted by one.
inline constexpr std::string_view kDeletedMarker = "#gel\xF6scht#";

// True for a record whose first field is the trash marker.
bool IsDeletedRecord(std::string_view record);

// The song's id whether it is active or in the trash (field 2 after the marker).
std::string_view SongIdOfRecord(std::string_view record);

// True when id is a decimal whole number: only such ids name song text files.
bool IsValidSongId(std::string_view id);

// "<dataFolder>/<id>.dat"; empty for an id that is not a decimal number. Only such ids name song text
// files, so no record can point a reader or a writer outside the data folder.
std::filesystem::path SongTextFile(const std::filesystem::path& dataFolder, std::string_view id);

// The leading-number counter parse of an "id.dat" content; a missing, negative or non-numeric line gives 0.
long long ParseIdCounter(std::string_view content);

class SongStore {
 public:
  SongStore() = default;
  explicit SongStore(DataFiles files);

  const DataFiles& Files() const { return files_; }

  // Replaces SongList with the lines of "lieder.dat" (empty when the file is missing or cannot be read).
  void LoadSongList();
  // Reads "lieder.dat" again when another writer changed it since this store read or wrote it, so a
  // change never writes over theirs. Every operation that changes the list calls it before it starts;
  // true when the list was read again (the observer has been told).
  bool ReloadIfChanged();
  // Told whenever SongList was read again because the file changed on disk or a failed save put it
  // back as the disk holds it, so the lists on screen can be refilled. One observer; an empty function
  // detaches it.
  using ReloadObserver = std::function<void()>;
  void SetReloadObserver(ReloadObserver observer) { reloadObserver_ = std::move(observer); }
  // True after LoadSongList found "lieder.dat" but could not read it. The list is then empty although
  // songs exist, so SaveSongList refuses to write it over the file until a load succeeds.
  bool SongListUnreadable() const { return songListUnreadable_; }
  // Writes SongList to "lieder.dat" atomically, each line followed by CR LF. A failure keeps the old
  // file, goes to stderr and returns false; the list is then read again, so memory never holds a
  // change the disk does not (the reload observer is told).
  bool SaveSongList();

  // The counter value in "id.dat" (0 when missing or not a number).
  long long ReadIdCounter() const;
  // Hands out the next id and writes it to "id.dat" at once. Never an id that a record (active or in
  // the trash) already has or whose text file exists, even when "id.dat" was lost or is behind. The
  // counter is read from disk each time and the list first brought up to date (ReloadIfChanged).
  // Empty, with nothing written, while "lieder.dat" is unreadable.
  std::string NextSongId();
  // count ids at once, by the same rules, with "id.dat" written once: an import of many songs does not
  // wait for the disk once per song. Empty while "lieder.dat" is unreadable.
  std::vector<std::string> NextSongIds(std::size_t count);

  // "<folder>/<id>.dat"; empty for an id that is not a decimal number.
  std::filesystem::path SongTextPath(std::string_view id) const;
  // The song text file as stored (with its final CR LF), or nothing when it cannot be read.
  std::optional<std::string> ReadSongText(std::string_view id) const;
  // Writes text followed by CR LF atomically. Nothing happens for an empty or non-numeric id.
  bool WriteSongText(std::string_view id, std::string_view text);
  // Removes the song's text file; true when it is gone afterwards (a missing file counts as gone).
  bool RemoveSongText(std::string_view id);

  // Told after every song text written or removed through this store: the file's new bytes, or null
  // when the file is gone or its content is unknown (a failed write). Lets a cache of texts stay
  // current without reading the file again. One observer; an empty function detaches it.
  using SongTextObserver = std::function<void(std::string_view id, const std::string* bytes)>;
  void SetSongTextObserver(SongTextObserver observer) { textObserver_ = std::move(observer); }

  // Stores a song in the order that survives a crash at any point: its text first, then its record in
  // SongList (at the top for a new song, else in place of every record of the id) and the list saved.
  // The list is the commit, so it never names a new song whose text is missing. Nothing is written
  // while the list is unreadable, and the list is not touched when the text cannot be written; a new
  // song whose list cannot be saved has its text file removed again.
  struct SongWrite {
    bool textSaved = false;
    bool listSaved = false;
  };
  SongWrite StoreSong(std::string_view id, std::string record, std::string_view text, bool isNew);

  // The first active record whose field 1 equals id exactly, or the id itself when there is none.
  // Found through an index, not by walking the list.
  std::string FindSongRecord(std::string_view id) const;
  // Position of that record, if there is one.
  std::optional<std::size_t> FindSongPosition(std::string_view id) const;
  // Position of the first record in the trash of the song id, if there is one.
  std::optional<std::size_t> FindTrashPosition(std::string_view id) const;

  const std::vector<std::string>& SongList() const { return songList_; }
  // Changes whenever SongList may have changed, and is never the same for two different lists, even of
  // two stores: a cache built from SongList stays valid while it is unchanged.
  std::uint64_t ListRevision() const { return listRevision_; }

  // List changes, each keeping the index in step; the caller ends its operation with SaveSongList.
  void InsertSongAtTop(std::string record);
  // Replaces every active record whose field 1 equals id; false when there was none.
  bool ReplaceSongRecord(std::string_view id, const std::string& record);
  void SetSongAt(std::size_t position, std::string record);
  void EraseSongAt(std::size_t position);
  // Removes every record the predicate is true for, in one pass over the list.
  void EraseSongsWhere(const std::function<bool(const std::string&)>& predicate);

 private:
  // The highest id that any record uses, active or in the trash.
  long long HighestRecordId() const;
  // True when a record (active or in the trash) has the id or its text file exists.
  bool IdInUse(long long id) const;
  // The smallest id above 0 that is not in use and not in alsoTaken.
  long long LowestFreeId(const std::unordered_set<long long>& alsoTaken = {}) const;

  // Marks SongList as changed (a new ListRevision).
  void ListChanged();

  DataFiles files_;
  std::vector<std::string> songList_;
  std::uint64_t listRevision_ = 0;
  SongIdIndex index_;
  bool songListUnreadable_ = false;
  FileStamp listStamp_;  // "lieder.dat" as last read or written
  SongTextObserver textObserver_;
  ReloadObserver reloadObserver_;
};

}  // namespace psalmora
