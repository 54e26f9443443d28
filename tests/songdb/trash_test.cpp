#include "songdb/trash.h"

#include <gtest/gtest.h>

#include <map>

#include "core/data_folder.h"
#include "core/ini_file.h"
#include "core/language.h"
#include "core/settings.h"
#include "songdb/song_store.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WithFileSizeLimit;
using testing::WriteFileBytes;

std::string Song(std::string id, std::string title, std::string globalId = "") {
  std::map<int, std::string> fields{
      {1, std::move(id)}, {2, "01.02.2026-10:00"}, {3, std::move(title)}, {19, std::move(globalId)}};
  std::string record;
  for (int field = 1; field <= 21; ++field) record += fields[field] + "\t";
  return record;
}

const std::string kMarker = "#gel\xF6scht#";

class TrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir_ / "lieder.dat", Song("1", "Eins") + "\r\n" + Song("2", "Zwei", "g-2") + "\r\n" +
                                            Song("3", "Drei", "g-3") + "\r\n" + "4\tstamp\tVier\tD A\r\n");
    for (const char* id : {"1", "2", "3", "4"}) WriteFileBytes(dir_ / (std::string(id) + ".dat"), "Text\r\n");
    store_.LoadSongList();
    std::filesystem::create_directories(dir_ / "config");
  }
  std::filesystem::path SettingsFile() const { return dir_ / "config" / "einstellungen.ini"; }
  TrashContext Context() { return {store_, {settings_, SettingsFile()}, {1700000000, "u9"}}; }
  std::vector<std::string> Delete(std::string_view key, SongKey kind = SongKey::LocalId) {
    TrashContext context = Context();
    return DeleteSong(context, key, kind).deletedIds;
  }
  std::vector<std::string> SavedLines() {
    SongStore again(DataFiles::For(dir_.path()));
    again.LoadSongList();
    return again.SongList();
  }

  TempDir dir_;
  SongStore store_{DataFiles::For(dir_.path())};
  Settings settings_;
};

TEST_F(TrashTest, AListThatCannotBeReadAgainFailsEveryTrashOperation) {
  ASSERT_EQ(Delete("3").size(), 1u);
  // Another writer left something unreadable in the list's place.
  std::filesystem::remove(dir_ / "lieder.dat");
  std::filesystem::create_directories(dir_ / "lieder.dat");
  TrashContext context = Context();
  EXPECT_FALSE(DeleteSong(context, "1", SongKey::LocalId).saved);
  const RestoreResult restored = RestoreSongs(store_, {"3"});
  EXPECT_FALSE(restored.saved);
  EXPECT_TRUE(restored.restored.empty());
  EXPECT_FALSE(EmptyTrash(store_).saved);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "3.dat"));
}

TEST_F(TrashTest, DeletingMarksTheLineAndKeepsTheText) {
  EXPECT_EQ(Delete("1"), std::vector<std::string>{"1"});
  EXPECT_EQ(store_.SongList()[0], kMarker + "\t" + Song("1", "Eins"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "1.dat"));
  EXPECT_EQ(Delete("1"), std::vector<std::string>{});  // already in the trash
  const std::vector<TrashEntry> entries = TrashEntries(store_);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].id, "1");
  EXPECT_EQ(entries[0].title, "Eins");
}

TEST_F(TrashTest, ASongLeavesEverySelectionAndGroupAndDoesNotComeBack) {
  WriteFileBytes(dir_ / "auswahl.dat", "Sonntag\t|1|3\t\t\t\t\t\t\t\r\nOstern\t|3\r\nLeer\t|1\r\n");
  WriteFileBytes(dir_ / "gruppierung.dat", "Lob\t7|3|1\r\n");
  Delete("3");
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"),
            "Sonntag\t|1\t\t\t\t\t1700000000\tu9\t\r\nOstern\t\t\t\t\t\t1700000000\tu9\t\r\nLeer\t|1\r\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "gruppierung.dat"), "Lob\t7|1\t\t\t\t\t1700000000\tu9\t\r\n");
  ASSERT_TRUE(RestoreSongs(store_, {"3"}).saved);
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat").find("|3"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir_ / "gruppierung.dat"), "Lob\t7|1\t\t\t\t\t1700000000\tu9\t\r\n");
}

TEST_F(TrashTest, CollectionFilesWithoutTheSongAreLeftAsTheyAre) {
  WriteFileBytes(dir_ / "auswahl.dat", "\r\n\r\n");
  Delete("1");
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"), "\r\n\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "gruppierung.dat"));
}

TEST_F(TrashTest, ActiveAndTrashedSongsAreToldApart) {
  Delete("2");
  EXPECT_TRUE(IsActiveSong(store_, "1"));
  EXPECT_FALSE(IsActiveSong(store_, "2"));
  EXPECT_TRUE(IsInTrash(store_, "2"));
  EXPECT_FALSE(IsInTrash(store_, "1"));
  EXPECT_FALSE(IsActiveSong(store_, "99"));
  // The marker stands where a deleted song's id stood: it must not pass for an id of its own.
  EXPECT_FALSE(IsActiveSong(store_, kMarker));
  EXPECT_FALSE(IsInTrash(store_, kMarker));
}

TEST_F(TrashTest, OnlySharedSongsAreRememberedForTheSynchronisation) {
  Delete("1");
  EXPECT_EQ(settings_.loeschstringclient, "");
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  Delete("2");
  Delete("3");
  EXPECT_EQ(settings_.loeschstringclient, "g-2|g-3|");
  EXPECT_EQ(IniFile::Load(SettingsFile()).ValueOr("sonstiges", "loeschstringclient", ""), "g-2|g-3|");
  EXPECT_EQ(DeletedGlobalIds(settings_), (std::vector<std::string>{"g-2", "g-3"}));
}

TEST_F(TrashTest, DeletingByGlobalIdIsNotReportedBack) {
  EXPECT_EQ(Delete("g-3", SongKey::GlobalId), std::vector<std::string>{"3"});
  EXPECT_EQ(settings_.loeschstringclient, "");
  // An empty global id names no song, however many were never shared.
  EXPECT_TRUE(Delete("", SongKey::GlobalId).empty());
  EXPECT_EQ(TrashEntries(store_).size(), 1u);
}

TEST_F(TrashTest, DeletingTwoSongsReportsProgressAndSaves) {
  WriteFileBytes(dir_ / "auswahl.dat", "Sonntag\t|2|1|4\r\nLeer\t|1\r\n");
  WriteFileBytes(dir_ / "gruppierung.dat", "Lob\t7|4|2\r\n");
  std::vector<DeleteProgress> steps;
  TrashContext context = Context();
  const DeleteSongsResult result = DeleteSongs(context, {Song("2", "Zwei", "g-2"), Song("4", "Vier")},
                                               [&](const DeleteProgress& p) { steps.push_back(p); });
  EXPECT_EQ(result.deletedIds, (std::vector<std::string>{"2", "4"}));
  EXPECT_TRUE(result.saved);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].text, "0/2");
  EXPECT_EQ(steps[0].percent, 1);
  EXPECT_EQ(steps[1].text, "1/2");
  EXPECT_EQ(steps[1].percent, 50);
  EXPECT_EQ(steps[2].text, "2/2");
  EXPECT_EQ(steps[2].percent, 100);
  EXPECT_EQ(SavedLines()[3], kMarker + "\t4\tstamp\tVier\tD A");
  // Both songs left the selection and the group they shared; the untouched selection kept its bytes.
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"), "Sonntag\t|1\t\t\t\t\t1700000000\tu9\t\r\nLeer\t|1\r\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "gruppierung.dat"), "Lob\t7\t\t\t\t\t1700000000\tu9\t\r\n");
}

TEST_F(TrashTest, RestoringThreeRowsGivesBackTheRecordsWithoutGlobalId) {
  Delete("2");
  Delete("3");
  Delete("4");
  const RestoreResult result = RestoreSongs(store_, {"2", "3", "4", "1", "99"});
  ASSERT_EQ(result.restored.size(), 3u);
  EXPECT_EQ(result.restored[0].id, "2");
  EXPECT_EQ(result.restored[0].title, "Zwei");
  EXPECT_EQ(result.restored[2].title, "Vier");
  const std::vector<std::string> expected{Song("1", "Eins"), Song("2", "Zwei"), Song("3", "Drei"),
                                          "4\tstamp\tVier\tD A"};
  EXPECT_EQ(store_.SongList(), expected);
  EXPECT_EQ(SavedLines(), expected);
  EXPECT_TRUE(TrashEntries(store_).empty());
}

TEST_F(TrashTest, EmptyingTheTrashRemovesLinesAndTextFiles) {
  Delete("1");
  Delete("4");
  const PurgeResult result = EmptyTrash(store_);
  EXPECT_EQ(result.purgedIds, (std::vector<std::string>{"1", "4"}));
  EXPECT_TRUE(result.keptTextIds.empty());
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), Song("2", "Zwei", "g-2") + "\r\n" + Song("3", "Drei", "g-3") + "\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "1.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "4.dat"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "2.dat"));
}

TEST_F(TrashTest, ATextFileThatCannotGoStaysButItsRecordGoes) {
  std::filesystem::remove(dir_ / "1.dat");
  std::filesystem::create_directories(dir_ / "1.dat" / "inhalt");
  // A trash record with an id that is no number names no file to remove.
  WriteFileBytes(dir_ / "lieder.dat", kMarker + "\t1\ts\tEins\t\r\n" + kMarker + "\t../lieder\ts\tX\t\r\n");
  store_.LoadSongList();
  const PurgeResult result = EmptyTrash(store_);
  EXPECT_EQ(result.keptTextIds, (std::vector<std::string>{"1", "../lieder"}));
  EXPECT_TRUE(store_.SongList().empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "1.dat"));
}

TEST_F(TrashTest, ATextFileAnActiveSongStillNamesIsNotPurged) {
  // An old record in the trash whose id an active song has (a restore of an older copy, a reused id).
  WriteFileBytes(dir_ / "lieder.dat", kMarker + "\t1\ts\tAlt\t\r\n" + Song("1", "Eins") + "\r\n");
  store_.LoadSongList();
  const PurgeResult result = EmptyTrash(store_);
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(result.purgedIds, (std::vector<std::string>{"1"}));
  EXPECT_TRUE(result.keptTextIds.empty());
  EXPECT_EQ(store_.SongList(), (std::vector<std::string>{Song("1", "Eins")}));
  EXPECT_EQ(ReadFileBytes(dir_ / "1.dat"), "Text\r\n");
}

TEST_F(TrashTest, TextFilesStayWhenTheSongListCannotBeSaved) {
  Delete("1");
  // A folder in the file's place makes the save fail, as a full disk would.
  std::filesystem::remove(dir_ / "lieder.dat");
  std::filesystem::create_directories(dir_ / "lieder.dat" / "x");
  const PurgeResult result = EmptyTrash(store_);
  EXPECT_FALSE(result.saved);
  // The song that is still in the trash on disk keeps its text.
  EXPECT_TRUE(std::filesystem::exists(dir_ / "1.dat"));
}

// A save that fails part-way (the index is longer than the limit, the other files are not): nothing
// but the index was to be touched, and memory keeps what the disk holds.
TEST_F(TrashTest, AFailedSaveChangesNothingAnywhere) {
  const std::string selections = "Sonntag\t|2\r\n";
  WriteFileBytes(dir_ / "auswahl.dat", selections);
  const std::string songs = ReadFileBytes(dir_ / "lieder.dat");

  TrashContext context = Context();
  const DeleteSongsResult deleted = WithFileSizeLimit(60, [&] { return DeleteSong(context, "2", SongKey::LocalId); });
  EXPECT_FALSE(deleted.saved);
  EXPECT_TRUE(deleted.deletedIds.empty());
  EXPECT_EQ(ReadFileBytes(dir_ / "auswahl.dat"), selections);
  EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
  EXPECT_EQ(settings_.loeschstringclient, "");
  EXPECT_TRUE(IsActiveSong(store_, "2"));

  ASSERT_EQ(Delete("1"), std::vector<std::string>{"1"});
  const std::string withTrash = ReadFileBytes(dir_ / "lieder.dat");
  const PurgeResult purged = WithFileSizeLimit(60, [&] { return EmptyTrash(store_); });
  EXPECT_FALSE(purged.saved);
  EXPECT_TRUE(purged.purgedIds.empty());
  EXPECT_EQ(TrashEntries(store_).size(), 1u);
  EXPECT_EQ(ReadFileBytes(dir_ / "lieder.dat"), withTrash);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "1.dat"));

  const RestoreResult restored = WithFileSizeLimit(60, [&] { return RestoreSongs(store_, {"1"}); });
  EXPECT_FALSE(restored.saved);
  EXPECT_TRUE(restored.restored.empty());
  EXPECT_TRUE(IsInTrash(store_, "1"));
  EXPECT_NE(songs, withTrash);
}

TEST_F(TrashTest, ADeletionStartsFromTheSongListOnDisk) {
  // Another writer added a song after this store read the list.
  SongStore theirs(DataFiles::For(dir_.path()));
  theirs.LoadSongList();
  ASSERT_TRUE(theirs.StoreSong("5", Song("5", "F\xFCnf"), "Text", true).listSaved);
  ASSERT_EQ(Delete("1"), std::vector<std::string>{"1"});
  const std::vector<std::string> lines = SavedLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], Song("5", "F\xFCnf"));
  EXPECT_EQ(lines[1], kMarker + "\t" + Song("1", "Eins"));
}

TEST_F(TrashTest, MessagesAreTranslated) {
  LanguageTable language;
  ASSERT_TRUE(language.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kEnglish));
  EXPECT_EQ(SongsDeletedMessage(language).text, "Song moved to the recycle bin");
  EXPECT_EQ(NothingChosenMessage(language).title, "Restore data");
  EXPECT_EQ(RestoredMessage(language).text, "Restored successfully");
  EXPECT_EQ(TrashEmptiedMessage(language).title, "Empty recycle bin");
}

}  // namespace
}  // namespace psalmora
