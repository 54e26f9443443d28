// Synchronisation of a 5,000-song data folder with a real psalmora-server over loopback: the first
// sync (every song uploaded) and a sync with nothing changed.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/settings.h"
#include "online/song_sync.h"
#include "songdb/song_store.h"
#include "support/data_folder_generator.h"
#ifdef PSALMORA_SERVER_PATH
#include "support/server_process.h"
#include "support/temp_dir.h"
#endif

namespace psalmora::bench {
namespace {

constexpr int kSongs = 5000;

#ifdef PSALMORA_SERVER_PATH
constexpr const char* kServerPath = PSALMORA_SERVER_PATH;

// A server with one account on a fresh database, and a data folder logged in to it.
class Setup {
 public:
  Setup() : server_(kServerPath) {
    if (!server_.Running() || !server_.AddUser("bench@example.org", "bench-passwort")) return;
    settings_.serveradresse = server_.Address();
    const LoginResult login =
        LoginCantabox(CurlHttpGet(), settings_.serveradresse, "bench@example.org", "bench-passwort");
    settings_.useridcb = login.userId;
    std::filesystem::create_directories(root_ / "config");
    GenerateDataFolder(root_ / "daten", kSongs, 7, true);
    store_ = std::make_unique<SongStore>(DataFiles::For(root_ / "daten"));
    store_->LoadSongList();
  }
  bool Ready() const { return !settings_.useridcb.empty(); }
  SyncReport Sync() { return SyncWithCantabox(*store_, {settings_, root_ / "config" / "einstellungen.ini"}, http_); }

 private:
  testing::ServerProcess server_;
  testing::TempDir root_;
  Settings settings_;
  std::unique_ptr<SongStore> store_;
  HttpGet http_ = CurlHttpGet();
};

void BM_FirstSyncOf5000Songs(benchmark::State& state) {
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

#else
// Built without the server (or without the tests' support library that starts it).
void BM_SyncNeedsTheServer(benchmark::State& state) { state.SkipWithError("psalmora-server is not built"); }
BENCHMARK(BM_SyncNeedsTheServer);
#endif

}  // namespace
}  // namespace psalmora::bench
