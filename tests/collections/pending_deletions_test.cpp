// The remembered deletions: both lists are written into the settings file at once, a failed write keeps
// the id for the next one, and reading the song list skips what is not an id.
#include "collections/pending_deletions.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "core/settings.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

std::string Stored(const std::filesystem::path& file, std::string_view key) {
  return IniFile::Load(file).ValueOr("sonstiges", key, "<missing>");
}

TEST(PendingDeletions, SongsAndSelectionsGoToTheirOwnKeysAndKeepTheRestOfTheFile) {
  TempDir dir;
  const std::filesystem::path file = dir / "einstellungen.ini";
  WriteFileBytes(file, "[voreinstellung]\r\nsprache=2\r\n");
  Settings settings;
  const SettingsFileRef target{settings, file};
  EXPECT_TRUE(RememberDeletedSong(target, "g-1").ok);
  EXPECT_TRUE(RememberDeletedSelection(target, "pl-1").ok);
  EXPECT_TRUE(RememberDeletedSong(target, "g-2").ok);
  EXPECT_EQ(settings.loeschstringclient, "g-1|g-2|");
  EXPECT_EQ(settings.loeschstringplaylistclient, "pl-1|");
  EXPECT_EQ(Stored(file, "loeschstringclient"), "g-1|g-2|");
  EXPECT_EQ(Stored(file, "loeschstringplaylistclient"), "pl-1|");
  EXPECT_EQ(IniFile::Load(file).IntOr("voreinstellung", "sprache", 0), 2);
}

TEST(PendingDeletions, AFailedWriteKeepsTheIdForTheNextWrite) {
  TempDir dir;
  // The settings folder is missing, so the first write cannot happen.
  const std::filesystem::path file = dir / "config" / "einstellungen.ini";
  Settings settings;
  const SettingsFileRef target{settings, file};
  const WriteResult failed = RememberDeletedSong(target, "g-1");
  EXPECT_FALSE(failed.ok);
  EXPECT_FALSE(failed.error.empty());
  EXPECT_EQ(settings.loeschstringclient, "g-1|");

  std::filesystem::create_directories(dir / "config");
  EXPECT_TRUE(RememberDeletedSong(target, "g-2").ok);
  EXPECT_EQ(Stored(file, "loeschstringclient"), "g-1|g-2|");
}

TEST(PendingDeletions, DeletedGlobalIdsInOrderWithoutEmptyPieces) {
  Settings settings;
  EXPECT_TRUE(DeletedGlobalIds(settings).empty());
  settings.loeschstringclient = "g-1||g-2|";
  EXPECT_EQ(DeletedGlobalIds(settings), (std::vector<std::string>{"g-1", "g-2"}));
  settings.loeschstringplaylistclient = "pl-1|";  // selections are a list of their own
  EXPECT_EQ(DeletedGlobalIds(settings).size(), 2u);
}

}  // namespace
}  // namespace psalmora
