#include "songdb/song_text_cache.h"

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>
#include <unordered_set>

#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

using FileStamp = SongTextCache::FileStamp;

// A file changed less than this before it was read is read again at the next check: times can be as
// coarse as two seconds (FAT), and a second write of the same size within that tick leaves no trace.
constexpr std::int64_t kRecentNanoseconds = 3'000'000'000;

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::int64_t Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

FileStamp StampOf(const struct stat& info, std::int64_t now) {
  FileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(info.st_dev);
  stamp.inode = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified = Nanoseconds(info.st_mtim);
  stamp.changed = Nanoseconds(info.st_ctim);
  stamp.recent = now - std::max(stamp.modified, stamp.changed) < kRecentNanoseconds;
  return stamp;
}

// The data folder, opened once per check so that each song file costs one stat of a name in it.
class Folder {
 public:
  explicit Folder(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~Folder() {
    if (fd_ >= 0) ::close(fd_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  // The stamp of the song's file; a missing file (or an id that names none) has the stamp "missing".
  FileStamp Stamp(const std::string& fileName, std::int64_t now) const {
    struct stat info {};
    if (fd_ < 0 || fileName.empty() || ::fstatat(fd_, fileName.c_str(), &info, 0) != 0) return {};
    return StampOf(info, now);
  }

  int fd() const { return fd_; }

 private:
  int fd_;
};

// The file name of a song's text in the data folder, by the store's rule; empty for an id that names
// no file.
std::string FileNameOf(const SongStore& store, std::string_view id) {
  const std::filesystem::path path = store.SongTextPath(id);
  return path.empty() ? std::string() : path.filename().string();
}

// Reading line by line and joining without a separator drops exactly the CR and LF bytes.
void AppendSearchable(std::string& text, std::string_view bytes) {
  text.reserve(text.size() + bytes.size());
  for (const char c : bytes) {
    if (c != '\r' && c != '\n') text.push_back(LowerCaseCp1252(c));
  }
}

struct ReadText {
  std::string text;
  FileStamp stamp;
};

// Reads the file in blocks and converts while reading: the first text search reads thousands of small
// files, and the per-file cost of a stream read dominates it. The stamp is taken from the opened file
// before reading, so a change during the read shows at the next check. A file that does not open
// reads as empty.
ReadText ReadSongFile(const Folder& folder, const std::string& fileName, std::int64_t now) {
  ReadText read;
  if (folder.fd() < 0 || fileName.empty()) return read;
  const int fd = ::openat(folder.fd(), fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    read.stamp = folder.Stamp(fileName, now);
    return read;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0) read.stamp = StampOf(info, now);
  std::array<char, 16384> block;
  // A folder in the file's place opens but reads nothing: empty, as a missing file.
  for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;) {
    AppendSearchable(read.text, std::string_view(block.data(), static_cast<std::size_t>(got)));
  }
  ::close(fd);
  return read;
}

// Calls work(i) for every i below count on threadCount threads (this one among them), each taking the
// next index; work must only touch what belongs to its index.
void ForEachIndex(std::size_t count, unsigned threadCount, const std::function<void(std::size_t)>& work) {
  std::atomic<std::size_t> next{0};
  const auto run = [&] {
    for (std::size_t i = next++; i < count; i = next++) work(i);
  };
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < threadCount; ++t) workers.emplace_back(run);
  run();
  for (std::thread& worker : workers) worker.join();
}

// File systems whose files other computers (or a driver outside the kernel) change without the kernel
// reporting it: NFS, SMB/CIFS, FUSE (sshfs and the like), 9P, Ceph, AFS, Coda, NCP.
bool ChangesGoUnreported(const std::filesystem::path& folder) {
  struct statfs info {};
  if (::statfs(folder.c_str(), &info) != 0) return true;
  constexpr std::array<unsigned long, 11> kRemote = {0x6969,     0x517B,     0xFF534D42, 0xFE534D42,
                                                     0x65735546, 0x01021997, 0x00C36400, 0x5346414F,
                                                     0x6B414653, 0x73757245, 0x564C};
  const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFul;
  return std::find(kRemote.begin(), kRemote.end(), type) != kRemote.end();
}

}  // namespace

// The data folder's changes as the kernel reports them (inotify): the names of the files written,
// created, removed or renamed there since the last look.
class SongTextCache::FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch() { Stop(); }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Adds the names of the files of folder changed since the last call to names. False when that is not
  // known and every file must be checked: the first call for a folder (the watch starts then), a folder
  // that cannot be watched or whose changes go unreported, and reports that were lost (too many at once,
  // the folder moved or removed).
  bool Running(const std::filesystem::path& folder) const { return fd_ >= 0 && folder == folder_; }

  bool Changes(const std::filesystem::path& folder, std::unordered_set<std::string>& names) {
    if (fd_ >= 0 && folder == folder_ && Drain(names)) return true;
    Stop();
    if (ChangesGoUnreported(folder)) return false;
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    constexpr std::uint32_t kMask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                    IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    if (fd_ < 0 || ::inotify_add_watch(fd_, folder.c_str(), kMask) < 0) {
      Stop();
      return false;
    }
    folder_ = folder;
    return false;
  }

 private:
  bool Drain(std::unordered_set<std::string>& names) {
    alignas(inotify_event) std::array<char, 65536> buffer;
    for (;;) {
      const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
      if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK;
      if (got == 0) return false;
      for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
        if ((event->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) != 0)
          return false;
        if (event->len > 0) names.emplace(event->name);
        at += sizeof(inotify_event) + event->len;
      }
    }
  }

  void Stop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    folder_.clear();
  }

  int fd_ = -1;
  std::filesystem::path folder_;
};

std::string SearchableSongText(std::string_view fileBytes) {
  std::string text;
  AppendSearchable(text, fileBytes);
  return text;
}

SongTextCache::SongTextCache(ChangeCheck check)
    : watch_(check == ChangeCheck::kFolderWatch ? std::make_unique<FolderWatch>() : nullptr) {}

SongTextCache::~SongTextCache() {
  Detach();
}

void SongTextCache::Attach(SongStore& store) {
  Detach();
  attached_ = &store;
  store.SetSongTextObserver([this](std::string_view id, const std::string* bytes) { Update(id, bytes); });
}

void SongTextCache::Detach() {
  if (attached_ != nullptr) attached_->SetSongTextObserver({});
  attached_ = nullptr;
}

std::string_view SongTextCache::SearchText(const SongStore& store, std::string_view id) {
  if (const auto found = texts_.find(id); found != texts_.end()) return found->second.text;
  if (const auto found = fromIndex_.find(id); found != fromIndex_.end()) return index_->Text(found->second);
  std::string fileName = FileNameOf(store, id);
  ReadText read = ReadSongFile(Folder(store.Files().folder), fileName, Now());
  Unlocate();
  return texts_.emplace(std::string(id), Entry{std::move(read.text), read.stamp, std::move(fileName)})
      .first->second.text;
}

void SongTextCache::Preload(const SongStore& store, const std::vector<std::string_view>& ids) {
  // Watching starts before any file is checked or read, so a change while reading is reported next time.
  std::unordered_set<std::string> changed;
  const bool reported = watch_ != nullptr && watch_->Changes(store.Files().folder, changed);
  if (!reported || !changed.empty()) ++watchEpoch_;
  // Nothing reported since the last search of the same songs: every text is where it was.
  if (reported && changed.empty() && Located(ids)) return;
  Unlocate();
  // A reported change drops the text, whether or not its song is searched now (a song in the trash may
  // come back).
  if (reported && !changed.empty()) {
    std::erase_if(texts_, [&changed](const auto& item) { return changed.count(item.second.fileName) > 0; });
    std::erase_if(fromIndex_,
                  [&](const auto& item) { return changed.count(index_->Songs()[item.second].fileName) > 0; });
  }
  const Folder folder(store.Files().folder);
  const std::int64_t now = Now();
  struct Known {
    const FileStamp* stamp = nullptr;
    const std::string* fileName = nullptr;
  };
  std::vector<Known> cached(ids.size());
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (const auto found = texts_.find(ids[i]); found != texts_.end()) {
      cached[i] = {&found->second.stamp, &found->second.fileName};
    } else if (const auto indexed = fromIndex_.find(ids[i]); indexed != fromIndex_.end()) {
      const SearchIndex::Song& song = index_->Songs()[indexed->second];
      cached[i] = {&song.stamp, &song.fileName};
    }
  }
  std::vector<char> stale(ids.size(), 0);
  if (reported) {
    for (std::size_t i = 0; i < ids.size(); ++i) stale[i] = cached[i].stamp == nullptr;
  } else {
    // One stat per cached song tells whether its file is still the one that was read. A stat costs
    // about as much as searching the text it guards, so the checks are shared out among the cores.
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    ForEachIndex(ids.size(), ids.size() > 2048 ? cores : 1, [&](std::size_t i) {
      const Known& known = cached[i];
      stale[i] =
          known.stamp == nullptr || known.stamp->recent || !known.stamp->SameFileAs(folder.Stamp(*known.fileName, now));
    });
  }
  std::vector<std::string_view> toRead;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (stale[i] != 0) toRead.push_back(ids[i]);
  }
  std::sort(toRead.begin(), toRead.end());
  toRead.erase(std::unique(toRead.begin(), toRead.end()), toRead.end());
  if (toRead.empty()) {
    Locate(ids);
    return;
  }

  // Workers fill their own slots; the map is only touched afterwards on this thread. Reading waits on
  // the disk more than on the processor: more readers than cores keep it busy.
  std::vector<std::string> names(toRead.size());
  std::vector<ReadText> read(toRead.size());
  const unsigned readers = toRead.size() > 64 ? std::clamp(2 * std::thread::hardware_concurrency(), 2u, 8u) : 1;
  ForEachIndex(toRead.size(), readers, [&](std::size_t i) {
    names[i] = FileNameOf(store, toRead[i]);
    read[i] = ReadSongFile(folder, names[i], now);
  });
  texts_.reserve(texts_.size() + toRead.size());
  for (std::size_t i = 0; i < toRead.size(); ++i) {
    if (const auto indexed = fromIndex_.find(toRead[i]); indexed != fromIndex_.end()) fromIndex_.erase(indexed);
    texts_.insert_or_assign(std::string(toRead[i]), Entry{std::move(read[i].text), read[i].stamp, std::move(names[i])});
  }
  FoldIntoIndex();
  Locate(ids);
}

void SongTextCache::Locate(const std::vector<std::string_view>& ids) {
  locatedIds_.assign(ids.begin(), ids.end());
  located_.resize(ids.size());
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const auto indexed = fromIndex_.find(ids[i]);
    located_[i] =
        indexed != fromIndex_.end() && texts_.find(ids[i]) == texts_.end() ? indexed->second : std::string::npos;
  }
}

bool SongTextCache::Located(const std::vector<std::string_view>& ids) const {
  return !locatedIds_.empty() && std::equal(ids.begin(), ids.end(), locatedIds_.begin(), locatedIds_.end());
}

void SongTextCache::Update(std::string_view id, const std::string* fileBytes) {
  Unlocate();
  if (const auto indexed = fromIndex_.find(id); indexed != fromIndex_.end()) fromIndex_.erase(indexed);
  if (fileBytes == nullptr) {
    if (const auto found = texts_.find(id); found != texts_.end()) texts_.erase(found);
    return;
  }
  // The stamp of the file just written, so the next check does not read it again; without a store to
  // find it, an empty stamp has it read once more.
  FileStamp stamp;
  std::string fileName = attached_ != nullptr ? FileNameOf(*attached_, id) : std::string();
  if (attached_ != nullptr) stamp = Folder(attached_->Files().folder).Stamp(fileName, Now());
  Entry entry{SearchableSongText(*fileBytes), stamp, std::move(fileName)};
  if (!stamp.exists) entry.stamp.recent = true;
  texts_.insert_or_assign(std::string(id), std::move(entry));
}

void SongTextCache::Clear() {
  Unlocate();
  texts_.clear();
  fromIndex_.clear();
  index_.reset();
}

void SongTextCache::AdoptIndex(SearchIndex index) {
  Unlocate();
  index_ = std::make_shared<const SearchIndex>(std::move(index));
  fromIndex_.clear();
  fromIndex_.reserve(index_->size());
  for (std::size_t i = 0; i < index_->size(); ++i) {
    const std::string& id = index_->Songs()[i].id;
    if (texts_.find(id) == texts_.end()) fromIndex_.insert_or_assign(id, i);
  }
  // A change reported before the index arrived may not be in it, so the next search checks every
  // stamp once and starts listening afresh.
  if (watch_ != nullptr) watch_ = std::make_unique<FolderWatch>();
}

void SongTextCache::AdoptCheckedIndex(SearchIndex index, std::uint64_t watchEpoch) {
  // A watch that has run since before the check keeps its reports; any other starts afresh.
  std::unique_ptr<FolderWatch> watch = watchEpoch == watchEpoch_ ? std::move(watch_) : nullptr;
  AdoptIndex(std::move(index));
  if (watch != nullptr) watch_ = std::move(watch);
}

std::uint64_t SongTextCache::WatchEpoch(const std::filesystem::path& dataFolder) {
  if (watch_ != nullptr && !watch_->Running(dataFolder)) {
    std::unordered_set<std::string> none;
    watch_->Changes(dataFolder, none);  // starts it; nothing can have been reported yet
    ++watchEpoch_;
  }
  return watchEpoch_;
}

bool SongTextCache::LoadIndex(const std::filesystem::path& file, const std::filesystem::path& dataFolder) {
  std::optional<SearchIndex> loaded = SearchIndex::Load(file, IdentityOfFolder(dataFolder));
  if (!loaded) return false;
  AdoptIndex(std::move(*loaded));
  return true;
}

void SongTextCache::FoldIntoIndex() {
  // Folding copies every text, so it waits until enough texts have come in to be worth a pass.
  constexpr std::size_t kFoldAt = 256;
  if (texts_.size() < kFoldAt) return;
  (void)CurrentIndex();
}

std::shared_ptr<const SearchIndex> SongTextCache::CurrentIndex() {
  if (texts_.empty() && index_ != nullptr) return index_;
  SearchIndex merged;
  if (index_ != nullptr) {
    for (std::size_t i = 0; i < index_->size(); ++i) {
      const SearchIndex::Song& song = index_->Songs()[i];
      const auto kept = fromIndex_.find(song.id);
      if (kept != fromIndex_.end() && kept->second == i)
        merged.Add(song.id, song.fileName, song.stamp, index_->Text(i));
    }
  }
  for (auto& [id, entry] : texts_) merged.Add(id, entry.fileName, entry.stamp, entry.text);
  Unlocate();
  texts_.clear();
  index_ = std::make_shared<const SearchIndex>(std::move(merged));
  fromIndex_.clear();
  fromIndex_.reserve(index_->size());
  for (std::size_t i = 0; i < index_->size(); ++i) fromIndex_.insert_or_assign(index_->Songs()[i].id, i);
  return index_;
}

std::vector<char> SongTextCache::Matches(const SongStore& store, const std::vector<std::string_view>& ids,
                                         std::string_view lowerNeedle) {
  std::vector<char> matches(ids.size(), 0);
  if (lowerNeedle.empty()) return matches;
  std::vector<char> marks;
  if (index_ != nullptr) index_->MarkMatches(lowerNeedle, marks);
  const std::boyer_moore_horspool_searcher searcher(lowerNeedle.begin(), lowerNeedle.end());
  const auto contains = [&](std::string_view text) {
    return text.size() >= lowerNeedle.size() && std::search(text.begin(), text.end(), searcher) != text.end();
  };
  const bool located = Located(ids);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (located && located_[i] != std::string::npos) {
      matches[i] = marks[located_[i]];
    } else if (const auto found = texts_.find(ids[i]); found != texts_.end()) {
      matches[i] = contains(found->second.text) ? 1 : 0;
    } else if (const auto indexed = fromIndex_.find(ids[i]); indexed != fromIndex_.end()) {
      matches[i] = marks[indexed->second];
    } else {
      matches[i] = contains(SearchText(store, ids[i])) ? 1 : 0;
    }
  }
  return matches;
}

SearchIndex SongTextCache::BuildIndex(const std::filesystem::path& folderPath,
                                      const std::vector<std::pair<std::string, std::string>>& songs,
                                      const SearchIndex* previous) {
  const Folder folder(folderPath);
  const std::int64_t now = Now();
  std::unordered_map<std::string_view, std::size_t> known;
  if (previous != nullptr) {
    known.reserve(previous->size());
    for (std::size_t i = 0; i < previous->size(); ++i) known.emplace(previous->Songs()[i].id, i);
  }
  std::vector<ReadText> read(songs.size());
  ForEachIndex(songs.size(), std::clamp(2 * std::thread::hardware_concurrency(), 2u, 8u), [&](std::size_t i) {
    if (const auto found = known.find(songs[i].first); found != known.end()) {
      const SearchIndex::Song& song = previous->Songs()[found->second];
      if (song.fileName == songs[i].second && !song.stamp.recent &&
          song.stamp.SameFileAs(folder.Stamp(song.fileName, now))) {
        read[i].stamp = song.stamp;
        read[i].text.assign(previous->Text(found->second));
        return;
      }
    }
    read[i] = ReadSongFile(folder, songs[i].second, now);
  });
  SearchIndex index;
  for (std::size_t i = 0; i < songs.size(); ++i)
    index.Add(songs[i].first, songs[i].second, read[i].stamp, read[i].text);
  return index;
}

std::vector<std::pair<std::string, std::string>> SongTextCache::IndexedSongs(const SongStore& store) {
  std::vector<std::pair<std::string, std::string>> songs;
  songs.reserve(store.SongList().size());
  for (const std::string& record : store.SongList()) {
    if (IsDeletedRecord(record)) continue;
    const std::string_view id = RecordField(record, song_field::kId);
    songs.emplace_back(std::string(id), FileNameOf(store, id));
  }
  return songs;
}

}  // namespace psalmora
