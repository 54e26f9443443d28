#include "songdb/new_song.h"

#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(BuildSongRecord, WritesExactly21ValuesEachFollowedByATab) {
  const std::string record = BuildSongRecord({"7", "stamp", "Titel"});
  EXPECT_EQ(CountOf(record, '\t'), 21);
  EXPECT_EQ(record.substr(0, 14), "7\tstamp\tTitel\t");
  EXPECT_EQ(record.back(), '\t');
  std::vector<std::string> many(25, "v");
  EXPECT_EQ(CountOf(BuildSongRecord(many), '\t'), 21);
  EXPECT_EQ(BuildSongRecord({"1", "", "a\tb\r\nc"}).substr(0, 10), "1\t\ta b  c\t");
}

TEST(NewSong, StartingUsesUpAnIdEvenWhenNeverSaved) {
  TempDir dir;
  SongStore store(DataFiles::For(dir.path()));
  const std::string editRecord = StartNewSong(store);
  EXPECT_EQ(RecordField(editRecord, 1), "1");
  EXPECT_EQ(RecordField(editRecord, 3), "- Neuer Titel -");
  EXPECT_EQ(RecordField(editRecord, 2).size(), 16u);
  EXPECT_EQ(ReadFileBytes(dir / "id.dat"), "1\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "lieder.dat"));
  EXPECT_EQ(CreateSong(store, "Zweites", "").id, "2");
}

TEST(NewSong, SavingANewSongPutsItOnTopAndWritesIndexAndText) {
  TempDir dir;
  WriteFileBytes(dir / "lieder.dat", "1\ta\tAlt\t\r\n");
  WriteFileBytes(dir / "id.dat", "1\r\n");
  SongStore store(DataFiles::For(dir.path()));
  store.LoadSongList();
  const SongSaveResult saved = CreateSong(store, "Gro\xDF ist der Herr", ">D\tG\rText");
  EXPECT_EQ(saved.id, "2");
  EXPECT_TRUE(saved.listSaved);
  EXPECT_TRUE(saved.textSaved);
  ASSERT_EQ(store.SongList().size(), 2u);
  EXPECT_EQ(store.SongList()[0], saved.record);
  EXPECT_EQ(RecordField(saved.record, 3), "Gro\xDF ist der Herr");
  EXPECT_EQ(CountOf(saved.record, '\t'), 21);
  EXPECT_GT(LeadingNumber(RecordField(saved.record, 12)), 1'600'000'000);
  EXPECT_EQ(ReadFileBytes(dir / "lieder.dat"), saved.record + "\r\n1\ta\tAlt\t\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "2.dat"), ">D      G\rText\r\n");  // TAB -> six blanks
}

TEST(NewSong, SavingAnExistingSongReplacesItInPlace) {
  TempDir dir;
  WriteFileBytes(dir / "lieder.dat", "3\ts\tDrei\t\r\n2\ts\tZwei\tkurz\r\n1\ts\tEins\t\r\n");
  SongStore store(DataFiles::For(dir.path()));
  store.LoadSongList();
  std::vector<std::string> values = {"2", "s", "Zwei neu", "kurz"};
  const SongSaveResult saved = SaveSongValues(store, false, store.FindSongRecord("2"), values, "x", 1234);
  EXPECT_EQ(store.SongList().size(), 3u);
  EXPECT_EQ(store.SongList()[1], saved.record);
  EXPECT_EQ(RecordField(saved.record, 12), "1234");
  EXPECT_EQ(CountOf(store.SongList()[1], '\t'), 21);  // a short line gets all fields back
  EXPECT_EQ(ReadFileBytes(dir / "2.dat"), "x\r\n");
}

}  // namespace
}  // namespace psalmora
