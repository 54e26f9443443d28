#include "core/startup_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(PageFiles, DeletedInShutdownOrderAndOnlyThose) {
  TempDir dir;
  const auto pages = PageFiles(dir.path());
  ASSERT_EQ(pages.size(), 6u);
  const char* expected[] = {"vorschau.htm", "beamer.htm", "akkord.htm", "drucken.htm", "layout.htm", "fuss.htm"};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(pages[i].filename(), expected[i]);

  for (std::size_t i = 0; i < 4; ++i) WriteFileBytes(pages[i], "<html>");
  WriteFileBytes(dir / "lieder.dat", "1\t\r\n");
  EXPECT_EQ(DeletePageFiles(dir.path()), 4);
  for (const fs::path& page : pages) EXPECT_FALSE(fs::exists(page));
  EXPECT_TRUE(fs::exists(dir / "lieder.dat"));
  EXPECT_EQ(DeletePageFiles(dir.path()), 0);
}

TEST(VideoList, MissingFileIsCreatedEmpty) {
  TempDir dir;
  fs::create_directories(dir / "youtube");
  const DataFiles files = DataFiles::For(dir.path());
  EXPECT_TRUE(LoadVideoList(files).empty());
  ASSERT_TRUE(fs::is_regular_file(files.youtubeList));
  EXPECT_EQ(fs::file_size(files.youtubeList), 0u);
}

TEST(VideoList, ReadsEveryLineWithAnyLineEnd) {
  TempDir dir;
  const DataFiles files = DataFiles::For(dir.path());
  const std::string content = "a\tT\tI\t\t\t\t\r\nb\tU\tJ\t\t\t\t\nc\tV\tK\t\t\t\t";
  WriteFileBytes(files.youtubeList, content);
  const auto lines = LoadVideoList(files);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "a\tT\tI\t\t\t\t");
  EXPECT_EQ(lines[2], "c\tV\tK\t\t\t\t");
  EXPECT_EQ(ReadFileBytes(files.youtubeList), content);  // read, not rewritten
}

TEST(VideoList, MissingYoutubeFolderLeavesListEmptyWithoutThrowing) {
  TempDir dir;
  const DataFiles files = DataFiles::For(dir / "gone");
  EXPECT_TRUE(LoadVideoList(files).empty());
}

TEST(BibleIndex, LinesOfTheProgramFoldersIndexOrNone) {
  TempDir dir;
  EXPECT_TRUE(LoadBibleIndex(dir.path()).empty());
  WriteFileBytes(dir / "bibel" / "index.dat", "1\tGenesis\r\n2\tExodus\r\n");
  const auto lines = LoadBibleIndex(dir.path());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "2\tExodus");
}

TEST(UpdaterPath, InTheProgramFolder) {
  EXPECT_EQ(UpdaterPath("/opt/psalmora"), fs::path("/opt/psalmora/psalmora update.exe"));
}

}  // namespace
}  // namespace psalmora
