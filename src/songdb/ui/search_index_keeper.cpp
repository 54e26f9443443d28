// The worker threads touch no program state: they get the song list as (id, file name) pairs and hand
// back an index that the interface thread adopts.
#include "songdb/ui/search_index_keeper.h"

#include <QMetaObject>
#include <QPointer>
#include <cstdio>

#include "core/ui/app_state.h"
#include "songdb/song_text_cache.h"

namespace psalmora {
namespace {

// Whether a fresh index holds the same songs with the same stamps as the file it was checked against:
// then the file need not be written again.
bool SameSongs(const SearchIndex& a, const SearchIndex& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const SearchIndex::Song& x = a.Songs()[i];
    const SearchIndex::Song& y = b.Songs()[i];
    if (x.id != y.id || x.fileName != y.fileName || !x.stamp.SameFileAs(y.stamp) || x.stamp.recent != y.stamp.recent)
      return false;
  }
  return true;
}

void Save(const SearchIndex& index, const std::filesystem::path& file, const std::filesystem::path& folder) {
  // The index is only a head start: a failure costs the next start its speed, nothing else.
  const std::string error = index.Save(file, IdentityOfFolder(folder));
  if (!error.empty()) std::fprintf(stderr, "psalmora: search index not written: %s\n", error.c_str());
}

}  // namespace

SearchIndexKeeper::SearchIndexKeeper(AppState& state, QObject* parent)
    : QObject(parent),
      state_(state),
      folder_(state.songs.Files().folder),
      file_(SearchIndexPath(state.songs.Files().folder)) {
  // Listening to the folder starts before the worker checks a single file, so a change during or after
  // the check is reported to the cache.
  watchEpoch_ = state_.songTexts.WatchEpoch(folder_);
  preparing_ = std::async(
      std::launch::async, [this, folder = folder_, file = file_, songs = SongTextCache::IndexedSongs(state.songs)] {
        std::optional<SearchIndex> previous = SearchIndex::Load(file, IdentityOfFolder(folder));
        SearchIndex index = SongTextCache::BuildIndex(folder, songs, previous ? &*previous : nullptr);
        if (!previous || !SameSongs(index, *previous)) Save(index, file, folder);
        previous.reset();
        // The destructor waits for this thread before the object goes, so the call cannot outlive it.
        QMetaObject::invokeMethod(
            this, [this] { Adopt(); }, Qt::QueuedConnection);
        return index;
      });
}

SearchIndexKeeper::~SearchIndexKeeper() {
  if (preparing_.valid()) preparing_.wait();
  if (saving_.valid()) saving_.wait();
}

void SearchIndexKeeper::BeforeSearch() {
  Adopt();
}

void SearchIndexKeeper::Adopt() {
  if (!preparing_.valid()) return;
  SearchIndex index = preparing_.get();
  // The data folder may have changed while the index was made; then it is of no use.
  if (state_.songs.Files().folder != folder_) return;
  state_.songTexts.AdoptCheckedIndex(std::move(index), watchEpoch_);
  saved_ = state_.songTexts.Index();
  emit indexReady();
}

void SearchIndexKeeper::AfterSearch() {
  const std::shared_ptr<const SearchIndex> current = state_.songTexts.Index();
  if (current == nullptr || current == saved_ || state_.songs.Files().folder != folder_ || preparing_.valid()) return;
  if (saving_.valid() && saving_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return;
  saved_ = current;
  // The index is never changed once made, so the worker can write it while searches go on.
  saving_ = std::async(std::launch::async, [current, file = file_, folder = folder_] { Save(*current, file, folder); });
}

}  // namespace psalmora
