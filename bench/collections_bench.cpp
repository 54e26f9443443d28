// Speed of the song-id lookups of selections and deletions on big generated stores: filling the list of
// a selection that holds every song, and deleting 1,000 songs out of the store (marking them, saving
// the index, taking them out of the selections and groups). Set PSALMORA_BENCH_DIR to measure on a
// particular disk (default: the system temporary folder).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>

#include "collections/collections.h"
#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "songdb/song_store.h"
#include "songdb/trash.h"
#include "support/data_folder_generator.h"

namespace psalmora::bench {
namespace {

class BenchFolder {
 public:
  explicit BenchFolder(int songCount) {
    const char* base = std::getenv("PSALMORA_BENCH_DIR");
    std::string pattern = ((base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                           "psalmora-bench-XXXXXX")
                              .string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    generated_ = GenerateDataFolder(path_, songCount, 2024, false);
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const GeneratedFolder& generated() const { return generated_; }
  const std::filesystem::path& path() const { return path_; }
  DataFiles files() const { return DataFiles::For(path_); }

 private:
  std::filesystem::path path_;
  GeneratedFolder generated_;
};

BenchFolder& Folder(int songCount) {
  static std::map<int, std::unique_ptr<BenchFolder>> folders;
  std::unique_ptr<BenchFolder>& folder = folders[songCount];
  if (!folder) folder = std::make_unique<BenchFolder>(songCount);
  return *folder;
}

// The ids of the active songs, in store order.
std::vector<std::string> ActiveIds(const GeneratedFolder& generated) {
  std::vector<std::string> ids;
  for (const std::string& record : generated.records) {
    if (!IsDeletedRecord(record)) ids.emplace_back(RecordField(record, 1));
  }
  return ids;
}

void BM_FillSelectionOfEverySong(benchmark::State& state) {
  const BenchFolder& folder = Folder(static_cast<int>(state.range(0)));
  SongStore store(folder.files());
  store.LoadSongList();
  std::string record = "Alle Lieder\t";
  for (const std::string& id : ActiveIds(folder.generated())) record += "|" + id;
  std::size_t rows = 0;
  for (auto _ : state) {
    const std::vector<SelectionRow> shown = CollectionRows(store, record);
    rows = shown.size();
    benchmark::DoNotOptimize(shown.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FillSelectionOfEverySong)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_Delete1000Songs(benchmark::State& state) {
  const BenchFolder& folder = Folder(static_cast<int>(state.range(0)));
  const DataFiles files = folder.files();
  const std::string songs = ReadWholeFile(files.lieder).value_or("");
  const std::string selections = ReadWholeFile(files.auswahl).value_or("");
  const std::string groups = ReadWholeFile(files.gruppierung).value_or("");
  const std::vector<std::string> ids = ActiveIds(folder.generated());
  std::vector<std::string> chosen;
  for (std::size_t i = 0; i < 1000 && i < ids.size(); ++i) chosen.push_back(ids[i * ids.size() / 1000]);
  Settings settings;
  SongStore store(files);
  for (auto _ : state) {
    state.PauseTiming();
    WriteFileAtomically(files.lieder, songs, FileSync::kNone);
    WriteFileAtomically(files.auswahl, selections, FileSync::kNone);
    WriteFileAtomically(files.gruppierung, groups, FileSync::kNone);
    store.LoadSongList();
    TrashContext context{store, {settings, folder.path() / "einstellungen.ini"}, ChangeStampNow("u")};
    const std::vector<std::string> collected = CollectSelectedSongIds(store, chosen);
    state.ResumeTiming();
    benchmark::DoNotOptimize(DeleteSongs(context, collected, {}).saved);
  }
}
BENCHMARK(BM_Delete1000Songs)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace psalmora::bench
