// Beamer timing on the real presentation window (second offscreen monitor), for songs of a generated
// 2,000-song folder with texts: from the send command to the main frame's loadFinished, and from a
// PageDown (the presenter clicker's "next") to the next slide's loadFinished, with the text fitted to the
// beamer. The median of the iterations is reported as "median_ms".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
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
#include "ui_bench_support.h"

namespace psalmora {
namespace {

using bench::ReportMedian;
using bench::SilentMessages;

namespace fs = std::filesystem;
constexpr int kSongCount = 2000;

std::unique_ptr<AppState> MakeState() {
  const fs::path root = fs::temp_directory_path() / ("psalmora-beamer-bench-" + std::to_string(std::random_device{}()));
  bench::GenerateDataFolder(root / "daten", kSongCount, 23, true);
  bench::MakeProgramFolder(root / "programm");
  auto state = std::make_unique<AppState>();
  bench::LoadState(*state, root / "daten", root / "programm");
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

void BM_NextSlideKeyUntilLoaded(benchmark::State& run) {
  std::unique_ptr<AppState> state = MakeState();
  // The generated texts part their verses with lines of one blank, which the beamer keeps within one
  // slide; empty lines make them slides.
  for (const auto& entry : fs::directory_iterator(state->dataFiles.folder)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] < '0' || name[0] > '9') continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    for (std::size_t at = text.find("\r\n \r\n"); at != std::string::npos; at = text.find("\r\n \r\n", at)) {
      text.replace(at, 5, "\r\n\r\n");
    }
    std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << text;
  }
  state->settings.folie = 1;
  state->settings.beamertextanpassen = 1;
  SilentMessages messages;
  MainWindow window(*state);
  new PreviewController(*state, window);
  auto* presentation = new PresentationController(*state, window, messages);
  ConnectControllers(window);
  window.resize(1280, 900);
  window.show();
  presentation->OpenPresentation(1);
  PageView* mainFrame = presentation->Window()->MainFrame();
  WaitForMainFrame(mainFrame);
  SongListWidget* list = window.GroupSongList();
  window.SetCurrentSongList(SongListId::Group);
  int row = 0;
  auto sendNextSong = [&] {
    list->SelectRow(row++ % list->RowCount());
    presentation->SendSongToBeamer();
    WaitForMainFrame(mainFrame);
  };
  sendNextSong();

  std::vector<double> samples;
  for (auto _ : run) {
    // A song from the song list stays at its last slide: the next song is sent, untimed.
    int before = presentation->BeamerSlide();
    for (int attempt = 0; attempt < 100; ++attempt) {
      QKeyEvent probe(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
      const auto start = std::chrono::steady_clock::now();
      QApplication::sendEvent(&window, &probe);
      if (presentation->BeamerSlide() == before) {
        sendNextSong();
        before = presentation->BeamerSlide();
        continue;
      }
      const bool loaded = WaitForMainFrame(mainFrame);
      const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
      if (!loaded) run.SkipWithError("main frame did not finish loading");
      run.SetIterationTime(elapsed.count());
      samples.push_back(elapsed.count() * 1000.0);
      break;
    }
  }
  ReportMedian(run, std::move(samples));
}
BENCHMARK(BM_NextSlideKeyUntilLoaded)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(
      argc, argv,
      QByteArray("offscreen:configfile=") + PSALMORA_SOURCE_DIR "/tests/data/qt-offscreen-two-screens.json");
}
