// Media timings on the real presentation window (second offscreen monitor): from Enter on a video in
// the file browser to its first picture on the beamer's media layer, and from choosing a presentation of
// 20 slides (made at run time) to its first slide shown in the slide view, conversion by LibreOffice
// included. The median of the iterations is reported as "median_ms".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "app/controller_wiring.h"
#include "app/left_column.h"
#include "app/main_window.h"
#include "app/media_room.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "media/ui/media_controller.h"
#include "media/ui/media_pages.h"
#include "media/ui/slide_pane.h"
#include "media/ui/video_area.h"
#include "platform/page_view.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/preview_controller.h"
#include "songdb/ui/song_list_widget.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

using bench::ReportMedian;
using bench::SilentMessages;

namespace fs = std::filesystem;

struct Room {
  fs::path root = fs::temp_directory_path() / ("psalmora-media-bench-" + std::to_string(std::random_device{}()));
  AppState state;
  SilentMessages messages;
  std::unique_ptr<MainWindow> window;
  PresentationController* presentation = nullptr;
  MediaController* media = nullptr;

  Room() {
    fs::create_directories(root / "daten" / "youtube");
    std::ofstream(root / "daten" / "lieder.dat", std::ios::binary) << "1\t\tLied\t\r\n";
    bench::LoadState(state, root / "daten", root / "programm");
    window = std::make_unique<MainWindow>(state);
    new PreviewController(state, *window);
    presentation = new PresentationController(state, *window, messages);
    ConnectControllers(*window);
    CreateMediaControllers(state, *window, messages);
    media = MediaController::Of(*window);
    window->resize(1280, 900);
    window->show();
    presentation->OpenPresentation(1);
  }
  ~Room() {
    window.reset();
    std::error_code error;
    fs::remove_all(root, error);
  }
  bool ChooseFile(const QString& file) {
    FilePage* files = window->Left()->Files();
    files->ShowFolder(QString::fromStdString(root.string()));
    QListView* browser = files->FileBrowser();
    auto* model = static_cast<QFileSystemModel*>(browser->model());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      const QModelIndex index = model->index(file);
      if (index.isValid()) {
        browser->setCurrentIndex(index);
        return true;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return false;
  }
};

template <typename Signal, typename Sender>
bool WaitFor(Sender* sender, Signal signal, int timeoutMs) {
  QEventLoop loop;
  bool fired = false;
  auto done = QObject::connect(sender, signal, &loop, [&] {
    fired = true;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(done);
  return fired;
}

// The operator chooses a video in the file browser (a click or the arrow keys), then presses Enter: two
// movies in turn, so every Enter plays another file than the one before. The argument is the pause in
// milliseconds between choosing and Enter (0: Enter at once, before the player could read ahead).
void BM_EnterOnVideoUntilFirstBeamerFrame(benchmark::State& run) {
  Room room;
  std::vector<QString> movies;
  for (const char* name : {"Ansage.avi", "Abkuendigung.avi"}) {
    const fs::path movie = room.root / name;
    const std::string make =
        "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=1280x720:rate=25 -f lavfi -i "
        "sine=frequency=440 -t 10 -c:v mpeg4 -q:v 5 -c:a mp2 '" +
        movie.string() + "' </dev/null";
    if (std::system(make.c_str()) != 0) {
      run.SkipWithError("no movie (ffmpeg missing?)");
      return;
    }
    movies.push_back(QString::fromStdString(movie.string()));
  }
  QListView* browser = room.window->Left()->Files()->FileBrowser();
  std::vector<double> samples;
  std::size_t turn = 0;
  for (auto _ : run) {
    if (!room.ChooseFile(movies[turn++ % movies.size()])) run.SkipWithError("file not listed");
    // The time between choosing and pressing Enter that an operator takes anyway.
    QEventLoop pause;
    QTimer::singleShot(static_cast<int>(run.range(0)), &pause, &QEventLoop::quit);
    pause.exec();
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(browser, &enter);
    const bool shown = WaitFor(room.media->BeamerVideo(), &VideoArea::firstFrameShown, 15000);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!shown) run.SkipWithError("no picture on the beamer");
    run.SetIterationTime(elapsed.count());
    // The first start loads GStreamer's plugins: a warm-up, not counted.
    if (turn > 1) samples.push_back(elapsed.count() * 1000.0);
    room.window->SetCurrentSongList(SongListId::Group);
    room.window->GroupSongList()->SelectRow(0);
    room.presentation->SendSongToBeamer();  // stops the movie again
    if (room.media->BeamerVideo()->IsPlaying()) run.SkipWithError("the song did not stop the movie");
  }
  ReportMedian(run, std::move(samples));
}
BENCHMARK(BM_EnterOnVideoUntilFirstBeamerFrame)
    ->Arg(1000)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(21)
    ->Unit(benchmark::kMillisecond);

std::string Presentation(int slides) {
  std::string pages;
  for (int slide = 1; slide <= slides; ++slide) {
    pages += "<draw:page draw:name=\"s" + std::to_string(slide) +
             "\"><draw:frame svg:x=\"2cm\" svg:y=\"2cm\" svg:width=\"20cm\" svg:height=\"8cm\"><draw:text-box>"
             "<text:p>Folie " +
             std::to_string(slide) +
             "</text:p><text:p>Gnade sei mit euch und Friede</text:p>"
             "</draw:text-box></draw:frame></draw:page>";
  }
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.presentation"><office:body><office:presentation>)" +
         pages + "</office:presentation></office:body></office:document>";
}

void BM_ChoosePresentationUntilFirstSlide(benchmark::State& run) {
  Room room;
  const fs::path file = room.root / "Predigt.fodp";
  std::ofstream(file, std::ios::binary) << Presentation(20);
  room.window->Left()->Files()->PptField()->setText(QStringLiteral("ppt, pps, fodp"));
  const QString path = QString::fromStdString(file.string());
  std::vector<double> samples;
  for (auto _ : run) {
    const auto start = std::chrono::steady_clock::now();
    room.media->ShowMediaFile(path, false);
    const bool loaded = WaitFor(room.media, &MediaController::slidesLoaded, 120000);
    const bool shown = loaded && WaitFor(room.media->Slides()->SlideView(), &PageView::pageLoaded, 10000);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!shown || room.media->SlideCount() != 20) run.SkipWithError("the slides were not made");
    run.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1000.0);
  }
  ReportMedian(run, std::move(samples));
}
BENCHMARK(BM_ChoosePresentationUntilFirstSlide)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(
      argc, argv,
      QByteArray("offscreen:configfile=") + PSALMORA_SOURCE_DIR "/tests/data/qt-offscreen-two-screens.json");
}
