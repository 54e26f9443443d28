// Synchronisation of a 5,000-song data folder with a real psalmora-server over loopback: the first
// sync (every song uploaded) and a sync with nothing changed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "core/settings.h"
#include "online/song_sync.h"
#include "songdb/song_store.h"
#include "support/data_folder_generator.h"

namespace psalmora::bench {
namespace {

constexpr int kSongs = 5000;

#ifdef PSALMORA_SERVER_PATH
constexpr const char* kServerPath = PSALMORA_SERVER_PATH;
#else
constexpr const char* kServerPath = nullptr;
#endif

// A server with one account on a fresh database, and a data folder logged in to it.
class Setup {
 public:
  Setup() {
    char pattern[] = "/tmp/psalmora-sync-bench-XXXXXX";
    root_ = ::mkdtemp(pattern);
    const std::string db = (root_ / "service.db").string();
    const std::string add = std::string("'") + kServerPath + "' adduser bench@example.org --db '" + db + "' >/dev/null";
    if (FILE* pipe = ::popen(add.c_str(), "w")) {
      std::fputs("bench-passwort\n", pipe);
      ::pclose(pipe);
    }
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(::open("/dev/null", O_WRONLY), 2);
      ::execl(kServerPath, kServerPath, "serve", "--port", "0", "--db", db.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    pollfd ready{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&ready, 1, 10000) > 0) {
      char buffer[256];
      const ssize_t got = ::read(out[0], buffer, sizeof buffer);
      if (got <= 0) break;
      line.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    const std::string prefix = "psalmora-server: listening on ";
    if (line.rfind(prefix, 0) != 0) return;
    settings_.serveradresse = line.substr(prefix.size(), line.find('\n') - prefix.size());
    const LoginResult login =
        LoginCantabox(CurlHttpGet(), settings_.serveradresse, "bench@example.org", "bench-passwort");
    settings_.useridcb = login.userId;
    std::filesystem::create_directories(root_ / "config");
    GenerateDataFolder(root_ / "daten", kSongs, 7, true);
    store_ = std::make_unique<SongStore>(DataFiles::For(root_ / "daten"));
    store_->LoadSongList();
  }
  ~Setup() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }
  bool Ready() const { return !settings_.useridcb.empty(); }
  SyncReport Sync() { return SyncWithCantabox(*store_, {settings_, root_ / "config" / "einstellungen.ini"}, http_); }

 private:
  std::filesystem::path root_;
  pid_t pid_ = -1;
  Settings settings_;
  std::unique_ptr<SongStore> store_;
  HttpGet http_ = CurlHttpGet();
};

void BM_FirstSyncOf5000Songs(benchmark::State& state) {
  if (kServerPath == nullptr) return state.SkipWithError("psalmora-server is not built");
  for (auto _ : state) {
    state.PauseTiming();
    auto setup = std::make_unique<Setup>();
    if (!setup->Ready()) return state.SkipWithError("psalmora-server did not start or refused the login");
    state.ResumeTiming();
    const SyncReport report = setup->Sync();
    state.PauseTiming();
    if (!report.Ok() || report.uploaded.size() < 4000) return state.SkipWithError(report.errorText.c_str());
    state.counters["uploaded"] = static_cast<double>(report.uploaded.size());
    setup.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstSyncOf5000Songs)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

void BM_SecondSyncNothingChanged(benchmark::State& state) {
  if (kServerPath == nullptr) return state.SkipWithError("psalmora-server is not built");
  Setup setup;
  if (!setup.Ready()) return state.SkipWithError("psalmora-server did not start or refused the login");
  if (!setup.Sync().Ok()) return state.SkipWithError("the first sync failed");
  for (auto _ : state) {
    const SyncReport report = setup.Sync();
    if (!report.Ok() || !report.uploaded.empty() || !report.downloaded.empty() || !report.changed.empty()) {
      return state.SkipWithError("the second sync was not empty");
    }
  }
}
BENCHMARK(BM_SecondSyncNothingChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(3);

}  // namespace
}  // namespace psalmora::bench
