// Rendering speed: the preview of a 60-line song with chords, and the print page of 100 songs. Each is
// measured with the atomic file write (what the program does) and as page building alone.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/layout_file.h"
#include "render/render_page.h"

namespace psalmora {
namespace {

// 60 lines: five blocks of five chord/lyrics pairs, a translation and an empty line.
std::string SongText() {
  std::string text;
  for (int block = 0; block < 5; ++block) {
    for (int pair = 0; pair < 5; ++pair) {
      text += ">  D       A/C#     h7      G    Em   A\r\n";
      text +=
          "Herr, deine G\xFC"
          "te reicht so weit der Himmel ist, Halleluja\r\n";
    }
    text += "#Lord, your goodness reaches as far as the heavens\r\n";
    text += "\r\n";
  }
  return text;
}

class BenchFolder {
 public:
  explicit BenchFolder(int songs) {
    std::string pattern = (std::filesystem::temp_directory_path() / "psalmora-bench-XXXXXX").string();
    folders_.dataFolder = mkdtemp(pattern.data());
    folders_.layoutFolder = folders_.dataFolder / "layouts";
    std::filesystem::create_directory(folders_.layoutFolder);
    SaveLayout(folders_.layoutFolder, "1", NewLayoutContents(NewLayoutWords{}));
    const std::string text = SongText();
    for (int id = 1; id <= songs; ++id) {
      std::ofstream(folders_.dataFolder / (std::to_string(id) + ".dat"), std::ios::binary) << text;
      std::string record = std::to_string(id) + "\t07.12.2026-10:00\tLied " + std::to_string(id) + "\tD A G";
      for (int field = 5; field <= 21; ++field) record += "\t";
      records_.push_back(record + "\t");
    }
  }
  ~BenchFolder() { std::filesystem::remove_all(folders_.dataFolder); }

  RenderRequest Request(RenderMode mode) const {
    RenderRequest request;
    request.mode = mode;
    request.layoutKey = "1";
    request.transposeOffset = "2";
    request.renderList = mode == RenderMode::kDrucken ? records_ : std::vector<std::string>{records_.front()};
    return request;
  }
  const RenderFolders& Folders() const { return folders_; }

 private:
  RenderFolders folders_;
  std::vector<std::string> records_;
};

void RenderToFile(benchmark::State& state, RenderMode mode, int songs) {
  BenchFolder folder(songs);
  const RenderRequest request = folder.Request(mode);
  RenderState renderState;
  for (auto _ : state) {
    RenderResult result = RenderPage(request, folder.Folders(), renderState);
    benchmark::DoNotOptimize(result);
  }
}

void BuildInMemory(benchmark::State& state, RenderMode mode, int songs) {
  BenchFolder folder(songs);
  const RenderRequest request = folder.Request(mode);
  RenderState renderState;
  for (auto _ : state) {
    RenderResult result;
    std::string page = BuildPage(request, folder.Folders(), renderState, result);
    benchmark::DoNotOptimize(page);
  }
}

void BM_PreviewOf60LineSong(benchmark::State& state) {
  RenderToFile(state, RenderMode::kVorschau, 1);
}
void BM_PreviewOf60LineSongBuildOnly(benchmark::State& state) {
  BuildInMemory(state, RenderMode::kVorschau, 1);
}
void BM_PrintOf100Songs(benchmark::State& state) {
  RenderToFile(state, RenderMode::kDrucken, 100);
}
void BM_PrintOf100SongsBuildOnly(benchmark::State& state) {
  BuildInMemory(state, RenderMode::kDrucken, 100);
}

BENCHMARK(BM_PreviewOf60LineSong)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewOf60LineSongBuildOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintOf100Songs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintOf100SongsBuildOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace psalmora
