// Speed of the song store on a generated data folder of 20,000 songs: loading and saving the index,
// finding a record in the worst case, handing out an id. Set PSALMORA_BENCH_DIR to measure on a
// particular disk (default: the system temporary folder).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "songdb/song_store.h"
#include "support/data_folder_generator.h"

namespace psalmora::bench {
namespace {

constexpr int kSongCount = 20000;

class BenchFolder {
 public:
  BenchFolder() {
    const char* base = std::getenv("PSALMORA_BENCH_DIR");
    std::string pattern = ((base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                           "psalmora-bench-XXXXXX")
                              .string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    generated_ = GenerateDataFolder(path_, kSongCount, 2024, false);
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const GeneratedFolder& generated() const { return generated_; }
  DataFiles files() const { return DataFiles::For(path_); }

 private:
  std::filesystem::path path_;
  GeneratedFolder generated_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

void BM_LoadSongList(benchmark::State& state) {
  SongStore store(Folder().files());
  for (auto _ : state) {
    store.LoadSongList();
    benchmark::DoNotOptimize(store.SongList().data());
  }
  state.counters["songs"] = static_cast<double>(store.SongList().size());
}
BENCHMARK(BM_LoadSongList)->Unit(benchmark::kMillisecond);

void BM_SaveSongList(benchmark::State& state) {
  SongStore store(Folder().files());
  store.LoadSongList();
  for (auto _ : state) benchmark::DoNotOptimize(store.SaveSongList());
}
BENCHMARK(BM_SaveSongList)->Unit(benchmark::kMillisecond);

void BM_FindSongRecordLastLine(benchmark::State& state) {
  SongStore store(Folder().files());
  store.LoadSongList();
  const std::string id = Folder().generated().highestId;
  for (auto _ : state) benchmark::DoNotOptimize(store.FindSongRecord(id));
}
BENCHMARK(BM_FindSongRecordLastLine)->Unit(benchmark::kMicrosecond);

void BM_FindSongRecordMissing(benchmark::State& state) {
  SongStore store(Folder().files());
  store.LoadSongList();
  for (auto _ : state) benchmark::DoNotOptimize(store.FindSongRecord("987654"));
}
BENCHMARK(BM_FindSongRecordMissing)->Unit(benchmark::kMicrosecond);

void BM_NextSongId(benchmark::State& state) {
  SongStore store(Folder().files());
  store.LoadSongList();
  for (auto _ : state) benchmark::DoNotOptimize(store.NextSongId());
}
BENCHMARK(BM_NextSongId)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace psalmora::bench
