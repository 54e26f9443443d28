// psalmora-tool's search, trash, selection and group commands on a prepared data folder.
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "core/text_encoding.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

// A data folder with four songs (newest first) and their texts, a selection and a group file.
class SearchCollectionCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sandbox_.RunInData({"init"}).status, 0);
    const auto data = sandbox_.dataDir();
    // Written as UTF-8 here, stored in Windows-1252 as the program keeps it.
    WriteFileBytes(data / "lieder.dat",
                   Utf8ToCp1252("4\t01.01.2026-10:00\tÜber den Wolken\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
                                "3\t01.01.2026-10:00\tStraße\t\t\tleise\t\t\t\t\t\t\t\t\t\t\t\t\tg-3\t\t\t\r\n"
                                "2\t01.01.2026-10:00\tDrüber\t\r\n"
                                "1\t01.01.2026-10:00\tDas erste Lied\tD A G A D (2x)\r\n"));
    WriteFileBytes(data / "4.dat", Utf8ToCp1252("Hoch über den\r\nWolken\r\n"));
    WriteFileBytes(data / "3.dat", "Leise\r\n");
    WriteFileBytes(data / "2.dat", "\r\n");
    WriteFileBytes(data / "auswahl.dat", "Sonntag\t|1|3\tsync-1\t\t\t\t\t\t\r\nOstern\t|3\r\n");
    WriteFileBytes(data / "gruppierung.dat", "Lob\t7|3|4\r\n");
  }
  ToolRun Run(const std::vector<std::string>& arguments) const { return sandbox_.RunInData(arguments); }
  std::string Data(std::string_view name) const { return ReadFileBytes(sandbox_.dataDir() / name); }

  ToolSandbox sandbox_;
};

TEST_F(SearchCollectionCliTest, SearchPrintsTheHitsInStoreOrder) {
  ToolRun run = Run({"search", "Titel", "ÜBER"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "4\tÜber den Wolken\n2\tDrüber\n");
  EXPECT_EQ(Run({"search", "Titel", "strasse"}).out, "");
  EXPECT_EQ(Run({"search", "Titel", "STRAßE"}).out, "3\tStraße\n");
  EXPECT_EQ(Run({"search", "Bemerkung", "$leer$"}).out, "4\tÜber den Wolken\n2\tDrüber\n1\tDas erste Lied\n");
  EXPECT_EQ(Run({"search", "Liedtext", "denwolken"}).out, "4\tÜber den Wolken\n");
  EXPECT_EQ(Run({"search", "Liedtext", "--", "*"}).out, "");
}

TEST_F(SearchCollectionCliTest, SearchRejectsAnUnknownFieldAsAUsageError) {
  const ToolRun run = Run({"search", "Liedtexte", "x"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Liedtext"), std::string::npos);  // the fields are listed
  EXPECT_EQ(Run({"search", "Titel"}).status, 2);
}

TEST_F(SearchCollectionCliTest, DeleteTrashRestoreAndPurge) {
  // The known songs are deleted, the unknown ids named.
  ToolRun run = Run({"delete", "3", "99", "98"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "psalmora-tool: no song with the id 99, 98\n");
  run = Run({"delete", "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Run({"trash"}).out, "3\tStraße\n1\tDas erste Lied\n");
  EXPECT_EQ(Run({"search", "Titel", "e"}).out, "4\tÜber den Wolken\n2\tDrüber\n");
  EXPECT_EQ(Run({"selection", "list"}).out, "0\tSonntag\t0\n1\tOstern\t0\n");
  EXPECT_EQ(Run({"group", "list", "Lob"}).out, "4\tÜber den Wolken\n");
  const IniFile settings = IniFile::Load(sandbox_.programDir() / "config" / "einstellungen.ini");
  EXPECT_EQ(settings.ValueOr("sonstiges", "loeschstringclient", ""), "g-3|");

  // A song in the trash is not deleted again, and the trash marker names no song.
  run = Run({"delete", "3"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "psalmora-tool: song 3 is in the trash already\n");
  const std::string songsBefore = Data("lieder.dat");
  EXPECT_EQ(Run({"delete", "#gelöscht#"}).status, 1);
  EXPECT_EQ(Data("lieder.dat"), songsBefore);

  EXPECT_EQ(Run({"restore", "4"}).status, 1);  // not in the trash
  run = Run({"restore", "3", "4"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "psalmora-tool: no song in the trash with the id 4\n");
  EXPECT_EQ(Run({"trash"}).out, "1\tDas erste Lied\n");
  EXPECT_EQ(Run({"search", "Titel", "stra"}).out, "3\tStraße\n");

  ASSERT_EQ(Run({"purge"}).status, 0);
  EXPECT_EQ(Run({"trash"}).out, "");
  EXPECT_EQ(Data("lieder.dat").find("#gel"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(sandbox_.dataDir() / "1.dat"));
  EXPECT_TRUE(std::filesystem::exists(sandbox_.dataDir() / "3.dat"));
}

TEST_F(SearchCollectionCliTest, ASelectionListsOnlyActiveSongsAndKeepsTheOthers) {
  WriteFileBytes(sandbox_.dataDir() / "auswahl.dat", "Sonntag\t|1|3|99|4\r\n");
  ASSERT_EQ(Run({"delete", "3"}).status, 0);
  EXPECT_EQ(Run({"selection", "list", "0"}).out, "1\tDas erste Lied\n4\tÜber den Wolken\n");
  EXPECT_EQ(Run({"group", "list", "Lob"}).out, "4\tÜber den Wolken\n");
  EXPECT_NE(Data("auswahl.dat").find("|1|99|4"), std::string::npos);
}

TEST_F(SearchCollectionCliTest, UnreadableFilesFailEveryCommandAndNothingIsWritten) {
  const auto data = sandbox_.dataDir();
  const std::string ids = Data("id.dat");
  // A link that leads to itself: the file is there, but cannot be read.
  std::filesystem::rename(data / "lieder.dat", data / "lieder.alt");
  std::filesystem::create_symlink("lieder.dat", data / "lieder.dat");
  const std::vector<std::vector<std::string>> commands = {
      {"list"},
      {"show", "1"},
      {"search", "Titel", "e"},
      {"trash"},
      {"selection", "list"},
      {"new", "--title", "x"},
      {"delete", "1"},
      {"purge"},
      {"next-id"},
      {"selection", "add", "0", "4"},
  };
  for (const std::vector<std::string>& command : commands) {
    const ToolRun run = Run(command);
    EXPECT_EQ(run.status, 1) << command[0];
    EXPECT_EQ(run.err, "psalmora-tool: cannot read " + (data / "lieder.dat").string() + "; it is left as it is\n")
        << command[0];
    EXPECT_EQ(run.out, "") << command[0];
  }
  EXPECT_TRUE(std::filesystem::is_symlink(data / "lieder.dat"));
  EXPECT_FALSE(std::filesystem::exists(data / "5.dat"));
  EXPECT_EQ(Data("id.dat"), ids);

  std::filesystem::remove(data / "lieder.dat");
  std::filesystem::rename(data / "lieder.alt", data / "lieder.dat");
  std::filesystem::remove(data / "auswahl.dat");
  std::filesystem::create_symlink("auswahl.dat", data / "auswahl.dat");
  for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
           {"selection", "list"}, {"selection", "new"}, {"selection", "add", "0", "4"}}) {
    const ToolRun run = Run(command);
    EXPECT_EQ(run.status, 1) << command[1];
    EXPECT_EQ(run.err, "psalmora-tool: cannot read " + (data / "auswahl.dat").string() + "; it is left as it is\n");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(data / "auswahl.dat"));
}

TEST_F(SearchCollectionCliTest, APurgeThatCannotRemoveATextFails) {
  ASSERT_EQ(Run({"delete", "2", "3"}).status, 0);
  std::filesystem::remove(sandbox_.dataDir() / "2.dat");
  std::filesystem::create_directories(sandbox_.dataDir() / "2.dat" / "inhalt");
  const ToolRun run = Run({"purge"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "psalmora-tool: the songs are purged, but these text files could not be removed: 2\n");
  EXPECT_EQ(Run({"trash"}).out, "");
  EXPECT_FALSE(std::filesystem::exists(sandbox_.dataDir() / "3.dat"));
}

TEST_F(SearchCollectionCliTest, SelectionAddRemoveAndList) {
  ToolRun run = Run({"selection", "add", "Sonntag", "4", "1", "2"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "'Das erste Lied' wurde schon ausgewählt\n");
  EXPECT_EQ(Run({"selection", "list", "0"}).out, "1\tDas erste Lied\n3\tStraße\n4\tÜber den Wolken\n2\tDrüber\n");
  EXPECT_EQ(Run({"selection", "list"}).out, "0\tSonntag\t4\n1\tOstern\t1\n");
  ASSERT_EQ(Run({"selection", "remove", "0", "3", "2"}).status, 0);
  EXPECT_EQ(Run({"selection", "list", "Sonntag"}).out, "1\tDas erste Lied\n4\tÜber den Wolken\n");
  EXPECT_NE(Data("auswahl.dat").find("Sonntag\t|1|4\tsync-1\t"), std::string::npos);

  EXPECT_EQ(Run({"selection", "add", "Pfingsten", "1"}).status, 1);
  EXPECT_EQ(Run({"selection", "add", "0", "77"}).status, 1);
  // Songs in the trash cannot be added, nor can the trash marker be taken for an id.
  ASSERT_EQ(Run({"delete", "2"}).status, 0);
  EXPECT_EQ(Run({"selection", "add", "0", "2"}).status, 1);
  EXPECT_EQ(Run({"group", "add", "Lob", "#gelöscht#"}).status, 1);
  EXPECT_EQ(Run({"selection", "add", "0", "#gelöscht#"}).status, 1);
  EXPECT_EQ(Data("auswahl.dat").find("#gel"), std::string::npos);
  EXPECT_EQ(Data("gruppierung.dat").find("#gel"), std::string::npos);
  EXPECT_EQ(Run({"selection", "add", "0"}).status, 2);
  EXPECT_EQ(Run({"selection", "tausche"}).status, 2);
}

TEST_F(SearchCollectionCliTest, GroupsAndTheCollectionEditorActions) {
  ASSERT_EQ(Run({"group", "add", "0", "1"}).status, 0);
  EXPECT_EQ(Run({"group", "list"}).out, "0\tLob\t3\t7\n");
  ASSERT_EQ(Run({"group", "new"}).status, 0);
  ToolRun run = Run({"group", "rename", "0", "Dank", "7"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Pool ID bereits für Gruppe Lob vergeben!\n");
  EXPECT_EQ(Run({"group", "list"}).out, "0\tDank\t0\t\n1\tLob\t3\t7\n");

  ASSERT_EQ(Run({"selection", "delete", "Ostern"}).status, 0);
  ASSERT_EQ(Run({"selection", "delete", "Sonntag"}).status, 0);
  const IniFile settings = IniFile::Load(sandbox_.programDir() / "config" / "einstellungen.ini");
  EXPECT_EQ(settings.ValueOr("sonstiges", "loeschstringplaylistclient", ""), "sync-1|");
  EXPECT_EQ(Data("auswahl.dat"), "");
}

}  // namespace
}  // namespace psalmora::testing
