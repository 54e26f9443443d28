// The song texts as the full-text search compares them, kept in memory: filled lazily from the text
// files, kept current by the store's text observer, and brought up to date before each search with the
// files changed outside the program (another program, another computer), so a repeated search reads
// only the files that changed since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  const std::string& SearchText(const SongStore& store, std::string_view id);

  // Brings every listed song up to date before a search: reads the songs not cached yet and those whose
  // file changed since it was read, on several threads, since the first text search of a run touches
  // thousands of files.
  void Preload(const SongStore& store, const std::vector<std::string_view>& ids);

  // A text written elsewhere (bytes as in the file) or a file whose content is unknown (null).
  void Update(std::string_view id, const std::string* fileBytes);
  void Clear() { texts_.clear(); }
  std::size_t size() const { return texts_.size(); }
  bool Contains(std::string_view id) const { return texts_.find(id) != texts_.end(); }

  // What a song file looked like when its text was read.
  struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970
    std::int64_t changed = 0;   // the inode's change time, which no program sets back
    // Changed so shortly before it was read that a second change within the clock's resolution (two
    // seconds on some file systems) could keep every time and the size: read it again next time.
    bool recent = false;

    bool SameFileAs(const FileStamp& other) const;
  };

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

  std::unordered_map<std::string, Entry, Hash, std::equal_to<>> texts_;
  SongStore* attached_ = nullptr;
  std::unique_ptr<FolderWatch> watch_;  // null with ChangeCheck::kStamps
};

}  // namespace psalmora
