#include "media/video_list.h"

#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class VideoListTest : public ::testing::Test {
 protected:
  VideoListTest() {
    std::filesystem::create_directories(dir_ / "youtube");
    files_ = DataFiles::For(dir_.path());
  }
  TempDir dir_;
  DataFiles files_;
};

TEST_F(VideoListTest, FindsEntriesByIdAndAddress) {
  WriteFileBytes(files_.youtubeList, "3\td\thttp://v/a\tArtist\tTitle\t\t0\r\n7\td\thttp://v/b\tB\tT\t\t1\n");
  const std::vector<std::string> lines = ReadVideoList(files_);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(FindVideoById(lines, "7"), 1u);
  EXPECT_EQ(FindVideoByAddress(lines, "http://v/a"), 0u);
  EXPECT_FALSE(FindVideoByAddress(lines, "http://v/c"));
  const VideoEntry entry = VideoEntryAt(lines, 0);
  EXPECT_EQ(entry.title, "Title");
  EXPECT_EQ(entry.artist, "Artist");
}

TEST_F(VideoListTest, NextIdCountsOnItsOwnCounterAndSkipsIdsInTheList) {
  std::vector<std::string> lines;
  EXPECT_EQ(NextVideoId(files_, lines), "1");
  EXPECT_EQ(ReadFileBytes(files_.youtubeIds), "1\r\n");
  lines.push_back(VideoEntryLine("9", "01.01.2020-10:00", {"a", "t", "r", ""}));
  EXPECT_EQ(NextVideoId(files_, lines), "10");  // the counter was behind the list
  EXPECT_EQ(ReadFileBytes(files_.id), "");      // the song counter is not touched
}

TEST_F(VideoListTest, SavedEntryLineHasSevenFieldsInTheListsOrder) {
  std::vector<std::string> lines{VideoEntryLine("4", "stamp", {"addr\tess", "Titel", "Interpret", "x"})};
  ASSERT_TRUE(SaveVideoList(files_, lines));
  EXPECT_EQ(ReadFileBytes(files_.youtubeList), "4\tstamp\taddr ess\tInterpret\tTitel\tx\t\r\n");
}


TEST_F(VideoListTest, RowStateFollowsTheMp4AndTheFlag) {
  struct Case {
    const char* mp4;  // nullptr: no file
    const char* flag;
    VideoState state;
  };
  const Case cases[] = {
      {nullptr, "0", VideoState::kNotDownloaded}, {nullptr, "1", VideoState::kNotDownloaded},
      {"", "0", VideoState::kNotDownloaded},      {"movie", "0", VideoState::kDownloaded},
      {"movie", "", VideoState::kDownloaded},     {"movie", "1", VideoState::kFailed},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(VideoFile(files_, "4", ".mp4"));
    if (c.mp4) WriteFileBytes(VideoFile(files_, "4", ".mp4"), c.mp4);
    const std::string line = std::string("4\td\tx\ta\tt\t\t") + c.flag;
    EXPECT_EQ(VideoEntryState(files_, line), c.state) << (c.mp4 ? c.mp4 : "none") << " flag " << c.flag;
  }
  EXPECT_EQ(VideoStateName(VideoState::kFailed), "failed");
  EXPECT_EQ(VideoStateName(VideoState::kNotDownloaded), "not downloaded");
}

TEST_F(VideoListTest, DownloadFlagIsFieldSevenEvenOnShortLines) {
  EXPECT_EQ(WithDownloadFlag("4\td\tx\ta\tt\t\t", "1"), "4\td\tx\ta\tt\t\t1");
  EXPECT_EQ(WithDownloadFlag("4\td\tx\ta\tt\ts\t1", "0"), "4\td\tx\ta\tt\ts\t0");
  EXPECT_EQ(WithDownloadFlag("4\td", "1"), "4\td\t\t\t\t\t1");
}

TEST_F(VideoListTest, RemovingEntriesDeletesTheirFilesOnly) {
  std::vector<std::string> lines = {"4\td\tx\ta\tt\t\t0", "5\td\ty\tb\tu\t\t0", "../6\td\tz\tc\tv\t\t0"};
  for (const char* extension : {".jpg", ".flv", ".mp4", ".wmv"}) {
    WriteFileBytes(VideoFile(files_, "4", extension), "x");
    WriteFileBytes(VideoFile(files_, "5", extension), "x");
  }
  WriteFileBytes(dir_ / "6.mp4", "keep");
  EXPECT_EQ(RemoveVideoEntries(files_, lines, {"4", "../6", "99"}), 2u);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(RecordField(lines[0], 1), "5");
  for (const char* extension : {".jpg", ".flv", ".mp4", ".wmv"}) {
    EXPECT_FALSE(std::filesystem::exists(VideoFile(files_, "4", extension))) << extension;
    EXPECT_TRUE(std::filesystem::exists(VideoFile(files_, "5", extension))) << extension;
  }
  // A damaged id never reaches outside the video folder.
  EXPECT_TRUE(std::filesystem::exists(dir_ / "6.mp4"));
}

}  // namespace
}  // namespace psalmora
