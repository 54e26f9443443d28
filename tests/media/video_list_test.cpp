#include "media/video_list.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace psalmora
