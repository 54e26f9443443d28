// Main window timings on a generated 20,000-song data folder: filling `GroupSongList` with the whole
// database (group file, chooser, rows, title sort, repaint), the title sort alone, and building and
// showing the whole window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <memory>
#include <random>

#include "app/main_window.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_rows.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"

namespace psalmora {
namespace {

constexpr int kSongCount = 20000;

// One generated folder and state for the whole run.
AppState& SharedState() {
  static std::unique_ptr<AppState> state = [] {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("psalmora-ui-bench-" + std::to_string(std::random_device{}()));
    bench::GenerateDataFolder(folder, kSongCount, 17, false);
    auto made = std::make_unique<AppState>();
    made->dataFiles = DataFiles::For(folder);
    made->songs = SongStore(made->dataFiles);
    made->songs.LoadSongList();
    made->language.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman);
    made->windowTitle = "Psalmora bench";
    return made;
  }();
  return *state;
}

void BM_RefreshMainSongList(benchmark::State& run) {
  AppState& state = SharedState();
  MainWindow window(state);
  window.resize(1400, 900);
  window.show();
  QCoreApplication::processEvents();
  for (auto _ : run) {
    window.RefreshMainSongList();
    QCoreApplication::processEvents();  // the repaint of the refilled list
  }
  run.counters["rows"] = window.GroupSongList()->RowCount();
}
BENCHMARK(BM_RefreshMainSongList)->Unit(benchmark::kMillisecond);

void BM_ShowWholeDatabaseRowsOnly(benchmark::State& run) {
  AppState& state = SharedState();
  SongListWidget list(3);
  for (auto _ : run) ShowWholeDatabase(list, state.songs.SongList(), {});
}
BENCHMARK(BM_ShowWholeDatabaseRowsOnly)->Unit(benchmark::kMillisecond);

void BM_TitleSort(benchmark::State& run) {
  AppState& state = SharedState();
  SongListWidget list(3);
  ShowWholeDatabase(list, state.songs.SongList(), {});
  for (auto _ : run) {
    list.Model().sort(SongListModel::kCreatedColumn);  // unsort again so every title sort does real work
    list.SortByTitle();
  }
}
BENCHMARK(BM_TitleSort)->Unit(benchmark::kMillisecond);

void BM_BuildAndShowMainWindow(benchmark::State& run) {
  AppState& state = SharedState();
  for (auto _ : run) {
    MainWindow window(state);
    window.resize(1400, 900);
    window.show();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_BuildAndShowMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(argc, argv);
}
