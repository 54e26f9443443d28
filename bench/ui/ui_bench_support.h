// What the UI benchmarks share: the program state on a generated data folder, message boxes and dialogs
// that show nothing (a benchmark times the work, never a person clicking), and the median of samples.
#pragma once

#include <benchmark/benchmark.h>

#include <QColor>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/data_folder.h"
#include "core/language.h"
#include "core/ui/app_state.h"
#include "core/ui/common_dialogs.h"
#include "core/ui/messages.h"
#include "songdb/song_store.h"

namespace psalmora::bench {

class SilentMessages : public Messages {
 public:
  void Show(QWidget*, MessageIcon, const QString&, const QString&) override {}
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
};

class NoDialogs : public CommonDialogs {
 public:
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice&, const QString&) override { return {}; }
  std::optional<QColor> ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }
};

// A program folder with the shipped layouts.
inline void MakeProgramFolder(const std::filesystem::path& programFolder) {
  std::filesystem::create_directories(programFolder);
  std::filesystem::copy(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data" / "layouts", programFolder / "layouts",
                        std::filesystem::copy_options::recursive);
}

// The state of a program run on dataFolder (its songs loaded) and programFolder, in German.
inline void LoadState(AppState& state, const std::filesystem::path& dataFolder,
                      const std::filesystem::path& programFolder = {}) {
  state.programFolder = programFolder;
  state.dataFiles = DataFiles::For(dataFolder);
  state.songs = SongStore(state.dataFiles);
  state.songs.LoadSongList();
  state.language.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman);
  state.windowTitle = "Psalmora bench";
}

// The median and the largest of the samples (milliseconds) as the run's counters.
inline void ReportMedian(benchmark::State& run, std::vector<double> samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  const std::size_t middle = samples.size() / 2;
  run.counters["median_ms"] = samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
  run.counters["max_ms"] = samples.back();
}

}  // namespace psalmora::bench
