#include "collections/collection_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(CollectionFile, LoadSkipsEmptyLinesAndAcceptsEveryLineEnd) {
  TempDir dir;
  WriteFileBytes(dir / "auswahl.dat", "Sonntag\t|12|15|3\t\r\n\r\nOstern\t|4\n\rJugend\t\r");
  EXPECT_EQ(LoadCollectionFile(dir / "auswahl.dat"),
            (std::vector<std::string>{"Sonntag\t|12|15|3\t", "Ostern\t|4", "Jugend\t"}));
}

TEST(CollectionFile, AFileWithoutRecordsGivesStandardEintragAMissingOneNothing) {
  TempDir dir;
  WriteFileBytes(dir / "auswahl.dat", "\r\n\r\n\n");
  EXPECT_EQ(LoadCollectionFile(dir / "auswahl.dat"), (std::vector<std::string>{"Standard Eintrag"}));
  WriteFileBytes(dir / "leer.dat", "");
  EXPECT_EQ(LoadCollectionFile(dir / "leer.dat"), (std::vector<std::string>{"Standard Eintrag"}));
  EXPECT_TRUE(LoadCollectionFile(dir / "fehlt.dat").empty());
}

TEST(CollectionFile, SaveWritesEveryRecordAsACrLfLineAndKeepsTheOldFileOnFailure) {
  TempDir dir;
  ASSERT_TRUE(SaveCollectionFile(dir / "auswahl.dat", {"Neue Auswahl", "Fest\t|1|2\t\t\t\t\t\t\t"}));
  EXPECT_EQ(ReadFileBytes(dir / "auswahl.dat"), "Neue Auswahl\r\nFest\t|1|2\t\t\t\t\t\t\t\r\n");
  std::filesystem::create_directory(dir / "ordner.dat");  // a folder where the file should be
  EXPECT_FALSE(SaveCollectionFile(dir / "ordner.dat", {"x"}));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "ordner.dat"));
}

TEST(CollectionFile, AFileThatIsThereButCannotBeReadIsNeverWritten) {
  TempDir dir;
  std::filesystem::create_symlink("auswahl.dat", dir / "auswahl.dat");  // a loop: there, but unreadable
  const CollectionFileContent content = ReadCollectionFile(dir / "auswahl.dat");
  EXPECT_TRUE(content.unreadable);
  EXPECT_TRUE(content.records.empty());
  EXPECT_FALSE(ReadCollectionFile(dir / "fehlt.dat").unreadable);
  EXPECT_FALSE(SaveCollectionFile(dir / "auswahl.dat", {"-Neue Auswahlliste-\t"}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "auswahl.dat"));

  HeldCollectionFile held(dir / "auswahl.dat");
  held.Load();
  EXPECT_TRUE(held.Unreadable());
  held.Records().push_back("-Neue Auswahlliste-\t");
  EXPECT_FALSE(held.Save());
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "auswahl.dat"));
}

TEST(CollectionFile, AHeldFileIsReadAgainWhenAnotherWriterChangedIt) {
  TempDir dir;
  WriteFileBytes(dir / "gruppierung.dat", "Lob\t7|1\r\n");
  HeldCollectionFile held(dir / "gruppierung.dat");
  held.Load();
  EXPECT_FALSE(held.ReloadIfChanged());
  held.Records().push_back("Dank\t");
  ASSERT_TRUE(held.Save());
  EXPECT_FALSE(held.ReloadIfChanged());  // its own write is no change from outside

  ASSERT_TRUE(SaveCollectionFile(dir / "gruppierung.dat", {"Lob\t7|1\t", "Dank\t", "Bitte\t"}));
  EXPECT_TRUE(held.ReloadIfChanged());
  EXPECT_EQ(held.Records(), (std::vector<std::string>{"Lob\t7|1\t", "Dank\t", "Bitte\t"}));
}

TEST(CollectionRecord, NamePoolIdSongIdsAndCount) {
  const std::string group = "Lobpreis\t7|12|15\tg1\t\t\t\t\t\t";
  EXPECT_EQ(CollectionName(group), "Lobpreis");
  EXPECT_EQ(CollectionPoolId(group), "7");
  EXPECT_EQ(CollectionSongIds(group), (std::vector<std::string>{"12", "15"}));
  EXPECT_EQ(CollectionEntryCount(group), 2);
  EXPECT_EQ(CollectionName("Alt|Name\t|1"), "Alt");
  EXPECT_EQ(CollectionPoolId("Sonntag\t|12"), "");
  EXPECT_EQ(CollectionSongIds("Sonntag\t|12||15"), (std::vector<std::string>{"12"}));
  EXPECT_TRUE(CollectionSongIds("Neue Auswahl").empty());
  EXPECT_EQ(CollectionEntryCount("Neue Auswahl"), 0);
}

TEST(IsGroupedSong, NeedsAPoolIdAboveZeroAndTheExactId) {
  const std::vector<std::string> groups = {"Ohne Pool\t|1|2\t", "Null\t0|3\t", "Pool\t5|12|4\t", "Text\tabc|6"};
  EXPECT_TRUE(IsGroupedSong(groups, "12"));
  EXPECT_TRUE(IsGroupedSong(groups, "4"));  // the last id, found through the added "|"
  EXPECT_FALSE(IsGroupedSong(groups, "1"));
  EXPECT_FALSE(IsGroupedSong(groups, "3"));
  EXPECT_FALSE(IsGroupedSong(groups, "6"));
  EXPECT_FALSE(IsGroupedSong(groups, "2"));
  EXPECT_FALSE(IsGroupedSong(groups, "5"));  // the pool id is not a song
}

TEST(IsGroupedSong, LoadsTheGroupFile) {
  TempDir dir;
  WriteFileBytes(dir / "gruppierung.dat", "Pool\t5|12|4\t\r\n");
  EXPECT_TRUE(IsGroupedSong(dir / "gruppierung.dat", "12"));
  EXPECT_FALSE(IsGroupedSong(dir / "fehlt.dat", "12"));
}

}  // namespace
}  // namespace psalmora
