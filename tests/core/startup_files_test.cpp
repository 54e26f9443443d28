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
  EXPECT_EQ(UpdaterPath("/opt/psalmora"), fs::path("/opt/psalmora/psalmora-update"));
  EXPECT_EQ(NewUpdaterPath("/opt/psalmora"), fs::path("/opt/psalmora/psalmora-update-neu"));
}

TEST(ReplaceUpdater, OnlyANonEmptyNewCopyTakesTheUpdatersPlace) {
  struct Case {
    const char* name;
    bool oldPresent;
    const char* fresh;  // nullptr: no new copy
    UpdaterSwap outcome;
    const char* updaterAfter;  // nullptr: no updater afterwards
    bool freshStays;
  };
  const Case cases[] = {
      {"no new copy", true, nullptr, UpdaterSwap::kNothingToDo, "old", false},
      {"empty new copy", true, "", UpdaterSwap::kNothingToDo, "old", true},
      {"new copy", true, "new", UpdaterSwap::kReplaced, "new", false},
      {"new copy, no updater yet", false, "new", UpdaterSwap::kReplaced, "new", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.oldPresent) WriteFileBytes(UpdaterPath(dir.path()), "old");
    if (c.fresh) WriteFileBytes(NewUpdaterPath(dir.path()), c.fresh);
    EXPECT_EQ(ReplaceUpdater(dir.path()).outcome, c.outcome);
    EXPECT_EQ(fs::exists(UpdaterPath(dir.path())), c.updaterAfter != nullptr);
    if (c.updaterAfter) {
      EXPECT_EQ(ReadFileBytes(UpdaterPath(dir.path())), c.updaterAfter);
    }
    EXPECT_EQ(fs::exists(NewUpdaterPath(dir.path())), c.freshStays);
  }
}

TEST(ReplaceUpdater, TheNewUpdaterCanBeStarted) {
  TempDir dir;
  WriteFileBytes(NewUpdaterPath(dir.path()), "#!/bin/sh\n");
  fs::permissions(NewUpdaterPath(dir.path()), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(ReplaceUpdater(dir.path()).outcome, UpdaterSwap::kReplaced);
  EXPECT_NE(fs::status(UpdaterPath(dir.path())).permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST(ReplaceUpdater, AFolderInTheWayIsReportedAndTheNewCopyKept) {
  TempDir dir;
  fs::create_directories(UpdaterPath(dir.path()) / "inside");
  WriteFileBytes(NewUpdaterPath(dir.path()), "new");
  const UpdaterReplacement result = ReplaceUpdater(dir.path());
  EXPECT_EQ(result.outcome, UpdaterSwap::kFailed);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(ReadFileBytes(NewUpdaterPath(dir.path())), "new");
}

}  // namespace
}  // namespace psalmora
