#include "media/video_convert.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

void WriteScript(const std::filesystem::path& path, const std::string& body) {
  WriteFileBytes(path, "#!/bin/sh\n" + body);
  ::chmod(path.c_str(), 0755);
}

TEST(VideoConvertTest, OutputIsTheFileNameUpToItsFirstDot) {
  EXPECT_EQ(WmvOutputPath("/d/youtube/12.mp4"), "/d/youtube/12.wmv");
  EXPECT_EQ(WmvOutputPath("/home/a/.local/share/film.teil.avi"), "/home/a/.local/share/film.wmv");
  EXPECT_EQ(WmvOutputPath("/d/ohne"), "/d/ohne.wmv");
}

TEST(VideoConvertTest, ParametersAreExactlyTheConvertersLine) {
  EXPECT_EQ(ConvertToWmvParameters("/d/1.mp4", "/d/1.wmv"),
            "-y -i \"/d/1.mp4\" -vcodec wmv2 -b 500k -r 25 -acodec wmav2 -ab 96k -ar 44100 -ac 2  \"/d/1.wmv\"");
  const std::vector<std::string> expected = {"-y",   "-i",  "/d/1.mp4", "-vcodec", "wmv2",  "-b",
                                             "500k", "-r",  "25",       "-acodec", "wmav2", "-ab",
                                             "96k",  "-ar", "44100",    "-ac",     "2",     "/d/1.wmv"};
  EXPECT_EQ(ConvertToWmvArguments("/d/1.mp4", "/d/1.wmv"), expected);
}

TEST(VideoConvertTest, TheProgramFoldersConverterComesBeforeTheOneOnPath) {
  TempDir dir;
  ProgramTools tools = PosixProgramTools();
  std::vector<std::string> ran;
  tools.find = [](std::string_view name) { return "/usr/bin/" + std::string(name); };
  tools.run = [&ran](const std::string& program, const std::vector<std::string>&, int) {
    ran.push_back(program);
    return ProgramRun{true, false, 1, {}};
  };
  EXPECT_FALSE(ConvertToWmv(tools, dir.path(), dir / "1.mp4").converted);
  WriteScript(dir / "config" / "ffmpeg", "exit 1\n");
  EXPECT_FALSE(ConvertToWmv(tools, dir.path(), dir / "1.mp4").converted);
  const std::vector<std::string> expected = {"/usr/bin/ffmpeg", (dir / "config" / "ffmpeg").string()};
  EXPECT_EQ(ran, expected);
  tools.find = [](std::string_view) { return std::string(); };
  std::filesystem::remove(dir / "config" / "ffmpeg");
  const WmvConversion none = ConvertToWmv(tools, dir.path(), dir / "1.mp4");
  EXPECT_FALSE(none.converted);
  EXPECT_EQ(none.error, "ffmpeg was not found");
}

TEST(VideoConvertTest, DownloadRunsTheDownloaderThenConverts) {
  TempDir dir;
  WriteFileBytes(dir / "quelle.mp4", "movie bytes");
  // Stand-ins: the downloader copies a local file to the name after -o, the converter writes its output.
  WriteScript(dir / "lader", "while [ \"$1\" != -o ]; do shift; done; cp '" + (dir / "quelle.mp4").string() +
                                 "' \"$2\"; echo \"$@\" > '" + (dir / "args").string() + "'\n");
  WriteScript(dir / "config" / "ffmpeg", "for last; do :; done; echo wmv > \"$last\"\n");
  const std::filesystem::path target = dir / "youtube" / "7.mp4";
  std::filesystem::create_directories(target.parent_path());
  const VideoDownload done = DownloadVideo(PosixProgramTools(), (dir / "lader").string() + "  --extra", dir.path(),
                                           "https://www.youtube.com/watch?v=abc", target);
  EXPECT_TRUE(done.downloaded) << done.error;
  EXPECT_TRUE(done.conversion.converted) << done.conversion.error;
  EXPECT_EQ(ReadFileBytes(target), "movie bytes");
  EXPECT_EQ(ReadFileBytes(dir / "youtube" / "7.wmv"), "wmv\n");
  EXPECT_EQ(ReadFileBytes(dir / "args"), "-o " + target.string() + " -- https://www.youtube.com/watch?v=abc\n");

  // A downloader that fails (after leaving half a file) or is missing: no download.
  WriteScript(dir / "lader", "while [ \"$1\" != -o ]; do shift; done; echo halb > \"$2\"; exit 1\n");
  const VideoDownload failed = DownloadVideo(PosixProgramTools(), (dir / "lader").string(), dir.path(), "x", target);
  EXPECT_FALSE(failed.downloaded);
  EXPECT_EQ(failed.error, (dir / "lader").string() + " failed with status 1");
  EXPECT_FALSE(DownloadVideo(PosixProgramTools(), "kein-solcher-lader-xyz", dir.path(), "x", target).downloaded);
  EXPECT_EQ(DownloaderCommand(""), std::vector<std::string>{"yt-dlp"});
}

TEST(VideoConvertTest, RealConverterMakesAWmv) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  TempDir dir;
  const std::string make =
      "ffmpeg -loglevel error -f lavfi -i testsrc=size=64x48:rate=10 -f lavfi -i "
      "sine=frequency=440 -t 0.5 -pix_fmt yuv420p '" +
      (dir / "clip.mp4").string() + "' </dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  const WmvConversion result = ConvertToWmv(PosixProgramTools(), dir / "leer", dir / "clip.mp4");
  EXPECT_TRUE(result.converted) << result.error;
  EXPECT_GT(std::filesystem::file_size(dir / "clip.wmv"), 0u);
}

}  // namespace
}  // namespace psalmora
