// psalmora-server under load: 50 clients at once, each with its own account, upload 1,000 songs each
// (neuersong) and then compare all of them (abgleich in parts of 101, as the program sends them), against
// one server over loopback with its default settings. Afterwards every account must hold exactly its
// 1,000 songs and no request may have failed. Reports requests per second.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "server/http_service.h"
#include "server/password_hash.h"
#include "server/sqlite_service_store.h"

namespace {

using namespace psalmora::server;

// About 600 bytes on the wire: lyrics with blanks and umlauts, encoded as the client does.
std::string EncodedLyrics() {
  std::string lyrics;
  for (int line = 0; line < 8; ++line) lyrics += "Gro%C3%9Fer%20Gott%2C%20wir%20loben%20dich%20f%C3%BCr%20immer%5Cn";
  return lyrics;
}

struct ClientResult {
  long requests = 0;
  long failures = 0;
};

ClientResult RunClient(int port, const std::string& user, int songs, const std::string& lyrics) {
  ClientResult result;
  httplib::Client client("127.0.0.1", port);
  client.set_keep_alive(true);
  client.set_tcp_nodelay(true);
  client.set_read_timeout(60, 0);
  const auto get = [&](const std::string& query) -> std::string {
    ++result.requests;
    const auto response = client.Get("/app/app-aktion.php?" + query);
    if (!response || response->status != 200) {
      ++result.failures;
      return "error|transport";
    }
    return response->body;
  };
  const std::string changed = "05.03.2018-14%3A07";
  std::vector<std::string> globalIds;
  for (int i = 0; i < songs; ++i) {
    const std::string reply = get(
        "userid=" + user + "&aktion=neuersong&id=" + std::to_string(i + 1) + "&titel=Lied%20" + std::to_string(i) +
        "&textumusik=Anna&copyright=&ccli_liednummer=&akkordzeile=&bemerkung=&link1=&songtempo=&liedtext=" + lyrics +
        "&erstellt_am=1520258820&erstellt_von=" + user + "&geaendert_am=" + changed + "&tonart=G&textformatierung=");
    if (reply.rfind("ok|", 0) != 0) {
      ++result.failures;
      continue;
    }
    globalIds.push_back(reply.substr(3));
  }
  std::string list;
  for (std::size_t i = 0; i < globalIds.size(); ++i) {
    list += globalIds[i] + "-05.03.2018-14:07[spalte]";
    const bool last = i + 1 == globalIds.size();
    if ((i + 1) % 101 != 0 && !last) continue;
    const std::string reply =
        get("aktion=abgleich&songstring=" + list + "&userid=" + user + "&part=" + (last ? "fertig" : "teil"));
    // Both sides agree on every song: all four sections empty.
    if (reply != (last ? "[zeile][zeile][zeile]" : "ok")) ++result.failures;
    list.clear();
  }
  return result;
}

void BM_FiftyClientsUploadAndCompare(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  const int songs = static_cast<int>(state.range(1));
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("psalmora-server-load-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  InitPasswordHashing();
  {
    SqliteServiceStore store(folder / "service.db");
    ServiceActions actions(store);
    ServerOptions options;
    options.port = 0;
    options.quiet = true;
    HttpService service(options, actions, std::cerr);
    std::string error;
    if (!service.Bind(error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    std::thread runner([&] { service.Run(); });

    // The accounts share one hash: making fifty would only measure libsodium.
    const std::string hash = HashPassword("geheim").value_or("");
    std::vector<std::string> users;
    for (int i = 0; i < clients; ++i) {
      users.push_back(RandomToken());
      store.AddAccount({users.back(), "chor" + std::to_string(i) + "@example.org", hash});
    }
    const std::string lyrics = EncodedLyrics();

    long requests = 0;
    long failures = 0;
    for (auto _ : state) {
      std::vector<ClientResult> results(static_cast<std::size_t>(clients));
      std::vector<std::thread> threads;
      for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
          results[static_cast<std::size_t>(i)] =
              RunClient(service.port(), users[static_cast<std::size_t>(i)], songs, lyrics);
        });
      }
      for (std::thread& thread : threads) thread.join();
      for (const ClientResult& result : results) {
        requests += result.requests;
        failures += result.failures;
      }
    }
    service.Stop();
    runner.join();

    long missing = 0;
    for (const std::string& user : users) {
      missing += std::abs(static_cast<long>(store.LoadItems(user, ItemKind::kSong).live.size()) -
                          static_cast<long>(songs) * static_cast<long>(state.iterations()));
    }
    state.counters["requests"] = benchmark::Counter(static_cast<double>(requests));
    state.counters["requests_per_second"] =
        benchmark::Counter(static_cast<double>(requests), benchmark::Counter::kIsRate);
    state.counters["failed"] = benchmark::Counter(static_cast<double>(failures));
    state.counters["songs_missing"] = benchmark::Counter(static_cast<double>(missing));
    if (failures > 0 || missing > 0) state.SkipWithError("requests failed or songs are missing");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FiftyClientsUploadAndCompare)->Args({50, 1000})->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
