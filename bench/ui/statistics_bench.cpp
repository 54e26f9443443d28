// Opening the statistics window over a "statistik.dat" of 100,000 presentations of 2,000 songs spread
// over ten years: reading the file, listing the years and counting every song for "Alle". Manual time
// per iteration; the median is added as a counter.
#include <benchmark/benchmark.h>

#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "songdb/ui/statistics_window.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

using bench::SilentMessages;
using bench::NoDialogs;

namespace fs = std::filesystem;
constexpr int kSongCount = 2000;
constexpr int kLines = 100000;

AppState& SharedState() {
  static std::unique_ptr<AppState> state = [] {
    const fs::path root =
        fs::temp_directory_path() / ("psalmora-statistics-bench-" + std::to_string(std::random_device{}()));
    const bench::GeneratedFolder generated = bench::GenerateDataFolder(root / "daten", kSongCount, 17, false);
    // Presentations in the order they happened: ten years from 2015, ids drawn from every song (trashed
    // ones too, as the file keeps them).
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> song(0, generated.records.size() - 1);
    const long long start = 1420070400;  // 2015-01-01 00:00
    const long long step = 10LL * 365 * 86400 / kLines;
    std::string lines;
    for (int i = 0; i < kLines; ++i) {
      std::string_view id = RecordField(generated.records[song(random)], 1);
      if (id.starts_with('#')) id = RecordField(generated.records[song(random)], 2);
      lines += std::string(id) + "\t" + std::to_string(start + i * step) + "\r\n";
    }
    WriteFileAtomically(root / "daten" / "statistik.dat", lines);
    auto made = std::make_unique<AppState>();
    made->programFolder = root / "programm";
    made->dataFiles = DataFiles::For(root / "daten");
    made->songs = SongStore(made->dataFiles);
    made->songs.LoadSongList();
    made->language.Load(fs::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman);
    return made;
  }();
  return *state;
}

void BM_OpenStatisticsOver100000Lines(benchmark::State& run) {
  AppState& state = SharedState();
  SilentMessages messages;
  NoDialogs dialogs;
  std::vector<double> millis;
  for (auto _ : run) {
    const auto start = std::chrono::steady_clock::now();
    StatisticsWindow window(state, messages, dialogs);
    window.show();
    QCoreApplication::processEvents();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (window.List()->topLevelItemCount() == 0) {
      run.SkipWithError("no rows");
      break;
    }
    run.SetIterationTime(elapsed.count());
    millis.push_back(elapsed.count() * 1000.0);
  }
  if (millis.empty()) return;
  std::sort(millis.begin(), millis.end());
  run.counters["median_ms"] = millis[millis.size() / 2];
  run.counters["max_ms"] = millis.back();
}
BENCHMARK(BM_OpenStatisticsOver100000Lines)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(argc, argv);
}
