// Speed of the song search on a generated data folder of 20,000 songs with their texts: a title search,
// and a "Liedtext" search with the text cache warm, cold (cache empty, files in the page cache) and
// cold from disk (the files' pages dropped first); the first search of a run from the text index file,
// with the index and the texts in the page cache or dropped from it, and building that index. `grep
// -ril` over the same files, and SQLite's LIKE and its FTS5 trigram index over the same lower-cased
// texts, are timed as references. Set PSALMORA_BENCH_DIR to measure on a particular disk (default: the
// temporary folder).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#ifdef PSALMORA_BENCH_SQLITE
#include <sqlite3.h>
#endif

#include "core/atomic_file.h"
#include "songdb/search_index.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"
#include "support/data_folder_generator.h"

namespace psalmora::bench {
namespace {

constexpr int kSongCount = 20000;
constexpr int kTitleEntry = 2;
constexpr int kTextEntry = 21;
// A phrase of some translation lines, and one that no song holds (every text is scanned to the end).
constexpr const char* kTextHit = "PRAISE YOU forever";
constexpr const char* kTextMiss = "kein solcher text";

class BenchFolder {
 public:
  BenchFolder() {
    const char* base = std::getenv("PSALMORA_BENCH_DIR");
    std::string pattern = ((base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                           "psalmora-search-bench-XXXXXX")
                              .string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    GenerateDataFolder(path_, kSongCount, 2024, true);
    // The text cache reads a file changed in the last seconds again at every search (a second change
    // within the clock's resolution would leave no trace); the warm search is measured on files at rest.
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    store_ = SongStore(DataFiles::For(path_));
    store_.LoadSongList();
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& path() const { return path_; }
  const SongStore& store() const { return store_; }

  // Asks the kernel to forget the cached pages of every song file (and the index), so the next read
  // goes to the disk.
  void DropFilePages() const {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
      const int fd = ::open(entry.path().c_str(), O_RDONLY);
      if (fd < 0) continue;
      ::fdatasync(fd);
      ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
      ::close(fd);
    }
  }
  // The index file lives in the folder here, so dropping pages reaches it too.
  std::filesystem::path IndexFile() const { return path_ / "index" / "liedtexte.idx"; }

 private:
  std::filesystem::path path_;
  SongStore store_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

void Search(benchmark::State& state, SongTextCache& cache, int entry, const char* text) {
  const std::size_t hits = SearchSongs(Folder().store(), cache, entry, text).size();
  benchmark::DoNotOptimize(hits);
  state.counters["hits"] = static_cast<double>(hits);
}

void BM_TitleSearch(benchmark::State& state) {
  Folder();  // generated before the clock runs
  SongTextCache cache;
  for (auto _ : state) Search(state, cache, kTitleEntry, "K\xD6NIG");
}
BENCHMARK(BM_TitleSearch)->Unit(benchmark::kMillisecond);

void BM_TitleSearchNoHit(benchmark::State& state) {
  Folder();  // generated before the clock runs
  SongTextCache cache;
  for (auto _ : state)
    Search(state, cache, kTitleEntry,
           "Stra\xDF"
           "e");
}
BENCHMARK(BM_TitleSearchNoHit)->Unit(benchmark::kMillisecond);

// The cache notices files changed outside the program: by the folder's change reports (a local folder),
// or by one stat per song file (a network folder, "stamps").
void BM_TextSearchWarm(benchmark::State& state, const char* text, SongTextCache::ChangeCheck check) {
  Folder();  // generated before the clock runs
  SongTextCache cache(check);
  SearchSongs(Folder().store(), cache, kTextEntry, text);
  for (auto _ : state) Search(state, cache, kTextEntry, text);
}
// Process time: the stamps are checked on several threads.
BENCHMARK_CAPTURE(BM_TextSearchWarm, hit, kTextHit, SongTextCache::ChangeCheck::kFolderWatch)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_TextSearchWarm, miss, kTextMiss, SongTextCache::ChangeCheck::kFolderWatch)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_TextSearchWarm, miss_stamps, kTextMiss, SongTextCache::ChangeCheck::kStamps)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// A warm search after another program rewrote one song's text: that one file is read again.
void BM_TextSearchWarmAfterOneChange(benchmark::State& state) {
  Folder();  // generated before the clock runs
  SongTextCache cache;
  SearchSongs(Folder().store(), cache, kTextEntry, kTextMiss);
  const std::filesystem::path file = Folder().path() / "1.dat";
  const std::string text = ReadWholeFile(file).value_or("");
  for (auto _ : state) {
    state.PauseTiming();
    (void)WriteFileAtomically(file, text, FileSync::kNone);
    state.ResumeTiming();
    Search(state, cache, kTextEntry, kTextMiss);
  }
}
BENCHMARK(BM_TextSearchWarmAfterOneChange)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_TextSearchColdCache(benchmark::State& state) {
  Folder();  // generated before the clock runs
  SongTextCache cache;
  for (auto _ : state) {
    state.PauseTiming();
    cache.Clear();
    state.ResumeTiming();
    Search(state, cache, kTextEntry, kTextMiss);
  }
}
BENCHMARK(BM_TextSearchColdCache)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TextSearchColdDisk(benchmark::State& state) {
  Folder();  // generated before the clock runs
  SongTextCache cache;
  for (auto _ : state) {
    state.PauseTiming();
    cache.Clear();
    Folder().DropFilePages();
    state.ResumeTiming();
    Search(state, cache, kTextEntry, kTextMiss);
  }
}
BENCHMARK(BM_TextSearchColdDisk)->Unit(benchmark::kMillisecond)->Iterations(3);

// The index file as the last run left it; written once, before any clock runs.
void WriteIndexFile() {
  static const bool written = [] {
    SongTextCache cache;
    SearchSongs(Folder().store(), cache, kTextEntry, kTextMiss);
    return cache.CurrentIndex()->Save(Folder().IndexFile(), IdentityOfFolder(Folder().path())).empty();
  }();
  (void)written;
}

// The first "Liedtext" search of a run: the index file of the last run is mapped and every stamp in it
// checked against the data folder, then searched; with its pages and those of the texts in memory, and
// with them dropped.
void FirstSearchAfterStart(benchmark::State& state, bool dropPages) {
  WriteIndexFile();
  for (auto _ : state) {
    if (dropPages) {
      state.PauseTiming();
      Folder().DropFilePages();
      state.ResumeTiming();
    }
    SongTextCache cache;
    if (!cache.LoadIndex(Folder().IndexFile(), Folder().path())) state.SkipWithError("index not loaded");
    Search(state, cache, kTextEntry, kTextMiss);
  }
}
void BM_TextSearchFirstAfterStart(benchmark::State& state) {
  FirstSearchAfterStart(state, false);
}
BENCHMARK(BM_TextSearchFirstAfterStart)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
void BM_TextSearchFirstAfterStartColdDisk(benchmark::State& state) {
  FirstSearchAfterStart(state, true);
}
BENCHMARK(BM_TextSearchFirstAfterStartColdDisk)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(5);

// What the program does at start-up: a worker maps the index file, checks every stamp and copies the
// texts still current (timed here as BM_PrepareIndexAtStart, off the interface thread), while the
// folder's change reports are listened to; the first search then only adopts it and searches.
SearchIndex PrepareIndex() {
  std::optional<SearchIndex> previous = SearchIndex::Load(Folder().IndexFile(), IdentityOfFolder(Folder().path()));
  return SongTextCache::BuildIndex(Folder().path(), SongTextCache::IndexedSongs(Folder().store()),
                                   previous ? &*previous : nullptr);
}
void BM_PrepareIndexAtStart(benchmark::State& state) {
  WriteIndexFile();
  for (auto _ : state) benchmark::DoNotOptimize(PrepareIndex().size());
}
BENCHMARK(BM_PrepareIndexAtStart)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
void BM_TextSearchFirstAfterPreparedStart(benchmark::State& state) {
  WriteIndexFile();
  for (auto _ : state) {
    state.PauseTiming();
    auto cache = std::make_unique<SongTextCache>();
    const std::uint64_t epoch = cache->WatchEpoch(Folder().path());
    SearchIndex prepared = PrepareIndex();
    state.ResumeTiming();
    cache->AdoptCheckedIndex(std::move(prepared), epoch);
    Search(state, *cache, kTextEntry, kTextMiss);
    state.PauseTiming();
    cache.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TextSearchFirstAfterPreparedStart)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Building the index from scratch as the program does in the background when it has none: every text
// read (files in the page cache), then written.
void BM_BuildIndex(benchmark::State& state) {
  Folder();  // generated before the clock runs
  const auto songs = SongTextCache::IndexedSongs(Folder().store());
  for (auto _ : state) {
    const SearchIndex index = SongTextCache::BuildIndex(Folder().path(), songs);
    benchmark::DoNotOptimize(index.Save(Folder().IndexFile(), IdentityOfFolder(Folder().path())));
  }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime()->Iterations(5);

#ifdef PSALMORA_BENCH_SQLITE
// The same lower-cased texts in an SQLite database file: LIKE scans them all; the FTS5 trigram index
// finds candidates (which would still need the exact rules applied). The yardsticks for choosing.
class SqliteTexts {
 public:
  SqliteTexts() {
    const std::string file = (Folder().path() / "index" / "texte.sqlite").string();
    std::filesystem::create_directories(Folder().path() / "index");
    std::filesystem::remove(file);
    sqlite3_open(file.c_str(), &db_);
    sqlite3_exec(db_,
                 "CREATE TABLE lied(id TEXT, text TEXT);"
                 "CREATE VIRTUAL TABLE lied_fts USING fts5(text, tokenize='trigram', detail='none');",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_stmt* insertFts = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO lied VALUES(?, ?)", -1, &insert, nullptr);
    sqlite3_prepare_v2(db_, "INSERT INTO lied_fts(rowid, text) VALUES(?, ?)", -1, &insertFts, nullptr);
    SongTextCache cache;
    SearchSongs(Folder().store(), cache, kTextEntry, kTextMiss);
    const auto index = cache.CurrentIndex();
    for (std::size_t i = 0; i < index->size(); ++i) {
      const std::string_view text = index->Text(i);
      sqlite3_bind_text(insert, 1, index->Songs()[i].id.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 2, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
      sqlite3_bind_int64(insertFts, 1, static_cast<sqlite3_int64>(i + 1));
      sqlite3_bind_text(insertFts, 2, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      sqlite3_step(insertFts);
      sqlite3_reset(insertFts);
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(insertFts);
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }
  ~SqliteTexts() { sqlite3_close(db_); }
  int Count(const char* sql, const std::string& term) {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db_, sql, -1, &query, nullptr);
    sqlite3_bind_text(query, 1, term.c_str(), -1, SQLITE_TRANSIENT);
    int rows = 0;
    while (sqlite3_step(query) == SQLITE_ROW) ++rows;
    sqlite3_finalize(query);
    return rows;
  }

 private:
  sqlite3* db_ = nullptr;
};

SqliteTexts& Sqlite() {
  static SqliteTexts texts;
  return texts;
}

void BM_SqliteLikeReference(benchmark::State& state, const char* text) {
  Sqlite();  // filled before the clock runs
  const std::string term = "%" + LowerCaseCp1252(text) + "%";
  for (auto _ : state) state.counters["hits"] = Sqlite().Count("SELECT id FROM lied WHERE text LIKE ?", term);
}
BENCHMARK_CAPTURE(BM_SqliteLikeReference, hit, kTextHit)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteLikeReference, miss, kTextMiss)->Unit(benchmark::kMillisecond);

void BM_SqliteFts5TrigramReference(benchmark::State& state, const char* text) {
  Sqlite();  // filled before the clock runs
  // LIKE on the trigram table is answered from its index (the phrase form needs detail=full, twice
  // the size).
  const std::string term = "%" + LowerCaseCp1252(text) + "%";
  for (auto _ : state) state.counters["hits"] = Sqlite().Count("SELECT rowid FROM lied_fts WHERE text LIKE ?", term);
}
BENCHMARK_CAPTURE(BM_SqliteFts5TrigramReference, hit, kTextHit)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SqliteFts5TrigramReference, miss, kTextMiss)->Unit(benchmark::kMillisecond);
#endif

// The same files through grep, byte-wise and case-blind, as a yardstick for reading them at all.
void Grep(benchmark::State& state, bool dropPages) {
  Folder();  // generated before the clock runs
  const std::string command = "LC_ALL=C grep -ril --include='*.dat' -e '" + std::string(kTextMiss) + "' '" +
                              Folder().path().string() + "' > /dev/null";
  for (auto _ : state) {
    if (dropPages) {
      state.PauseTiming();
      Folder().DropFilePages();
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(std::system(command.c_str()));
  }
}
void BM_GrepReference(benchmark::State& state) {
  Grep(state, false);
}
BENCHMARK(BM_GrepReference)->Unit(benchmark::kMillisecond)->Iterations(5);
void BM_GrepReferenceColdDisk(benchmark::State& state) {
  Grep(state, true);
}
BENCHMARK(BM_GrepReferenceColdDisk)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace psalmora::bench
