// The stage view under the beamer, on a generated 2,000-song folder: from a song sent in the program to
// the stage page (Qt WebEngine, connected over the stage server's event stream) showing it; and the
// beamer's own time to change slides (the slide's render plus the snapshot handed to the server) with
// no phone connected and with 50 phones' event streams open, in one run. Medians as "median_ms".
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "app/controller_wiring.h"
#include "app/main_window.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/ui/app_state.h"
#include "core/ui/messages.h"
#include "core/ui/ui_text.h"
#include "render/ui/presentation_controller.h"
#include "render/ui/preview_controller.h"
#include "songdb/schema.h"
#include "songdb/ui/song_list_widget.h"
#include "stage/ui/stage_controller.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

using bench::SilentMessages;

namespace fs = std::filesystem;
constexpr int kSongCount = 2000;

// A data folder whose songs have several slides (empty lines between their verses), paging on.
std::unique_ptr<AppState> MakeState() {
  const fs::path root = fs::temp_directory_path() / ("psalmora-stage-bench-" + std::to_string(std::random_device{}()));
  bench::GenerateDataFolder(root / "daten", kSongCount, 29, true);
  for (const auto& entry : fs::directory_iterator(root / "daten")) {
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
  bench::MakeProgramFolder(root / "programm");
  fs::create_directories(root / "programm" / "config");
  auto state = std::make_unique<AppState>();
  bench::LoadState(*state, root / "daten", root / "programm");
  state->settings.folie = 1;
  return state;
}

struct Program {
  std::unique_ptr<AppState> state = MakeState();
  SilentMessages messages;
  MainWindow window{*state};
  PresentationController* presentation = nullptr;
  StageController* stage = nullptr;
  SongListWidget* list = nullptr;

  Program() {
    new PreviewController(*state, window);
    presentation = new PresentationController(*state, window, messages);
    stage = new StageController(*state, window, messages, 0);
    ConnectControllers(window);
    window.resize(1280, 900);
    window.show();
    presentation->OpenPresentation(1);
    list = window.GroupSongList();
    window.SetCurrentSongList(SongListId::Group);
  }
  QString TitleOf(int row) const {
    return FromCp1252(RecordField(state->songs.FindSongRecord(ToCp1252(list->Model().RowAt(row).id)), song_field::kTitle));
  }
};

double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
}

bool WaitForTitle(QWebEnginePage* page, const QString& title) {
  if (page->title() == title) return true;
  QEventLoop loop;
  auto done = QObject::connect(page, &QWebEnginePage::titleChanged, &loop, [&](const QString& now) {
    if (now == title) loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(done);
  return page->title() == title;
}

void BM_SongSentUntilStagePageShowsIt(benchmark::State& run) {
  Program program;
  QWebEngineView phone;
  phone.resize(412, 900);
  phone.show();
  phone.load(QUrl(QStringLiteral("http://127.0.0.1:%1/stage").arg(program.stage->Port())));
  int row = 0;
  auto send = [&](int at) {
    program.list->SelectRow(at);
    program.presentation->SendSongToBeamer();
    return program.TitleOf(at) + QStringLiteral(" \u2013 Psalmora");
  };
  WaitForTitle(phone.page(), send(row++));  // page loaded, stream open
  std::vector<double> samples;
  for (auto _ : run) {
    // Two songs of the same title would show no change: the next one that differs.
    while (program.TitleOf(row % program.list->RowCount()) + QStringLiteral(" \u2013 Psalmora") == phone.page()->title()) ++row;
    const auto start = std::chrono::steady_clock::now();
    const QString expected = send(row++ % program.list->RowCount());
    const bool shown = WaitForTitle(phone.page(), expected);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!shown) run.SkipWithError("the stage page did not show the song");
    run.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1000.0);
  }
  run.counters["median_ms"] = Median(samples);
}
BENCHMARK(BM_SongSentUntilStagePageShowsIt)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

// A phone that only reads its event stream, as a stage page does.
class StreamReader {
 public:
  StreamReader(int port, std::atomic<bool>& stop) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval wait{0, 200000};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
    const std::string request = "GET /stage/events?t=0&c=0 HTTP/1.1\r\nHost: stage\r\n\r\n";
    ::send(fd_, request.data(), request.size(), MSG_NOSIGNAL);
    thread_ = std::thread([this, &stop] {
      // The phones are other devices: here they take only the time the program leaves over.
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
      char buffer[8192];
      while (!stop) {
        const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
        if (got > 0) received_ += got;
        if (got == 0) break;
      }
    });
  }
  ~StreamReader() {
    if (thread_.joinable()) thread_.join();
    ::close(fd_);
  }
  long long Received() const { return received_; }

 private:
  int fd_ = -1;
  std::thread thread_;
  std::atomic<long long> received_{0};
};

void BM_BeamerSlideWithStagePages(benchmark::State& run) {
  Program program;
  const int phones = static_cast<int>(run.range(0));
  std::atomic<bool> stop{false};
  std::vector<std::unique_ptr<StreamReader>> readers;
  for (int i = 0; i < phones; ++i) readers.push_back(std::make_unique<StreamReader>(program.stage->Port(), stop));
  while (program.stage->Server()->StreamCount() < phones) QApplication::processEvents();
  program.list->SelectRow(0);
  program.presentation->SendSongToBeamer();
  int row = 0;
  int click = 0;
  std::vector<double> samples;
  for (auto _ : run) {
    // Slides 1 to 4 over and over, a new song every twenty clicks (untimed), as through a service.
    const auto start = std::chrono::steady_clock::now();
    program.presentation->SelectSlide(click++ % 4 + 1);
    program.stage->PublishNow();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    run.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1000.0);
    if (click % 20 == 0) {
      program.list->SelectRow(++row % program.list->RowCount());
      program.presentation->SendSongToBeamer();
    }
    // The event loop's turn between clicks: page loads, the phones' snapshots.
    QApplication::processEvents();
  }
  stop = true;
  long long received = 0;
  for (const auto& reader : readers) received += reader->Received();
  readers.clear();
  run.counters["median_ms"] = Median(samples);
  run.counters["phone_kB"] = static_cast<double>(received) / 1024.0;
}
BENCHMARK(BM_BeamerSlideWithStagePages)->Arg(0)->Arg(50)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(
      argc, argv,
      QByteArray("offscreen:configfile=") + PSALMORA_SOURCE_DIR "/tests/data/qt-offscreen-two-screens.json");
}
