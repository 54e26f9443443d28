// The song texts as the full-text search compares them, kept in memory: filled lazily from the text
// files, kept current by the store's text observer, and brought up to date before each search with the
// files changed outside the program (another program, another computer), so a repeated search reads
// only the files that changed since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "songdb/search_index.h"
#include "songdb/song_field_columns.h"

namespace psalmora {

class SongStore;

// The text lines joined without a separator and lower-cased (LowerCaseCp1252): the form a "Liedtext"
// search compares. A missing or unreadable file gives an empty text.
std::string SearchableSongText(std::string_view fileBytes);

class SongTextCache {
 public:
  // How changes made outside the program are noticed. kFolderWatch has the system report the changed
  // files of the data folder (inotify), which costs a search nothing; where the system cannot hear every
  // change (a network folder, a user-space file system) or the report was lost, it falls back to
  // kStamps: one stat per song file at each search, comparing its times, size and identity with those
  // it had when it was read.
  enum class ChangeCheck { kFolderWatch, kStamps };

  explicit SongTextCache(ChangeCheck check = ChangeCheck::kFolderWatch);
  ~SongTextCache();
  SongTextCache(const SongTextCache&) = delete;
  SongTextCache& operator=(const SongTextCache&) = delete;

  // Follows every text the store writes or removes from now on, until Detach or destruction. The
  // store must outlive the attachment.
  void Attach(SongStore& store);
  void Detach();

  // The searchable text of the song as last read (read through the store on first use). Preload first
  // to see changes made outside the program.
  std::string_view SearchText(const SongStore& store, std::string_view id);

  // Brings every listed song up to date before a search: reads the songs not cached yet and those whose
  // file changed since it was read, on several threads, since the first text search of a run touches
  // thousands of files.
  void Preload(const SongStore& store, const std::vector<std::string_view>& ids);

  // A text written elsewhere (bytes as in the file) or a file whose content is unknown (null).
  void Update(std::string_view id, const std::string* fileBytes);
  void Clear();
  std::size_t size() const { return texts_.size() + fromIndex_.size(); }
  bool Contains(std::string_view id) const {
    return texts_.find(id) != texts_.end() || fromIndex_.find(id) != fromIndex_.end();
  }

  using FileStamp = SongFileStamp;

  // Takes an index (the file of an earlier run, or one built in the background) as the texts read so
  // far. Its stamps are checked at the next Preload like those of texts read now; texts read or
  // written since it was made stay in front of it.
  void AdoptIndex(SearchIndex index);
  // The same for an index whose every stamp was checked after WatchEpoch returned watchEpoch: when the
  // folder's change reports have run without a break since, they alone tell what changed after the
  // check, and the next search checks no stamps.
  void AdoptCheckedIndex(SearchIndex index, std::uint64_t watchEpoch);
  // Starts listening to the data folder's change reports (if not yet) and tells the current listening
  // period; it ends whenever reports were consumed or lost.
  std::uint64_t WatchEpoch(const std::filesystem::path& dataFolder);
  // The index the cache searches now (null before one was adopted or made).
  std::shared_ptr<const SearchIndex> Index() const { return index_; }
  // Adopts the index file of the data folder; false when there is none that fits (missing, damaged,
  // of another folder or format), and the cache is left as it was.
  bool LoadIndex(const std::filesystem::path& file, const std::filesystem::path& dataFolder);
  // All texts as one index, folding in what was read or written since the last one; for saving.
  std::shared_ptr<const SearchIndex> CurrentIndex();
  // Texts read or written since the index was adopted or made.
  std::size_t ChangedSinceIndex() const { return texts_.size(); }

  // For each listed song whether its text contains the lower-cased needle. Preload them first.
  std::vector<char> Matches(const SongStore& store, const std::vector<std::string_view>& ids,
                            std::string_view lowerNeedle);

  // Reads the listed songs (id, file name in folder) into a new index on several threads, touching no
  // cache and no store, so a background thread can build it while the program goes on.
  // With previous (an index file of an earlier run), the texts whose files still have the stamps noted
  // there are taken from it, so only changed files are read.
  static SearchIndex BuildIndex(const std::filesystem::path& folder,
                                const std::vector<std::pair<std::string, std::string>>& songs,
                                const SearchIndex* previous = nullptr);
  // The songs of the store as BuildIndex takes them (id and file name), trash excepted.
  static std::vector<std::pair<std::string, std::string>> IndexedSongs(const SongStore& store);

  // The record fields as the field searches compare them; kept beside the texts so that one cache
  // object carries everything a search keeps between runs.
  SongFieldColumns& FieldColumns() { return fieldColumns_; }

 private:
  struct Entry {
    std::string text;
    FileStamp stamp;
    std::string fileName;  // by the store's rule, kept so a check builds no path
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  class FolderWatch;

  // Folds the texts read since into a new index once they are many, so a search stays one pass over one
  // buffer.
  void FoldIntoIndex();

  // Texts read or written since the index was made; they take precedence over it.
  std::unordered_map<std::string, Entry, Hash, std::equal_to<>> texts_;
  std::shared_ptr<const SearchIndex> index_;
  // The songs of index_ whose texts are still believed: id -> position in the index.
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> fromIndex_;
  // Where the songs of the last Preload were found (position in index_, or npos for texts_), kept until
  // anything changes, so repeated searches of an unchanged store look nothing up.
  std::vector<std::string> locatedIds_;
  std::vector<std::size_t> located_;
  void Locate(const std::vector<std::string_view>& ids);
  bool Located(const std::vector<std::string_view>& ids) const;
  void Unlocate() { locatedIds_.clear(), located_.clear(); }
  SongStore* attached_ = nullptr;
  std::unique_ptr<FolderWatch> watch_;  // null with ChangeCheck::kStamps
  std::uint64_t watchEpoch_ = 0;
  SongFieldColumns fieldColumns_;
};

}  // namespace psalmora
