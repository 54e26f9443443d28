#include "songdb/song_store.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <iostream>
#include <unordered_set>
#include <utility>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

// Ids stay below this so that counting up can never overflow.
constexpr long long kLargestSongId = 999'999'999'999'999'999LL;

long long IdValue(std::string_view id) {
  long long value = 0;
  std::from_chars(id.data(), id.data() + id.size(), value);
  return value;
}

}  // namespace

bool IsDeletedRecord(std::string_view record) {
  return RecordField(record, 1) == kDeletedMarker;
}

std::string_view SongIdOfRecord(std::string_view record) {
  return IsDeletedRecord(record) ? RecordField(record, 2) : RecordField(record, 1);
}

bool IsValidSongId(std::string_view id) {
  // 18 digits always fit a long long, so every valid id has a number.
  return id.size() <= 18 && AllDigits(id);
}

std::filesystem::path SongTextFile(const std::filesystem::path& dataFolder, std::string_view id) {
  if (!IsValidSongId(id)) return {};
  return dataFolder / (std::string(id) + ".dat");
}

long long ParseIdCounter(std::string_view content) {
  const std::size_t end = content.find_first_of("\r\n");
  const long long value = LeadingNumber(content.substr(0, end));
  return std::clamp(value, 0LL, kLargestSongId);
}

SongStore::SongStore(DataFiles files) : files_(std::move(files)) { ListChanged(); }

void SongStore::ListChanged() {
  // One counter for all stores, so a revision never names the lists of two stores.
  static std::atomic<std::uint64_t> lastRevision{0};
  listRevision_ = ++lastRevision;
}

void SongStore::LoadSongList() {
  songList_.clear();
  // Taken before reading: a change in between is then seen as a change once more, never missed.
  listStamp_ = FileStamp::Of(files_.lieder);
  const std::optional<std::string> content = ReadWholeFile(files_.lieder);
  songListUnreadable_ = !content && PathIsTaken(files_.lieder);
  if (content) songList_ = SplitLines(*content);
  index_.Rebuild(songList_);
  ListChanged();
}

bool SongStore::SaveSongList() {
  if (songListUnreadable_) {
    // Writing now would replace every song of the unreadable file by the few of this run.
    std::cerr << "psalmora: not writing " << files_.lieder.string() << ": it could not be read\n";
    LoadSongList();
    return false;
  }
  if (WriteStoreFile(files_.lieder, JoinLinesCrLf(songList_))) {
    listStamp_ = FileStamp::Of(files_.lieder);
    return true;
  }
  // Memory holds what the disk holds: the change that could not be written is dropped, and the lists
  // on screen are told to show the songs as they are.
  LoadSongList();
  if (reloadObserver_) reloadObserver_();
  return false;
}

bool SongStore::ReloadIfChanged() {
  const FileStamp now = FileStamp::Of(files_.lieder);
  if (now == listStamp_) return false;
  // A list that vanished (a sync client between delete and rename, a slip in a file manager) is no
  // list without songs: memory keeps them, and the next save writes them back.
  if (!now.exists && listStamp_.exists && !songListUnreadable_) {
    std::error_code error;
    if (!std::filesystem::is_symlink(files_.lieder, error)) return false;
  }
  LoadSongList();
  if (reloadObserver_) reloadObserver_();
  return true;
}

long long SongStore::ReadIdCounter() const {
  return ParseIdCounter(ReadWholeFile(files_.id).value_or(std::string()));
}

long long SongStore::HighestRecordId() const {
  long long highest = 0;
  for (const std::string& record : songList_) {
    const std::string_view id = SongIdOfRecord(record);
    if (IsValidSongId(id)) highest = std::max(highest, IdValue(id));
  }
  return highest;
}

bool SongStore::IdInUse(long long id) const {
  const std::string text = std::to_string(id);
  return PathIsTaken(SongTextPath(text)) || FindSongPosition(text) || FindTrashPosition(text);
}

long long SongStore::LowestFreeId(const std::unordered_set<long long>& alsoTaken) const {
  std::unordered_set<long long> used = alsoTaken;
  for (const std::string& record : songList_) {
    const std::string_view id = SongIdOfRecord(record);
    if (IsValidSongId(id)) used.insert(IdValue(id));
  }
  long long id = 1;
  while (used.count(id) > 0 || PathIsTaken(SongTextPath(std::to_string(id)))) ++id;
  return id;
}

std::string SongStore::NextSongId() {
  std::vector<std::string> ids = NextSongIds(1);
  return ids.empty() ? std::string() : std::move(ids.front());
}

std::vector<std::string> SongStore::NextSongIds(std::size_t count) {
  ReloadIfChanged();
  // The ids in the unreadable file are unknown; any id handed out now might be one of them.
  if (songListUnreadable_ || count == 0) return {};
  std::vector<std::string> ids;
  ids.reserve(count);
  std::unordered_set<long long> handedOut;  // only needed once counting has reached the largest id
  long long next = std::max(ReadIdCounter(), HighestRecordId());
  while (ids.size() < count) {
    // A text file without a record still belongs to someone (a song saved by another run, an import
    // cut short): its text must not be overwritten by a new song.
    do {
      next = std::min(next + 1, kLargestSongId);
    } while (next < kLargestSongId && PathIsTaken(SongTextPath(std::to_string(next))));
    // Counting cannot go on past the largest id (a damaged "id.dat" can get there at once); the largest
    // id itself is handed out only while it is free, after that the lowest free id is.
    if (next == kLargestSongId) {
      if (IdInUse(next) || handedOut.count(next) > 0) next = LowestFreeId(handedOut);
      handedOut.insert(next);
    }
    ids.push_back(std::to_string(next));
  }
  WriteStoreFile(files_.id, ids.back() + std::string(kLineEnd));
  return ids;
}

std::filesystem::path SongStore::SongTextPath(std::string_view id) const {
  return SongTextFile(files_.folder, id);
}

std::optional<std::string> SongStore::ReadSongText(std::string_view id) const {
  const std::filesystem::path path = SongTextPath(id);
  if (path.empty()) return std::nullopt;
  return ReadWholeFile(path);
}

bool SongStore::WriteSongText(std::string_view id, std::string_view text) {
  const std::filesystem::path path = SongTextPath(id);
  if (path.empty()) return false;
  std::string bytes;
  bytes.reserve(text.size() + kLineEnd.size());
  bytes.append(text).append(kLineEnd);
  const bool written = WriteStoreFile(path, bytes);
  if (textObserver_) textObserver_(id, written ? &bytes : nullptr);
  return written;
}

bool SongStore::RemoveSongText(std::string_view id) {
  const std::filesystem::path path = SongTextPath(id);
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::remove(path, error);
  if (textObserver_) textObserver_(id, nullptr);
  return !PathIsTaken(path);
}

SongStore::SongWrite SongStore::StoreSong(std::string_view id, std::string record, std::string_view text, bool isNew) {
  SongWrite write;
  if (songListUnreadable_ || SongTextPath(id).empty()) return write;
  // A song that left the list meanwhile (trash, another writer) is not written back behind its back.
  if (!isNew && index_.ActiveCount(id) == 0) return write;
  write.textSaved = WriteSongText(id, text);
  if (!write.textSaved) return write;
  if (isNew) {
    InsertSongAtTop(std::move(record));
  } else {
    ReplaceSongRecord(id, record);
  }
  write.listSaved = SaveSongList();
  if (!write.listSaved && isNew) RemoveSongText(id);
  return write;
}

std::optional<std::size_t> SongStore::FindSongPosition(std::string_view id) const {
  return index_.ActivePosition(songList_, id);
}

std::optional<std::size_t> SongStore::FindTrashPosition(std::string_view id) const {
  return index_.TrashPosition(songList_, id);
}

std::string SongStore::FindSongRecord(std::string_view id) const {
  const std::optional<std::size_t> position = FindSongPosition(id);
  return position ? songList_[*position] : std::string(id);
}

void SongStore::InsertSongAtTop(std::string record) {
  songList_.insert(songList_.begin(), std::move(record));
  index_.AddedAtTop(songList_);
  ListChanged();
}

bool SongStore::ReplaceSongRecord(std::string_view id, const std::string& record) {
  const std::size_t count = index_.ActiveCount(id);
  if (count == 0) return false;
  if (count == 1) {
    SetSongAt(*FindSongPosition(id), record);
    return true;
  }
  // A doubled id, left by an old import or a hand edit: every one of its records is replaced.
  const std::string key(id);
  for (std::size_t position = 0; position < songList_.size(); ++position) {
    if (!IsDeletedRecord(songList_[position]) && RecordField(songList_[position], 1) == key)
      SetSongAt(position, record);
  }
  return true;
}

void SongStore::SetSongAt(std::size_t position, std::string record) {
  if (position >= songList_.size()) return;
  std::string old = std::exchange(songList_[position], std::move(record));
  index_.Replaced(songList_, position, old);
  ListChanged();
}

void SongStore::EraseSongAt(std::size_t position) {
  if (position >= songList_.size()) return;
  songList_.erase(songList_.begin() + static_cast<std::ptrdiff_t>(position));
  index_.Rebuild(songList_);
  ListChanged();
}

void SongStore::EraseSongsWhere(const std::function<bool(const std::string&)>& predicate) {
  std::erase_if(songList_, predicate);
  index_.Rebuild(songList_);
  ListChanged();
}

}  // namespace psalmora
