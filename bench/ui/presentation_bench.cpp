// Beamer timing on the real presentation window (second offscreen monitor): from the send command to the
// main frame's loadFinished, for songs of a generated 2,000-song folder with texts. Each iteration sends
// the next song and waits for the page; the median of the iterations is reported as "median_ms".
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
#include "core/ui/messages.h"
#include "platform/page_view.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/presentation_window.h"
#include "render/ui/preview_controller.h"
#include "songdb/ui/song_list_widget.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;
constexpr int kSongCount = 2000;

class SilentMessages : public Messages {
 public:
  void Show(QWidget*, MessageIcon, const QString&, const QString&) override {}
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
};

std::unique_ptr<AppState> MakeState() {
  const fs::path root = fs::temp_directory_path() / ("psalmora-beamer-bench-" + std::to_string(std::random_device{}()));
  bench::GenerateDataFolder(root / "daten", kSongCount, 23, true);
  fs::create_directories(root / "programm" / "layouts");
  for (const auto& entry : fs::directory_iterator(fs::path(PSALMORA_SOURCE_DIR) / "data/layouts")) {
    fs::copy_file(entry.path(), root / "programm" / "layouts" / entry.path().filename());
  }
  auto state = std::make_unique<AppState>();
  state->programFolder = root / "programm";
  state->dataFiles = DataFiles::For(root / "daten");
  state->songs = SongStore(state->dataFiles);
  state->songs.LoadSongList();
  state->language.Load(fs::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman);
  state->windowTitle = "Psalmora bench";
  return state;
}

bool WaitForMainFrame(PageView* frame) {
  QEventLoop loop;
  bool loaded = false;
  auto done = QObject::connect(frame, &PageView::pageLoaded, &loop, [&] {
    loaded = true;
    loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(done);
  return loaded;
}

void BM_SendSongToBeamerUntilLoaded(benchmark::State& run) {
  std::unique_ptr<AppState> state = MakeState();
  SilentMessages messages;
  MainWindow window(*state);
  new PreviewController(*state, window);
  auto* presentation = new PresentationController(*state, window, messages);
  ConnectControllers(window);
  window.resize(1280, 900);
  window.show();
  presentation->OpenPresentation(1);
  PageView* mainFrame = presentation->Window()->MainFrame();
  WaitForMainFrame(mainFrame);  // the start page
  SongListWidget* list = window.GroupSongList();
  window.SetCurrentSongList(SongListId::Group);
  // A first send warms the engine's renderer process for file pages.
  list->SelectRow(0);
  presentation->SendSongToBeamer();
  WaitForMainFrame(mainFrame);

  std::vector<double> samples;
  int row = 1;
  for (auto _ : run) {
    list->SelectRow(row++ % list->RowCount());
    const auto start = std::chrono::steady_clock::now();
    presentation->SendSongToBeamer();
    const bool loaded = WaitForMainFrame(mainFrame);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!loaded) run.SkipWithError("main frame did not finish loading");
    run.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1000.0);
  }
  std::sort(samples.begin(), samples.end());
  if (!samples.empty()) {
    const std::size_t middle = samples.size() / 2;
    const double median = samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
    run.counters["median_ms"] = median;
    run.counters["max_ms"] = samples.back();
  }
}
BENCHMARK(BM_SendSongToBeamerUntilLoaded)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(
      argc, argv,
      QByteArray("offscreen:configfile=") + PSALMORA_SOURCE_DIR "/tests/data/qt-offscreen-two-screens.json");
}
