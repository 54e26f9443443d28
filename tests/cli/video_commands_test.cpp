// psalmora-tool videos and convert-video.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tool_runner.h"

namespace psalmora::testing {
namespace {

TEST(ToolVideos, ListsIdTitleArtistAndTheRowState) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  WriteFileBytes(sandbox.dataDir() / "youtube" / "youtube.dat",
                 "1\td\thttps://v/?v=a\tChor\tAnsage\t\t0\r\n"
                 "2\td\thttps://v/?v=b\tB\xE4nd\tGr\xFC\xDF"
                 "e\t\t1\r\n"
                 "3\td\thttps://v/?v=c\tC\tDrei\t\t1\r\n");
  WriteFileBytes(sandbox.dataDir() / "youtube" / "1.mp4", "movie");
  WriteFileBytes(sandbox.dataDir() / "youtube" / "2.mp4", "half");
  const ToolRun run = sandbox.RunInData({"videos"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "1\tAnsage\tChor\tdownloaded\n"
            "2\tGr\xC3\xBC\xC3\x9F"
            "e\tB\xC3\xA4nd\tfailed\n"
            "3\tDrei\tC\tnot downloaded\n");
  EXPECT_EQ(sandbox.RunInData({"videos", "x"}).status, 2);
}

TEST(ToolVideos, ConvertVideoRunsTheConverterWithItsParameters) {
  ToolSandbox sandbox;
  // A stand-in converter in the program folder's "config": it records its arguments and writes the output.
  const std::filesystem::path converter = sandbox.programDir() / "config" / "ffmpeg";
  WriteFileBytes(converter, "#!/bin/sh\necho \"$@\" > '" + (sandbox.root() / "args").string() +
                                "'\nfor last; do :; done; echo wmv > \"$last\"\n");
  ::chmod(converter.c_str(), 0755);
  WriteFileBytes(sandbox.root() / "Film.teil.mp4", "movie");
  const ToolRun run = sandbox.Run(
      {"--program-dir", sandbox.programDir().string(), "convert-video", (sandbox.root() / "Film.teil.mp4").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (sandbox.root() / "Film.wmv").string() + "\n");
  EXPECT_EQ(ReadFileBytes(sandbox.root() / "args"),
            "-y -i " + (sandbox.root() / "Film.teil.mp4").string() +
                " -vcodec wmv2 -b 500k -r 25 -acodec wmav2 -ab 96k -ar 44100 -ac 2 " +
                (sandbox.root() / "Film.wmv").string() + "\n");
  // A failing converter: no WMV, an error.
  WriteFileBytes(converter, "#!/bin/sh\nexit 3\n");
  const ToolRun failed = sandbox.Run(
      {"--program-dir", sandbox.programDir().string(), "convert-video", (sandbox.root() / "Film.teil.mp4").string()});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("failed with status 3"), std::string::npos) << failed.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox.root() / "Film.wmv"));
  EXPECT_EQ(sandbox.Run({"convert-video", (sandbox.root() / "fehlt.mp4").string()}).status, 1);
}

}  // namespace
}  // namespace psalmora::testing
