#include "songdb/song_text_cache.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "songdb/song_search.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

// Reading line by line and joining without a separator drops exactly the CR and LF bytes.
void AppendSearchable(std::string& text, std::string_view bytes) {
  text.reserve(text.size() + bytes.size());
  for (const char c : bytes) {
    if (c != '\r' && c != '\n') text.push_back(LowerCaseCp1252(c));
  }
}

// Reads the file in blocks and converts while reading: the first text search reads thousands of small
// files, and the per-file cost of a stream read dominates it. A file that does not open reads as empty.
std::string SearchableTextOfFile(const SongStore& store, std::string_view id) {
  std::string text;
  const std::filesystem::path path = store.SongTextPath(id);
  if (path.empty()) return text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return text;
  std::array<char, 16384> block;
  for (std::size_t read; (read = std::fread(block.data(), 1, block.size(), file)) > 0;) {
    AppendSearchable(text, std::string_view(block.data(), read));
  }
  // A folder in the file's place opens on some systems but reads nothing: empty, as a missing file.
  std::fclose(file);
  return text;
}

}  // namespace

std::string SearchableSongText(std::string_view fileBytes) {
  std::string text;
  AppendSearchable(text, fileBytes);
  return text;
}

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

const std::string& SongTextCache::SearchText(const SongStore& store, std::string_view id) {
  if (const auto found = texts_.find(id); found != texts_.end()) return found->second;
  return texts_.emplace(std::string(id), SearchableTextOfFile(store, id)).first->second;
}

void SongTextCache::Preload(const SongStore& store, const std::vector<std::string_view>& ids) {
  std::vector<std::string_view> missing;
  for (const std::string_view id : ids) {
    if (!Contains(id)) missing.push_back(id);
  }
  std::sort(missing.begin(), missing.end());
  missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
  if (missing.empty()) return;

  // Workers fill their own slots; the map is only touched afterwards on this thread.
  std::vector<std::string> read(missing.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i = next++; i < missing.size(); i = next++) read[i] = SearchableTextOfFile(store, missing[i]);
  };
  // Reading waits on the disk more than on the processor: more readers than cores keep it busy.
  const unsigned threadCount = std::clamp(2 * std::thread::hardware_concurrency(), 2u, 8u);
  std::vector<std::thread> workers;
  if (missing.size() > 64) {
    for (unsigned t = 1; t < threadCount; ++t) workers.emplace_back(work);
  }
  work();
  for (std::thread& worker : workers) worker.join();

  texts_.reserve(texts_.size() + missing.size());
  for (std::size_t i = 0; i < missing.size(); ++i) texts_.emplace(std::string(missing[i]), std::move(read[i]));
}

void SongTextCache::Update(std::string_view id, const std::string* fileBytes) {
  if (fileBytes == nullptr) {
    if (const auto found = texts_.find(id); found != texts_.end()) texts_.erase(found);
    return;
  }
  std::string text = SearchableSongText(*fileBytes);
  if (const auto found = texts_.find(id); found != texts_.end()) {
    found->second = std::move(text);
  } else {
    texts_.emplace(std::string(id), std::move(text));
  }
}

}  // namespace psalmora
