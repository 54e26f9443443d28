#include "songdb/song_store.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "core/record_fields.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WithFileSizeLimit;
using testing::WriteFileBytes;

class SongStoreTest : public ::testing::Test {
 protected:
  SongStore Store() const { return SongStore(DataFiles::For(dir_.path())); }
  std::filesystem::path File(std::string_view name) const { return dir_ / name; }
  TempDir dir_;
};

TEST_F(SongStoreTest, LoadsEveryLineWhateverTheLineEnds) {
  WriteFileBytes(File("lieder.dat"), "1\ta\tEins\t\r\n2\tb\tZwei\t\n3\tc\tDrei\t\r#gel\xF6scht#\t4\td\tVier\t");
  SongStore store = Store();
  store.LoadSongList();
  ASSERT_EQ(store.SongList().size(), 4u);
  EXPECT_EQ(store.SongList()[1], "2\tb\tZwei\t");
  EXPECT_EQ(store.SongList()[3], "#gel\xF6scht#\t4\td\tVier\t");
}

TEST_F(SongStoreTest, LoadingAMissingFileEmptiesTheList) {
  SongStore store = Store();
  store.InsertSongAtTop("1\tx");
  store.LoadSongList();
  EXPECT_TRUE(store.SongList().empty());
}

// A "lieder.dat" the program may not read (its permissions were changed, a disk error) loads as an
// empty list; saving that list would replace every song in the file.
TEST_F(SongStoreTest, AnUnreadableSongFileIsNeverOverwritten) {
  const std::string songs = "1\ta\tEins\t\r\n2\tb\tZwei\t\r\n";
  WriteFileBytes(File("lieder.dat"), songs);
  std::filesystem::permissions(dir_.path(), std::filesystem::perms::all);  // others may enter the folder
  std::filesystem::permissions(File("lieder.dat"), std::filesystem::perms::none);

  SongStore store = Store();
  // Root reads every file, so the load runs as an ordinary user.
  const uid_t user = geteuid();
  if (user == 0) {
    ASSERT_EQ(seteuid(65534), 0);
  }
  store.LoadSongList();
  if (user == 0) {
    ASSERT_EQ(seteuid(0), 0);
  }

  EXPECT_TRUE(store.SongListUnreadable());
  EXPECT_TRUE(store.SongList().empty());
  store.InsertSongAtTop("3\tc\tDrei\t");
  EXPECT_FALSE(store.SaveSongList());
  std::filesystem::permissions(File("lieder.dat"), std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), songs);

  store.LoadSongList();  // readable again: saving works as before
  EXPECT_FALSE(store.SongListUnreadable());
  EXPECT_EQ(store.SongList().size(), 2u);
  EXPECT_TRUE(store.SaveSongList());
}

TEST_F(SongStoreTest, SaveWritesEveryLineWithCrLfAndRoundTrips) {
  WriteFileBytes(File("lieder.dat"), "1\ta|b\tT\xE4tel\t\n\n2\t\x81\x9D\t");
  SongStore store = Store();
  store.LoadSongList();
  ASSERT_TRUE(store.SaveSongList());
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "1\ta|b\tT\xE4tel\t\r\n\r\n2\t\x81\x9D\t\r\n");
  SongStore again = Store();
  again.LoadSongList();
  EXPECT_EQ(again.SongList(), store.SongList());
}

TEST_F(SongStoreTest, FailedSaveKeepsThePreviousFileAndMemoryAsOnDisk) {
  WriteFileBytes(File("lieder.dat"), "1\told\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  int reloads = 0;
  store.SetReloadObserver([&reloads] { ++reloads; });
  store.InsertSongAtTop("2\tnew\t");
  // A file larger than the limit cannot be written; the old index must survive.
  EXPECT_FALSE(WithFileSizeLimit(4, [&] { return store.SaveSongList(); }));
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "1\told\t\r\n");
  // The change that did not reach the disk is gone from memory too, and the lists are told.
  EXPECT_EQ(store.SongList(), std::vector<std::string>{"1\told\t"});
  EXPECT_EQ(reloads, 1);
}

TEST_F(SongStoreTest, SaveIntoAMissingFolderFails) {
  SongStore store(DataFiles::For(dir_ / "not-there"));
  store.InsertSongAtTop("1\t");
  EXPECT_FALSE(store.SaveSongList());
}

TEST_F(SongStoreTest, BinaryGarbageLoadsAndSavesWithoutLoss) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
  garbage += "\r\n";  // a clean final line end, so the file round-trips byte for byte
  // Line ends inside the garbage are normalised to CR LF; every other byte survives.
  WriteFileBytes(File("lieder.dat"), garbage);
  WriteFileBytes(File("auswahl.dat"), "Neue Auswahl\r\n");
  SongStore store = Store();
  store.LoadSongList();
  EXPECT_FALSE(store.SongList().empty());
  EXPECT_EQ(store.FindSongRecord("17"), "17");
  EXPECT_EQ(store.NextSongId(), "1");
  EXPECT_EQ(ReadFileBytes(File("auswahl.dat")), "Neue Auswahl\r\n");
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), garbage);  // loading never writes
  std::size_t bytes = 0;
  for (const auto& line : store.SongList()) bytes += line.size();
  std::size_t expected = 0;
  for (const char c : garbage) expected += (c != '\r' && c != '\n');
  EXPECT_EQ(bytes, expected);
}

TEST_F(SongStoreTest, AHugeLineLoadsAsOneRecord) {
  std::string huge(10 * 1024 * 1024, 'x');
  huge.insert(0, "5\t");
  WriteFileBytes(File("lieder.dat"), "1\ta\tEins\t\r\n" + huge + "\r\n2\tb\tZwei\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  ASSERT_EQ(store.SongList().size(), 3u);
  EXPECT_EQ(store.SongList()[1].size(), huge.size());
  EXPECT_EQ(store.FindSongRecord("2"), "2\tb\tZwei\t");
  EXPECT_EQ(store.NextSongId(), "6");
}

TEST_F(SongStoreTest, FindSongRecordMatchesTheWholeFirstFieldFromTheTop) {
  WriteFileBytes(File("lieder.dat"),
                 "12\ta\tZw\xF6lf\t\r\n#gel\xF6scht#\t3\tx\tWeg\t\r\n1\tb\tEins\t\r\n1\tc\tDoppelt\t\r\n3\r\n");
  SongStore store = Store();
  store.LoadSongList();
  EXPECT_EQ(store.FindSongRecord("1"), "1\tb\tEins\t");
  EXPECT_EQ(store.FindSongRecord("12"), "12\ta\tZw\xF6lf\t");
  EXPECT_EQ(store.FindSongRecord("3"), "3");  // the bare line "3", not the trash record
  EXPECT_EQ(store.FindSongPosition("3"), 4u);
  EXPECT_EQ(store.FindSongRecord("99"), "99");  // not found: the id itself
  EXPECT_FALSE(store.FindSongPosition("99").has_value());
}

// Lookups go through an index; after any run of changes they find what a walk from the top finds.
TEST_F(SongStoreTest, LookupsFindTheTopmostRecordAfterEveryKindOfChange) {
  const std::string marker = "#gel\xF6scht#";
  WriteFileBytes(File("lieder.dat"),
                 "3\ta\t\r\n1\tb\t\r\n" + marker + "\t2\tc\t\r\n1\td\t\r\n" + marker + "\t1\te\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  const auto walk = [&store, &marker](std::string_view id, bool inTrash) -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < store.SongList().size(); ++i) {
      const std::string& record = store.SongList()[i];
      const bool deleted = RecordField(record, 1) == marker;
      if (deleted == inTrash && RecordField(record, deleted ? 2 : 1) == id) return i;
    }
    return std::nullopt;
  };
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"insert a new id", [&] { store.InsertSongAtTop("4\tf\t"); }},
      {"insert a doubled id", [&] { store.InsertSongAtTop("1\tg\t"); }},
      {"delete the topmost of a doubled id", [&] { store.SetSongAt(0, marker + "\t" + store.SongList()[0]); }},
      {"restore from the trash", [&] { store.SetSongAt(*store.FindTrashPosition("2"), "2\tc\t"); }},
      {"give a record another id", [&] { store.SetSongAt(1, "5\tneu\t"); }},
      {"replace every record of an id", [&] { store.ReplaceSongRecord("1", "1\tersetzt\t"); }},
      {"erase one record", [&] { store.EraseSongAt(2); }},
      {"erase the trash", [&] { store.EraseSongsWhere([&](const std::string& r) { return r.starts_with(marker); }); }},
      {"reload", [&] { store.LoadSongList(); }},
  };
  for (const auto& [what, change] : changes) {
    change();
    for (const char* id : {"1", "2", "3", "4", "5", "6", "#gel\xF6scht#"}) {
      EXPECT_EQ(store.FindSongPosition(id), walk(id, false)) << what << ", id " << id;
      EXPECT_EQ(store.FindTrashPosition(id), walk(id, true)) << what << ", id " << id;
    }
  }
}

TEST_F(SongStoreTest, ReplaceChangesEveryLineOfTheIdInPlace) {
  WriteFileBytes(File("lieder.dat"), "1\ta\t\r\n2\tb\t\r\n1\tc\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  EXPECT_TRUE(store.ReplaceSongRecord("1", "1\tneu\t"));
  EXPECT_EQ(store.SongList(), (std::vector<std::string>{"1\tneu\t", "2\tb\t", "1\tneu\t"}));
  EXPECT_FALSE(store.ReplaceSongRecord("7", "7\t"));
  store.InsertSongAtTop("9\ttop\t");
  EXPECT_EQ(store.SongList().front(), "9\ttop\t");
  store.EraseSongAt(1);
  store.SetSongAt(0, "9\tx\t");
  store.EraseSongAt(99);  // out of range: ignored
  EXPECT_EQ(store.SongList(), (std::vector<std::string>{"9\tx\t", "2\tb\t", "1\tneu\t"}));
}

TEST_F(SongStoreTest, NextSongIdCountsUpAndWritesTheCounterAtOnce) {
  SongStore store = Store();
  EXPECT_EQ(store.NextSongId(), "1");
  EXPECT_EQ(ReadFileBytes(File("id.dat")), "1\r\n");
  EXPECT_EQ(store.NextSongId(), "2");
  WriteFileBytes(File("id.dat"), "41\r\n");
  EXPECT_EQ(store.NextSongId(), "42");
  EXPECT_EQ(store.ReadIdCounter(), 42);
}

TEST_F(SongStoreTest, NextSongIdsHandsOutFreeIdsInOneCounterWrite) {
  SongStore store = Store();
  WriteFileBytes(File("id.dat"), "4\r\n");
  WriteFileBytes(File("6.dat"), "a text without a record\r\n");
  EXPECT_EQ(store.NextSongIds(3), (std::vector<std::string>{"5", "7", "8"}));
  EXPECT_EQ(ReadFileBytes(File("id.dat")), "8\r\n");
  EXPECT_TRUE(store.NextSongIds(0).empty());
  // At the largest id the free ids below are handed out, each once.
  WriteFileBytes(File("id.dat"), "999999999999999998\r\n");
  store.InsertSongAtTop("1\tx\t");
  EXPECT_EQ(store.NextSongIds(3), (std::vector<std::string>{"999999999999999999", "2", "3"}));
}

TEST_F(SongStoreTest, NextSongIdReadsOnlyTheLeadingNumberOfTheFirstLine) {
  SongStore store = Store();
  WriteFileBytes(File("id.dat"), "7abc\r\n100\r\n");
  EXPECT_EQ(store.NextSongId(), "8");
  WriteFileBytes(File("id.dat"), "kaputt\x01\x02");
  EXPECT_EQ(store.ReadIdCounter(), 0);
  EXPECT_EQ(store.NextSongId(), "1");
  WriteFileBytes(File("id.dat"), "-5");
  EXPECT_EQ(store.NextSongId(), "1");
  WriteFileBytes(File("id.dat"), "99999999999999999999999");
  EXPECT_EQ(store.NextSongId(), "999999999999999999");  // clamped, no overflow
}

TEST_F(SongStoreTest, NextSongIdNeverReusesAnIdOfARecordEvenInTheTrash) {
  WriteFileBytes(File("lieder.dat"), "5\ta\t\r\n#gel\xF6scht#\t9\tb\t\r\nabc\t\r\n3\tc\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  // "id.dat" lost: the counter would restart at 1 and give away ids in use.
  EXPECT_EQ(store.NextSongId(), "10");
  EXPECT_EQ(ReadFileBytes(File("id.dat")), "10\r\n");
  // "id.dat" behind the records.
  WriteFileBytes(File("id.dat"), "4\r\n");
  EXPECT_EQ(store.NextSongId(), "10");
  // A counter ahead of the records is kept.
  WriteFileBytes(File("id.dat"), "50\r\n");
  EXPECT_EQ(store.NextSongId(), "51");
}

TEST_F(SongStoreTest, ACounterAtTheLargestIdNeverHandsOutAnIdTwice) {
  SongStore store = Store();
  WriteFileBytes(File("id.dat"), "99999999999999999999999\r\n");  // damaged: beyond any id
  const std::string first = store.NextSongId();
  EXPECT_EQ(first, "999999999999999999");
  store.InsertSongAtTop(first + "\tErstes\t");
  ASSERT_TRUE(store.WriteSongText(first, "a"));
  // Counting cannot go on: the lowest free id follows, never one a record or a text file has.
  WriteFileBytes(File("2.dat"), "alt\r\n");
  store.InsertSongAtTop("1\tAlt\t");
  EXPECT_EQ(store.NextSongId(), "3");
  store.InsertSongAtTop("3\tDrittes\t");
  EXPECT_EQ(store.NextSongId(), "4");
  EXPECT_EQ(ReadFileBytes(File(first + ".dat")), "a\r\n");
}

TEST_F(SongStoreTest, NextSongIdSkipsIdsWhoseTextFileExists) {
  WriteFileBytes(File("1.dat"), "verwaister Text\r\n");
  WriteFileBytes(File("2.dat"), "noch einer\r\n");
  SongStore store = Store();
  EXPECT_EQ(store.NextSongId(), "3");
  EXPECT_EQ(ReadFileBytes(File("1.dat")), "verwaister Text\r\n");
}

TEST_F(SongStoreTest, SongTextIsWrittenWithAFinalCrLfAndReadBackAsStored) {
  SongStore store = Store();
  ASSERT_TRUE(store.WriteSongText("17", ">G\rText\r\n#\xDC"));
  EXPECT_EQ(ReadFileBytes(File("17.dat")), ">G\rText\r\n#\xDC\r\n");
  EXPECT_EQ(store.ReadSongText("17"), std::optional<std::string>(">G\rText\r\n#\xDC\r\n"));
  EXPECT_EQ(store.ReadSongText("18"), std::nullopt);
  EXPECT_EQ(store.SongTextPath("17"), File("17.dat"));
}

TEST_F(SongStoreTest, SongTextOfAnIdThatIsNotANumberIsNeverTouched) {
  WriteFileBytes(File("lieder.dat"), "1\tx\t\r\n");
  SongStore store = Store();
  EXPECT_FALSE(store.WriteSongText("", "text"));
  EXPECT_FALSE(store.WriteSongText("lieder", "text"));
  EXPECT_FALSE(store.WriteSongText("../1", "text"));
  EXPECT_FALSE(store.WriteSongText("#gel\xF6scht#", "text"));
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "1\tx\t\r\n");
  EXPECT_EQ(store.ReadSongText("lieder"), std::nullopt);
  EXPECT_TRUE(store.SongTextPath("id").empty());
  // The renderer reads by folder and id without a store: the same rule.
  EXPECT_EQ(SongTextFile(dir_.path(), "17"), store.SongTextPath("17"));
  EXPECT_TRUE(SongTextFile(dir_.path(), "../1").empty());
}

TEST_F(SongStoreTest, TextObserverHearsEveryWriteAndRemoval) {
  SongStore store = Store();
  std::vector<std::pair<std::string, std::string>> heard;  // id, bytes or "<none>"
  store.SetSongTextObserver([&](std::string_view id, const std::string* bytes) {
    heard.emplace_back(std::string(id), bytes ? *bytes : "<none>");
  });
  ASSERT_TRUE(store.WriteSongText("3", "Text"));
  std::filesystem::create_directories(File("4.dat"));  // a folder in the file's place: the write fails
  EXPECT_FALSE(store.WriteSongText("4", "x"));
  EXPECT_TRUE(store.RemoveSongText("3"));
  EXPECT_FALSE(std::filesystem::exists(File("3.dat")));
  EXPECT_TRUE(store.RemoveSongText("5"));  // never there: counts as gone
  EXPECT_FALSE(store.RemoveSongText("lieder"));
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"3", "Text\r\n"}, {"4", "<none>"}, {"3", "<none>"}, {"5", "<none>"}};
  EXPECT_EQ(heard, expected);
  store.SetSongTextObserver({});
  store.WriteSongText("6", "y");
  EXPECT_EQ(heard.size(), 4u);
}

TEST_F(SongStoreTest, AStoreReadsTheListAgainWhenAnotherWriterChangedIt) {
  WriteFileBytes(File("lieder.dat"), "1\ta\tEins\t\r\n");
  SongStore mine = Store();
  mine.LoadSongList();
  int reloads = 0;
  mine.SetReloadObserver([&reloads] { ++reloads; });
  EXPECT_FALSE(mine.ReloadIfChanged());

  SongStore theirs = Store();
  theirs.LoadSongList();
  ASSERT_TRUE(theirs.StoreSong(theirs.NextSongId(), "2\tb\tZwei\t", "zwei", true).listSaved);

  // My next change starts from their list instead of writing over it.
  const std::string id = mine.NextSongId();
  EXPECT_EQ(id, "3");
  EXPECT_EQ(reloads, 1);
  ASSERT_TRUE(mine.StoreSong(id, "3\tc\tDrei\t", "drei", true).listSaved);
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "3\tc\tDrei\t\r\n2\tb\tZwei\t\r\n1\ta\tEins\t\r\n");
  EXPECT_FALSE(mine.ReloadIfChanged());  // its own save is no change from outside
  EXPECT_EQ(reloads, 1);
}

TEST_F(SongStoreTest, ASongIsCommittedByTheListOnlyAfterItsTextIsWritten) {
  WriteFileBytes(File("lieder.dat"), "1\ta\tEins\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  // The text cannot be written: the list does not name the song.
  std::filesystem::create_directories(File("7.dat"));
  const SongStore::SongWrite noText = store.StoreSong("7", "7\tx\tSieben\t", "Text", true);
  EXPECT_FALSE(noText.textSaved);
  EXPECT_FALSE(noText.listSaved);
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "1\ta\tEins\t\r\n");
  EXPECT_EQ(store.SongList().size(), 1u);

  // The list cannot be written: the new song's text goes again.
  const SongStore::SongWrite noList =
      WithFileSizeLimit(16, [&] { return store.StoreSong("8", "8\tx\tAcht mit langem Titel\t", "kurz", true); });
  EXPECT_TRUE(noList.textSaved);
  EXPECT_FALSE(noList.listSaved);
  EXPECT_FALSE(std::filesystem::exists(File("8.dat")));
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "1\ta\tEins\t\r\n");
}

TEST_F(SongStoreTest, AListThatVanishedMeanwhileIsWrittenBackFromMemory) {
  WriteFileBytes(File("lieder.dat"), "2\tb\tZwei\t\r\n1\ta\tEins\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  std::filesystem::remove(File("lieder.dat"));
  ASSERT_TRUE(store.StoreSong("3", "3\tc\tDrei\t", "drei", true).listSaved);
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "3\tc\tDrei\t\r\n2\tb\tZwei\t\r\n1\ta\tEins\t\r\n");
}

TEST_F(SongStoreTest, ASongNoLongerInTheListIsNotWrittenBack) {
  WriteFileBytes(File("lieder.dat"), "#gel\xF6scht#\t2\tb\tZwei\t\r\n1\ta\tEins\t\r\n");
  SongStore store = Store();
  store.LoadSongList();
  for (const char* id : {"2", "9"}) {  // in the trash, never there
    const SongStore::SongWrite write = store.StoreSong(id, std::string(id) + "\tx\tNeu\t", "Text", false);
    EXPECT_FALSE(write.textSaved || write.listSaved) << id;
    EXPECT_FALSE(std::filesystem::exists(File(std::string(id) + ".dat"))) << id;
  }
  EXPECT_EQ(ReadFileBytes(File("lieder.dat")), "#gel\xF6scht#\t2\tb\tZwei\t\r\n1\ta\tEins\t\r\n");
}

TEST_F(SongStoreTest, AnUnreadableListHandsOutNoIdAndStoresNothing) {
  std::filesystem::create_directories(File("lieder.dat"));  // there, but not readable as a file
  SongStore store = Store();
  store.LoadSongList();
  ASSERT_TRUE(store.SongListUnreadable());
  EXPECT_EQ(store.NextSongId(), "");
  EXPECT_FALSE(std::filesystem::exists(File("id.dat")));
  EXPECT_FALSE(store.StoreSong("1", "1\tx\t", "Text", true).textSaved);
  EXPECT_FALSE(std::filesystem::exists(File("1.dat")));
}

TEST(SongRecords, TrashMarkerAndIdOfARecord) {
  EXPECT_TRUE(IsDeletedRecord("#gel\xF6scht#\t4\tTitel\t"));
  EXPECT_FALSE(IsDeletedRecord("4\t#gel\xF6scht#\t"));
  EXPECT_FALSE(IsDeletedRecord("#gel\xF6scht#x\t4"));
  EXPECT_EQ(SongIdOfRecord("#gel\xF6scht#\t4\tTitel\t"), "4");
  EXPECT_EQ(SongIdOfRecord("4\tTitel\t"), "4");
  EXPECT_TRUE(IsValidSongId("120"));
  EXPECT_FALSE(IsValidSongId("12a"));
  EXPECT_FALSE(IsValidSongId(""));
  EXPECT_FALSE(IsValidSongId("1234567890123456789"));  // longer than any id we hand out
  EXPECT_EQ(ParseIdCounter(" 12\r\n"), 12);
  EXPECT_EQ(ParseIdCounter(""), 0);
}

}  // namespace
}  // namespace psalmora
