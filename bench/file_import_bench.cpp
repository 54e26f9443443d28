// Speed of the text import: 1,000 text files through three assignment rules into a store of 2,000
// songs, reading, rule evaluation and the one save included (target: under a second). Set
// PSALMORA_BENCH_DIR to measure on a particular disk (default: the system temporary folder).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "core/atomic_file.h"
#include "songdb/song_store.h"
#include "support/data_folder_generator.h"
#include "transfer/file_import.h"

namespace psalmora::bench {
namespace {

constexpr int kFileCount = 1000;

std::filesystem::path MakeTempFolder() {
  const char* base = std::getenv("PSALMORA_BENCH_DIR");
  std::string pattern = ((base != nullptr ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                         "psalmora-bench-XXXXXX")
                            .string();
  return ::mkdtemp(pattern.data()) != nullptr ? std::filesystem::path(pattern) : std::filesystem::path();
}

AssignmentRules BenchRules() {
  AssignmentRules rules;
  rules[0].assigned = true;
  rules[0].source = RuleSource::kFirstLine;
  rules[5] = rules[0];
  rules[5].source = RuleSource::kLastLine;
  rules[5].replace = true;
  rules[5].search = "(c)";
  rules[5].replacement = "\xA9";
  rules[8].assigned = true;
  rules[8].split = true;
  rules[8].separator = "-";
  rules[8].part = 2;
  return rules;
}

void BM_ImportTextFiles(benchmark::State& state) {
  const std::filesystem::path root = MakeTempFolder();
  const std::filesystem::path data = root / "daten";
  GenerateDataFolder(data, 2000, 2026, false);
  const std::string list = ReadWholeFile(data / "lieder.dat").value_or(std::string());
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < kFileCount; ++i) {
    std::string text = "Lied " + std::to_string(i) + "\r\n";
    for (int verse = 0; verse < 4; ++verse) {
      text += "    G       D        Em     C\r\nDie Strophe mit ihren Worten und Silben\r\n\r\n-\r\n\r\n";
    }
    text += "(c) Verlag " + std::to_string(i) + "\r\n";
    files.push_back(root / ("Lied-" + std::to_string(i) + ".txt"));
    (void)WriteFileAtomically(files.back(), text, FileSync::kNone);
  }
  const AssignmentRules rules = BenchRules();
  for (auto _ : state) {
    state.PauseTiming();
    // Every run starts from the same store: the 2,000 songs and no text files of earlier runs.
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
      const std::string name = entry.path().filename().string();
      if (name != "lieder.dat" && name.ends_with(".dat") && name != "id.dat") std::filesystem::remove(entry.path());
    }
    (void)WriteFileAtomically(data / "lieder.dat", list, FileSync::kNone);
    std::filesystem::remove(data / "id.dat");
    SongStore store(DataFiles::For(data));
    store.LoadSongList();
    state.ResumeTiming();
    const FileImport result = ImportTextFiles(store, files, rules, 1765000000);
    if (!result.stored.saved || result.stored.songs.size() != kFileCount) state.SkipWithError("import failed");
  }
  state.counters["files"] = kFileCount;
  std::error_code error;
  std::filesystem::remove_all(root, error);
}
BENCHMARK(BM_ImportTextFiles)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace psalmora::bench
