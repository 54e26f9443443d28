// The song texts in the form the "Liedtext" search compares (lines joined, lower-cased), laid end to end
// in one buffer with a table of the songs, their file names and the stamps their files had when read.
// It lives in memory or in one file of the user's cache folder, read back by mapping it; the file is
// only a head start for the text cache, never the truth: every stamp is checked against the data folder
// before a search believes the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// What a song file looked like when its text was read.
struct SongFileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970
  std::int64_t changed = 0;   // the inode's change time, which no program sets back
  // Changed so shortly before it was read that a second change within the clock's resolution (two
  // seconds on some file systems) could keep every time and the size: read it again next time.
  bool recent = false;

  bool SameFileAs(const SongFileStamp& other) const;
};

// The data folder an index file belongs to: its path and the identity of the folder itself, so a folder
// put in the place of another (a restored copy, a different disk) never inherits its index.
struct FolderIdentity {
  std::string path;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  bool operator==(const FolderIdentity&) const = default;
};
FolderIdentity IdentityOfFolder(const std::filesystem::path& folder);

// "$XDG_CACHE_HOME/psalmora/" (or "~/.cache/psalmora/") + one file name per data folder.
std::filesystem::path SearchIndexPath(const std::filesystem::path& dataFolder);

class SearchIndex {
 public:
  struct Song {
    std::string id;
    std::string fileName;
    SongFileStamp stamp;
    std::size_t offset = 0;  // of the text in Texts()
    std::size_t length = 0;
  };

  SearchIndex();
  ~SearchIndex();
  SearchIndex(SearchIndex&&) noexcept;
  SearchIndex& operator=(SearchIndex&&) noexcept;
  SearchIndex(const SearchIndex&) = delete;
  SearchIndex& operator=(const SearchIndex&) = delete;

  // Appends a song; text is already in the searchable form (no CR or LF in it).
  void Add(std::string id, std::string fileName, const SongFileStamp& stamp, std::string_view text);

  const std::vector<Song>& Songs() const { return songs_; }
  std::size_t size() const { return songs_.size(); }
  std::string_view Text(std::size_t song) const;
  // Every text followed by a line feed, a byte no text holds, so no match runs from one song into the
  // next.
  std::string_view Texts() const;

  // Sets marks[song] to 1 for every song whose text contains needle (lower-cased), one pass over the
  // buffer. marks is resized to size(). A needle holding CR or LF, or an empty one, matches nothing.
  void MarkMatches(std::string_view needle, std::vector<char>& marks) const;

  // The file's bytes: header (format version, folder identity, sizes, checksum), song table, texts.
  std::string Serialize(const FolderIdentity& folder) const;
  // Writes the file atomically (a kill mid-write leaves the old file or none). Error text or empty.
  std::string Save(const std::filesystem::path& file, const FolderIdentity& folder) const;
  // Maps the file. Nothing when it is missing, of another format version or folder, truncated, or its
  // checksum does not match.
  static std::optional<SearchIndex> Load(const std::filesystem::path& file, const FolderIdentity& folder);
  // The same checks on bytes in memory (copied).
  static std::optional<SearchIndex> Parse(std::string_view bytes, const FolderIdentity& folder);

 private:
  struct Mapping;
  bool ParseInto(std::string_view bytes, const FolderIdentity& folder);

  std::vector<Song> songs_;
  std::vector<std::size_t> offsets_;  // songs_[i].offset, for the binary search of a match's song
  std::string owned_;                 // the texts of an index built in memory
  std::unique_ptr<Mapping> mapping_;  // or the mapped file they are read from
  std::string_view texts_;
};

}  // namespace psalmora
