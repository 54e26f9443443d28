// Preview latency in the real main window: from choosing a song in `GroupSongList` until the preview's
// page view reports loadFinished for its new page, on a generated 2,000-song folder with song texts.
// Each iteration is one selection; the reported time is manual (wall clock of that span), and the
// median over the iterations is added as a counter.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "app/controller_wiring.h"
#include "app/main_window.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "render/ui/preview_controller.h"
#include "songdb/ui/song_list_widget.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;
constexpr int kSongCount = 2000;
constexpr int kSelections = 50;

AppState& SharedState() {
  static std::unique_ptr<AppState> state = [] {
    const fs::path root =
        fs::temp_directory_path() / ("psalmora-preview-bench-" + std::to_string(std::random_device{}()));
    bench::GenerateDataFolder(root / "daten", kSongCount, 23, true);
    bench::MakeProgramFolder(root / "programm");
    auto made = std::make_unique<AppState>();
    bench::LoadState(*made, root / "daten", root / "programm");
    return made;
  }();
  return *state;
}

// Waits in the event loop for the next previewLoaded; false after 10 s.
bool WaitForPreview(PreviewController& preview) {
  QEventLoop loop;
  bool loaded = false;
  QObject::connect(&preview, &PreviewController::previewLoaded, &loop, [&] {
    loaded = true;
    loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  return loaded;
}

void BM_SelectSongUntilPreviewLoaded(benchmark::State& run) {
  AppState& state = SharedState();
  MainWindow window(state);
  auto* preview = new PreviewController(state, window);
  ConnectControllers(window);
  window.resize(1400, 900);
  window.show();
  SongListWidget* list = window.GroupSongList();
  // The engine starts its renderer process on the first page; that start is not part of a selection.
  list->SelectRow(0);
  if (!WaitForPreview(*preview)) run.SkipWithError("the first preview did not load");

  std::vector<double> millis;
  int row = 1;
  for (auto _ : run) {
    const auto start = std::chrono::steady_clock::now();
    list->SelectRow(row);
    const bool loaded = WaitForPreview(*preview);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!loaded) {
      run.SkipWithError("a preview did not load");
      break;
    }
    run.SetIterationTime(elapsed.count());
    millis.push_back(elapsed.count() * 1000.0);
    row = (row + 37) % list->RowCount();
  }
  if (millis.empty()) return;
  std::sort(millis.begin(), millis.end());
  run.counters["median_ms"] = millis[millis.size() / 2];
  run.counters["max_ms"] = millis.back();
}
BENCHMARK(BM_SelectSongUntilPreviewLoaded)->Iterations(kSelections)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(argc, argv);
}
