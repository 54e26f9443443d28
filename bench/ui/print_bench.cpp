// Song sheets of 100 songs as PDF in the print window: from handing it the songs (the "drucken" page
// rendered and loaded) until the PDF file is written, on a generated folder with song texts. Manual
// time per iteration; the median is added as a counter, and so is the median processor time of this
// process and the web engine's processes it started (wall time alone says little while other programs
// share the cores).
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/language.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "platform/page_view.h"
#include "render/ui/print_window.h"
#include "support/data_folder_generator.h"
#include "ui_bench_main.h"
#include "ui_bench_support.h"

namespace psalmora {
namespace {

using bench::SilentMessages;
using bench::NoDialogs;

namespace fs = std::filesystem;
constexpr int kSongCount = 100;

struct PrintFolder {
  fs::path root;
  AppState state;
  std::vector<std::string> records;  // the active songs, in store order
};

PrintFolder& SharedFolder() {
  static std::unique_ptr<PrintFolder> folder = [] {
    auto made = std::make_unique<PrintFolder>();
    made->root = fs::temp_directory_path() / ("psalmora-print-bench-" + std::to_string(std::random_device{}()));
    bench::GenerateDataFolder(made->root / "daten", kSongCount + 10, 41, true);
    bench::MakeProgramFolder(made->root / "programm");
    AppState& state = made->state;
    bench::LoadState(state, made->root / "daten", made->root / "programm");
    for (const std::string& record : state.songs.SongList()) {
      if (!record.starts_with('#') && made->records.size() < kSongCount) made->records.push_back(record);
    }
    return made;
  }();
  return *folder;
}

// User and system time, in seconds, of this process and of every process below it (the web engine's
// zygote, renderer and GPU processes), from /proc.
double ProcessTreeCpuSeconds() {
  std::map<long, long> parents;
  std::map<long, double> seconds;
  const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
  std::error_code code;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", code)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream file(entry.path() / "stat");
    std::string stat;
    std::getline(file, stat);
    const std::size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) continue;
    // After the name: state, ppid, nine more fields, then utime and stime.
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string skip;
    long parent = 0;
    double user = 0, system = 0;
    fields >> skip >> parent;
    for (int i = 0; i < 9; ++i) fields >> skip;
    fields >> user >> system;
    const long pid = std::stol(name);
    parents[pid] = parent;
    seconds[pid] = (user + system) / ticks;
  }
  const long self = getpid();
  double total = 0;
  for (const auto& [pid, used] : seconds) {
    long up = pid;
    while (up > 1 && up != self) {
      const auto found = parents.find(up);
      up = found == parents.end() ? 0 : found->second;
    }
    if (up == self) total += used;
  }
  return total;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs the event loop until the signal fires once; false after 60 s.
template <typename Sender, typename Signal>
bool WaitFor(const Sender* sender, Signal signal) {
  QEventLoop loop;
  bool fired = false;
  QObject::connect(sender, signal, &loop, [&] {
    fired = true;
    loop.quit();
  });
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  loop.exec();
  return fired;
}

void BM_PdfOf100Songs(benchmark::State& run) {
  PrintFolder& folder = SharedFolder();
  SilentMessages messages;
  NoDialogs dialogs;
  auto* window = new PrintWindow(folder.state, messages, dialogs, {});
  window->resize(1200, 900);
  window->show();
  const QString pdf = QString::fromStdString((folder.root / "lieder.pdf").string());
  std::vector<double> millis;
  std::vector<double> loadMillis;
  std::vector<double> cpuMillis;
  for (auto _ : run) {
    const double cpuStart = ProcessTreeCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    window->SetRenderList(folder.records);
    if (!WaitFor(window->View(), &PageView::pageLoaded)) {
      run.SkipWithError("the page did not load");
      break;
    }
    loadMillis.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    window->SaveAsPdf(pdf);
    if (!WaitFor(window, &PrintWindow::pdfFinished) || !fs::exists(pdf.toStdString())) {
      run.SkipWithError("no PDF");
      break;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    run.SetIterationTime(elapsed.count());
    millis.push_back(elapsed.count() * 1000.0);
    cpuMillis.push_back((ProcessTreeCpuSeconds() - cpuStart) * 1000.0);
    fs::remove(pdf.toStdString());
  }
  window->close();
  if (millis.empty()) return;
  run.counters["median_ms"] = Median(millis);
  run.counters["max_ms"] = *std::max_element(millis.begin(), millis.end());
  run.counters["load_median_ms"] = Median(loadMillis);
  run.counters["cpu_median_ms"] = Median(cpuMillis);
}
BENCHMARK(BM_PdfOf100Songs)->Iterations(7)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora

int main(int argc, char** argv) {
  return psalmora::bench::RunUiBenchmarks(argc, argv);
}
