// The song texts as the full-text search compares them, kept in memory: filled lazily from the text
// files and kept current by the store's text observer, so a repeated search reads no file.
#pragma once

#include <cstddef>
#include <functional>
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
  SongTextCache() = default;
  ~SongTextCache();
  SongTextCache(const SongTextCache&) = delete;
  SongTextCache& operator=(const SongTextCache&) = delete;

  // Follows every text the store writes or removes from now on, until Detach or destruction. The
  // store must outlive the attachment.
  void Attach(SongStore& store);
  void Detach();

  // The searchable text of the song, read through the store on first use.
  const std::string& SearchText(const SongStore& store, std::string_view id);

  // Reads every listed song that is not cached yet, on several threads: the first text search of a
  // run touches thousands of files, and their reading dominates it.
  void Preload(const SongStore& store, const std::vector<std::string_view>& ids);

  // A text written elsewhere (bytes as in the file) or a file whose content is unknown (null).
  void Update(std::string_view id, const std::string* fileBytes);
  void Clear() { texts_.clear(); }
  std::size_t size() const { return texts_.size(); }
  bool Contains(std::string_view id) const { return texts_.find(id) != texts_.end(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::unordered_map<std::string, std::string, Hash, std::equal_to<>> texts_;
  SongStore* attached_ = nullptr;
};

}  // namespace psalmora
