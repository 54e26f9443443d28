// Keeps the song text index of the data folder for the search page: at start it is read from the user's
// cache folder and brought up to date (or built, when missing or damaged) on a worker thread, and an
// index the search made anew is written back there in the background.
#pragma once

#include <QObject>
#include <cstdint>
#include <filesystem>
#include <future>
#include <memory>

#include "songdb/search_index.h"

namespace psalmora {

struct AppState;

class SearchIndexKeeper : public QObject {
  Q_OBJECT

 public:
  // Starts preparing the index of the state's data folder at once.
  SearchIndexKeeper(AppState& state, QObject* parent);
  // Waits for the worker threads: a build reads every text, a write a few megabytes.
  ~SearchIndexKeeper() override;

  // Before a text search: takes the prepared index over, waiting for it while it is still being made
  // (reading the texts on the interface thread instead would take as long and do the work twice).
  void BeforeSearch();
  // After a search: an index the cache has made since the last write goes to the cache folder.
  void AfterSearch();

  // The index file of the data folder.
  const std::filesystem::path& IndexFile() const { return file_; }
  bool Preparing() const { return preparing_.valid(); }

 signals:
  // The prepared index was taken over by the text cache.
  void indexReady();

 private:
  void Adopt();

  AppState& state_;
  std::filesystem::path folder_;
  std::filesystem::path file_;
  std::uint64_t watchEpoch_ = 0;
  std::future<SearchIndex> preparing_;
  std::future<void> saving_;
  std::shared_ptr<const SearchIndex> saved_;
};

}  // namespace psalmora
