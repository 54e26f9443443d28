#include "songdb/song_text_cache.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include "songdb/song_search.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

std::string SearchableTextOfFile(const SongStore& store, std::string_view id) {
  const std::optional<std::string> bytes = store.ReadSongText(id);
  return bytes ? SearchableSongText(*bytes) : std::string();
}

}  // namespace

std::string SearchableSongText(std::string_view fileBytes) {
  std::string text;
  text.reserve(fileBytes.size());
  // Reading line by line and joining without a separator drops exactly the CR and LF bytes.
  for (const char c : fileBytes) {
    if (c != '\r' && c != '\n') text.push_back(LowerCaseCp1252(c));
  }
  return text;
}

SongTextCache::~SongTextCache() { Detach(); }

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
  const unsigned threadCount = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
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
