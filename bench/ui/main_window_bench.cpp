// Main window timings on a generated 20,000-song data folder: filling `GroupSongList` with the whole
// database (group file, chooser, rows, title sort, repaint), the title sort alone, building and
// showing the whole window, and Return in the search field up to the painted list of about 19,600 hits.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <filesystem>
#include <memory>
#include <random>

#include "app/left_column.h"
#include "app/main_window.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "songdb/ui/search_controller.h"
#include "songdb/ui/search_page.h"
#include "songdb/ui/song_list_widget.h"
#include "songdb/ui/song_rows.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

constexpr int kSongCount = 20000;

// One generated folder and state for the whole run.
AppState& SharedState() {
  static std::unique_ptr<AppState> state = [] {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("psalmora-ui-bench-" + std::to_string(std::random_device{}()));
    bench::GenerateDataFolder(folder, kSongCount, 17, false);
    // The search's text index goes to the cache folder: keep it beside the generated folder.
    ::setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
    auto made = std::make_unique<AppState>();
    bench::LoadState(*made, folder);
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

// Return in the search field, "*" in the title (every song outside the trash is a hit), until the first
// screen of `SearchHitList` is painted: the search, the rows handed to the model, the repaint.
void BM_SearchEnterToFilledHitList(benchmark::State& run) {
  AppState& state = SharedState();
  MainWindow window(state);
  auto* controller = new SearchController(state, window);
  window.resize(1400, 900);
  window.show();
  window.Left()->Pages()->setCurrentIndex(LeftColumn::kSearchPage);
  SearchPage* page = window.Search();
  page->SearchField()->setText(QStringLiteral("*"));
  page->SearchField()->setFocus();
  QCoreApplication::processEvents();
  for (auto _ : run) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(page->SearchField(), &press);
    page->SearchHitList()->repaint();  // the first screen, painted now rather than at the next pass
    QCoreApplication::processEvents();
  }
  run.counters["rows"] = page->SearchHitList()->RowCount();
  (void)controller;
}
BENCHMARK(BM_SearchEnterToFilledHitList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(argc, argv);
}
