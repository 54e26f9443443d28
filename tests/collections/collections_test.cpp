#include "collections/collections.h"

#include <gtest/gtest.h>

#include "collections/collection_file.h"
#include "collections/pending_deletions.h"
#include "core/ini_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/settings.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

const ChangeStamp kStamp{1700000000, "u9"};

// A collected song as the store gives it: id, stamp, title.
std::string Collected(const std::string& id, const std::string& title) {
  return id + "\ts\t" + title + "\t";
}

std::string Ids(const std::string& record) {
  return std::string(RecordField(record, collection_field::kSongIds));
}

std::vector<SelectionRow> Rows(std::string_view ids, std::string_view selected) {
  std::vector<SelectionRow> rows;
  for (const char id : ids) rows.push_back({std::string(1, id), "", selected.find(id) != std::string_view::npos});
  return rows;
}

std::string Order(const std::vector<SelectionRow>& rows) {
  std::string order;
  for (const SelectionRow& row : rows) order += row.selected ? row.id : "(" + row.id + ")";
  return order;
}

LanguageTable German() {
  LanguageTable language;
  language.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman);
  return language;
}

TEST(AddSongs, ADuplicateIsReportedAndTheRestIsAdded) {
  std::vector<std::string> records{"Andere\t|3", "Sonntag\t|12|15\tg1\tr\t100\tu1\t200\tu1\t"};
  const AddSongsResult result = AddSongsToCollection(
      records, 1, {Collected("7", "Neu"), Collected("15", "Da"), Collected("8", "Auch"), Collected("7", "Neu")},
      kStamp);
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(result.alreadyPresentTitles, (std::vector<std::string>{"Da", "Neu"}));
  EXPECT_EQ(records[1], "Sonntag\t|12|15|7|8\tg1\tr\t100\tu1\t1700000000\tu9\t");
  EXPECT_EQ(records[0], "Andere\t|3");
  LanguageTable language = German();
  const UserMessage message = AlreadySelectedMessage("Da", language);
  EXPECT_EQ(message.title, "Meldung");
  EXPECT_EQ(message.text, "'Da' wurde schon ausgew\xE4hlt");
}

TEST(AddSongs, GroupsKeepTheirPoolIdInFront) {
  std::vector<std::string> records{"Lob\t7", "Neu\t"};
  AddSongsToCollection(records, 0, {Collected("7", "Sieben"), Collected("12", "Zw\xF6lf")}, kStamp);
  EXPECT_EQ(Ids(records[0]), "7|7|12");
  AddSongsToCollection(records, 1, {Collected("3", "Drei")}, kStamp);
  EXPECT_EQ(records[1], "Neu\t|3\t\t\t\t\t1700000000\tu9\t");
  EXPECT_FALSE(AddSongsToCollection(records, 2, {Collected("3", "Drei")}, kStamp).changed);
}

TEST(AddSongs, AFileOfEmptyLinesTakesSongsAsStandardEintrag) {
  TempDir dir;
  WriteFileBytes(dir / "auswahl.dat", "\r\n\r\n");
  std::vector<std::string> records = LoadCollectionFile(dir / "auswahl.dat");
  AddSongsToCollection(records, 0, {Collected("4", "Vier")}, kStamp);
  ASSERT_TRUE(SaveCollectionFile(dir / "auswahl.dat", records));
  EXPECT_EQ(ReadFileBytes(dir / "auswahl.dat"), "Standard Eintrag\t|4\t\t\t\t\t1700000000\tu9\t\r\n");
}

TEST(RemoveSongs, EveryOccurrenceGoesAndOthersStay) {
  std::vector<std::string> records{"Sonntag\t|5|12|5|5|55|15\t", "Lob\t5|5|6"};
  ASSERT_TRUE(RemoveSongsFromCollection(records, 0, {Collected("5", "F\xFCnf"), Collected("15", "x")}, kStamp));
  EXPECT_EQ(Ids(records[0]), "|12|55");
  RemoveSongsFromCollection(records, 1, {Collected("5", "F\xFCnf")}, kStamp);
  EXPECT_EQ(Ids(records[1]), "5|6");  // the pool id is no song
  RemoveSongsFromCollection(records, 1, {Collected("6", "")}, kStamp);
  EXPECT_EQ(Ids(records[1]), "5");
  EXPECT_FALSE(RemoveSongsFromCollection(records, 5, {Collected("6", "")}, kStamp));
}

TEST(CollectSelectedSongIds, GivesTheStoreLinesOrTheBareId) {
  TempDir dir;
  WriteFileBytes(dir / "lieder.dat", "1\ts\tEins\t\r\n#gel\xF6scht#\t2\ts\tZwei\t\r\n");
  SongStore store(DataFiles::For(dir.path()));
  store.LoadSongList();
  EXPECT_EQ(CollectSelectedSongIds(store, {"2", "1"}), (std::vector<std::string>{"2", "1\ts\tEins\t"}));
}

TEST(CollectionLists, SongRowsShowActiveSongsUpToTheFirstEmptyId) {
  TempDir dir;
  WriteFileBytes(dir / "lieder.dat",
                 "12\ts\tZw\xF6lf\t\r\n#gel\xF6scht#\t3\ts\tDrei\t\r\n15\ts\tF\xFCnfzehn\t\r\n4\ts\tVier\t\r\n");
  SongStore store(DataFiles::For(dir.path()));
  store.LoadSongList();
  // 3 is in the trash and 99 was never there (or is purged): neither is shown.
  EXPECT_EQ(ActiveCollectionSongIds(store, "Sonntag\t|12|3|99|4||15"), (std::vector<std::string>{"12", "4"}));
  const std::vector<SelectionRow> rows = CollectionRows(store, "Sonntag\t|12|3|99|4||15");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].id, "12");
  EXPECT_EQ(rows[0].title, "Zw\xF6lf");
  EXPECT_EQ(rows[1].title, "Vier");
}

TEST(MoveSongInSelection, ABlockMovesAsABlockAndStopsAtTheEnds) {
  std::vector<SelectionRow> rows = Rows("abcde", "cd");
  MoveSongInSelection(rows, MoveDirection::Up);
  EXPECT_EQ(Order(rows), "(a)cd(b)(e)");
  MoveSongInSelection(rows, MoveDirection::Up);
  EXPECT_EQ(Order(rows), "cd(a)(b)(e)");
  MoveSongInSelection(rows, MoveDirection::Up);
  EXPECT_EQ(Order(rows), "cd(a)(b)(e)");
  for (int i = 0; i < 4; ++i) MoveSongInSelection(rows, MoveDirection::Down);
  EXPECT_EQ(Order(rows), "(a)(b)(e)cd");
  rows = Rows("abc", "ac");
  MoveSongInSelection(rows, MoveDirection::Up);
  EXPECT_EQ(Order(rows), "ac(b)");
  rows = Rows("abc", "ac");
  MoveSongInSelection(rows, MoveDirection::Down);
  EXPECT_EQ(Order(rows), "(b)ac");
}

TEST(MoveSongInSelection, TheNewOrderIsStoredWithHiddenIdsKept) {
  std::vector<std::string> records{"Sonntag\t|12|15|3\tg\t\t1\tu\t2\tu\t", "Alt\t|12||15"};
  std::vector<SelectionRow> rows{{"12", "A", false}, {"15", "B", false}, {"3", "C", true}};
  MoveSongInSelection(rows, MoveDirection::Up);
  ASSERT_TRUE(StoreSelectionOrder(records, 0, rows, kStamp));
  EXPECT_EQ(records[0], "Sonntag\t|12|3|15\tg\t\t1\tu\t1700000000\tu9\t");
  std::vector<SelectionRow> shown{{"12", "A", true}};
  ASSERT_TRUE(StoreSelectionOrder(records, 1, shown, kStamp));
  EXPECT_EQ(Ids(records[1]), "|12||15");
}

TEST(CollectionRecords, FieldsAfterTheEighthSurviveEveryRewrite) {
  const std::string record = "Sonntag\t|1|2\tg\tr\t1\tu\t2\tv\tneun\t\tzehn\t";
  const std::string kept = "neun\t\tzehn\t";
  const auto endsWithKept = [&](const std::string& rewritten) {
    return rewritten.size() >= kept.size() && rewritten.compare(rewritten.size() - kept.size(), kept.size(), kept) == 0;
  };
  std::vector<std::string> records{record};
  AddSongsToCollection(records, 0, {Collected("3", "Drei")}, kStamp);
  EXPECT_TRUE(endsWithKept(records[0])) << records[0];
  records = {record};
  RemoveSongsFromCollection(records, 0, {Collected("1", "Eins")}, kStamp);
  EXPECT_TRUE(endsWithKept(records[0])) << records[0];
  records = {record};
  StoreSelectionOrder(records, 0, {{"2", "", false}, {"1", "", false}}, kStamp);
  EXPECT_TRUE(endsWithKept(records[0])) << records[0];
  records = {record};
  RenameCollection(records, 0, CollectionKind::Selection, "Neu", "", kStamp);
  EXPECT_EQ(records[0], "Neu\t|1|2\tg\tr\t1\tu\t1700000000\tu9\t" + kept);
  // A record without such fields gets none.
  EXPECT_EQ(RebuildCollectionRecord("Alt\t|1", "|1|2", kStamp), "Alt\t|1|2\t\t\t\t\t1700000000\tu9\t");
}

TEST(MoveSongInSelection, IdsThatAreNotShownKeepTheirPlaces) {
  std::vector<std::string> records{"Sonntag\t|12|3|15|99|4||8"};
  // The list shows 12, 15 and 4 (3 and 99 have no active song); 4 moves up once.
  std::vector<SelectionRow> rows{{"12", "A", false}, {"15", "B", false}, {"4", "C", true}};
  MoveSongInSelection(rows, MoveDirection::Up);
  ASSERT_TRUE(StoreSelectionOrder(records, 0, rows, kStamp));
  EXPECT_EQ(Ids(records[0]), "|12|3|4|99|15||8");
}

TEST(CollectionEditor, RowsCountEveryBar) {
  const std::vector<CollectionEditorRow> rows =
      CollectionEditorRows({"Lob\t7|12|15\t\t\t\t\t\t\t", "Sonntag\t|1|2|3", "Standard Eintrag"});
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].name, "Lob");
  EXPECT_EQ(rows[0].entries, 2);
  EXPECT_EQ(rows[0].poolId, "7");
  EXPECT_EQ(rows[1].entries, 3);
  EXPECT_EQ(rows[1].poolId, "");
  EXPECT_EQ(rows[2].entries, 0);
}

TEST(CollectionEditor, NewPutsARecordAtTheFront) {
  std::vector<std::string> selections{"Alt\t|1"};
  NewCollection(selections, CollectionKind::Selection, kStamp);
  EXPECT_EQ(selections, (std::vector<std::string>{"-Neue Auswahlliste-\t\t\t\t1700000000\tu9", "Alt\t|1"}));
  std::vector<std::string> groups;
  NewCollection(groups, CollectionKind::Group, kStamp);
  EXPECT_EQ(groups, std::vector<std::string>{"-Neue Auswahlliste-\t"});
}

class DeleteCollectionTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir_ / "config"); }
  SettingsFileRef Target() { return {settings_, dir_ / "config" / "einstellungen.ini"}; }
  TempDir dir_;
  DataFiles files_ = DataFiles::For(dir_.path());
  Settings settings_;
};

TEST_F(DeleteCollectionTest, ASynchronisedSelectionIsRememberedAnUnsynchronisedOneIsNot) {
  std::vector<std::string> records{"Lokal\t|1\t\t", "Sync\t|2\tpl-9\t", "Auch\t\tpl-10"};
  const DeleteCollectionResult local = DeleteCollection(records, 0, CollectionKind::Selection, files_, Target());
  EXPECT_TRUE(local.deleted);
  EXPECT_FALSE(local.globalIdRemembered);
  EXPECT_FALSE(std::filesystem::exists(Target().file));
  DeleteCollection(records, 0, CollectionKind::Selection, files_, Target());
  DeleteCollection(records, 0, CollectionKind::Selection, files_, Target());
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(settings_.loeschstringplaylistclient, "pl-9|pl-10|");
  EXPECT_EQ(IniFile::Load(Target().file).ValueOr("sonstiges", "loeschstringplaylistclient", ""), "pl-9|pl-10|");
  EXPECT_FALSE(DeleteCollection(records, 0, CollectionKind::Selection, files_, Target()).deleted);
}

TEST_F(DeleteCollectionTest, AGroupTakesItsPoolFileAlongButNothingOutsideTheFolder) {
  WriteFileBytes(dir_ / "datenpool" / "7.dat", "x");
  WriteFileBytes(dir_ / "geheim.dat", "bleibt");
  std::vector<std::string> records{"Lob\t7|1\tg\t", "B\xF6se\t../geheim|2"};
  EXPECT_TRUE(DeleteCollection(records, 0, CollectionKind::Group, files_, Target()).poolFileRemoved);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "datenpool" / "7.dat"));
  EXPECT_EQ(settings_.loeschstringplaylistclient, "");  // groups are not reported
  EXPECT_FALSE(DeleteCollection(records, 0, CollectionKind::Group, files_, Target()).poolFileRemoved);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "geheim.dat"));
}

TEST(RenameCollection, SelectionsAreRebuiltGroupsKeepTheirSongs) {
  std::vector<std::string> selections{"Alt\t|1|2\tg\tr\t5\tu1"};
  ASSERT_TRUE(RenameCollection(selections, 0, CollectionKind::Selection, "Neu\tName", "", kStamp).saved);
  EXPECT_EQ(selections[0], "Neu Name\t|1|2\tg\tr\t5\tu1\t1700000000\tu9\t");
  std::vector<std::string> groups{"Lob\t7|1|2\tx\t", "-Neue Auswahlliste-\t"};
  ASSERT_TRUE(RenameCollection(groups, 0, CollectionKind::Group, "Preis", "8", kStamp).saved);
  EXPECT_EQ(groups[0], "Preis\t8|1|2\tx\t");
  ASSERT_TRUE(RenameCollection(groups, 1, CollectionKind::Group, "Leer", "", kStamp).saved);
  EXPECT_EQ(groups[1], "Leer\t");
  EXPECT_FALSE(RenameCollection(groups, 1, CollectionKind::Group, "", "3", kStamp).saved);
  EXPECT_EQ(groups[1], "Leer\t");
}

TEST(RenameCollection, ATakenPoolIdIsRefusedAndTheOldOneStays) {
  std::vector<std::string> groups{"Lob\t7|1", "Dank\t9|2"};
  const RenameResult result = RenameCollection(groups, 1, CollectionKind::Group, "Dank!", "7", kStamp);
  ASSERT_TRUE(result.poolIdTakenBy.has_value());
  EXPECT_EQ(*result.poolIdTakenBy, "Lob");
  EXPECT_TRUE(result.saved);
  EXPECT_EQ(groups[1], "Dank!\t9|2");
  // Keeping its own pool id is no conflict.
  EXPECT_FALSE(RenameCollection(groups, 0, CollectionKind::Group, "Lob", "7", kStamp).poolIdTakenBy);
  LanguageTable language = German();
  const UserMessage message = PoolIdTakenMessage("Lob", CollectionKind::Group, language);
  EXPECT_EQ(message.title, "Gruppierung bearbeiten");
  EXPECT_EQ(message.text, "Pool ID bereits f\xFCr Gruppe Lob vergeben!");
  EXPECT_EQ(message.icon, UserMessage::Icon::Warning);
}

}  // namespace
}  // namespace psalmora
