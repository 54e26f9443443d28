// Speed of songs in and out: exporting 20,000 songs with their texts into one export file, importing
// that file into an empty data folder, and importing 1,000 CCLI song files. Set PSALMORA_BENCH_DIR to
// measure on a particular disk (default: the system temporary folder).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "songdb/song_store.h"
#include "support/data_folder_generator.h"
#include "transfer/ccli_import.h"
#include "transfer/export_file.h"
#include "transfer/song_import.h"

namespace psalmora::bench {
namespace {

constexpr int kSongCount = 20000;
constexpr int kCcliFileCount = 1000;

std::filesystem::path MakeTempFolder() {
  const char* base = std::getenv("PSALMORA_BENCH_DIR");
  std::string pattern = ((base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                         "psalmora-bench-XXXXXX")
                            .string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

class BenchFolder {
 public:
  BenchFolder() : path_(MakeTempFolder()) {
    generated_ = GenerateDataFolder(path_ / "quelle", kSongCount, 2024, true);
    SongStore store(DataFiles::For(path_ / "quelle"));
    store.LoadSongList();
    for (const std::string& record : store.SongList()) {
      if (!IsDeletedRecord(record)) active_.push_back(record);
    }
    ExportSongsToFile(ExportFile(), store, active_, {});
    std::mt19937 random(7);
    for (int i = 0; i < kCcliFileCount; ++i) {
      std::string words;
      for (const std::string& line : SplitAt(GenerateSongText(random), '\n')) {
        if (!line.empty() && line[0] != '>') words += line.substr(0, line.find('\r')) + "/n";
      }
      const std::filesystem::path file = path_ / "ccli" / (std::to_string(i) + ".usr");
      std::filesystem::create_directories(file.parent_path());
      WriteFileAtomically(file,
                          "\xEF\xBB\xBF[File]\r\nType=SongSelect Import File\r\n[S A" + std::to_string(100000 + i) +
                              "]\r\nTitle=Lied Nummer " + std::to_string(i) +
                              " \xC3\xBC\r\nAuthor=Anna B\xC3\xB6hm\r\nCopyright=2001 Musik\r\nThemes=Lob/tAnbetung\r\n"
                              "Keys=G\r\nWords=" +
                              words + "/t\r\n",
                          FileSync::kNone);
      ccliFiles_.push_back(file);
    }
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  std::filesystem::path ExportFile() const { return path_ / "alle.exp"; }
  const std::vector<std::string>& Active() const { return active_; }
  const std::vector<std::filesystem::path>& CcliFiles() const { return ccliFiles_; }
  DataFiles Source() const { return DataFiles::For(path_ / "quelle"); }
  // An empty data folder for one import. They are all removed at the end only: creating files right
  // after deleting many makes ext4 search its recently freed inodes, which would measure the benchmark's
  // own clean-up rather than the import.
  DataFiles FreshTarget() {
    const std::filesystem::path folder = path_ / ("ziel-" + std::to_string(++targets_));
    std::filesystem::create_directories(folder / "youtube");
    return DataFiles::For(folder);
  }

 private:
  std::filesystem::path path_;
  GeneratedFolder generated_;
  std::vector<std::string> active_;
  std::vector<std::filesystem::path> ccliFiles_;
  int targets_ = 0;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

void BM_ExportSongs(benchmark::State& state) {
  SongStore store(Folder().Source());
  store.LoadSongList();
  const std::filesystem::path file = Folder().ExportFile().parent_path() / "bench.exp";
  for (auto _ : state) benchmark::DoNotOptimize(ExportSongsToFile(file, store, Folder().Active(), {}).ok);
  state.counters["songs"] = static_cast<double>(Folder().Active().size());
}
BENCHMARK(BM_ExportSongs)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly();

void BM_ImportExportFileIntoEmptyStore(benchmark::State& state) {
  std::size_t imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const DataFiles target = Folder().FreshTarget();
    state.ResumeTiming();
    SongStore store(target);
    store.LoadSongList();
    const ExportFileContent content = ReadExportFile(Folder().ExportFile());
    std::vector<std::string> videos;
    ImportContext context{store, videos, 1520258820};
    imported = ImportSongLines(context, content.lines).songs.size();
  }
  state.counters["songs"] = static_cast<double>(imported);
}
BENCHMARK(BM_ImportExportFileIntoEmptyStore)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

void BM_ImportCcliFiles(benchmark::State& state) {
  std::size_t imported = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const DataFiles target = Folder().FreshTarget();
    state.ResumeTiming();
    SongStore store(target);
    store.LoadSongList();
    imported =
        ImportCcliFiles(store, Folder().CcliFiles(), target.folder / "pick-4.dat", 1520258820).stored.songs.size();
  }
  state.counters["songs"] = static_cast<double>(imported);
}
BENCHMARK(BM_ImportCcliFiles)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly();

}  // namespace
}  // namespace psalmora::bench
