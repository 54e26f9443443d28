#include "core/data_folder.h"

#include <gtest/gtest.h>

#include <functional>

#include "collections/collection_file.h"
#include "core/ini_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

LanguageTable German() {
  LanguageTable table;
  table.LoadFromText(
      "Error\tFehler\tError\r\n"
      "Fehler Inkonsistenz\tFehler Inkonsistenz\tInconsistency\r\n"
      "Der Order existiert nicht mehr\tDer Ordner existiert nicht mehr\tThe folder no longer exists\r\n",
      kGerman);
  return table;
}

TEST(DataFiles, AreNamedAfterTheFolder) {
  const DataFiles files = DataFiles::For("/daten");
  EXPECT_EQ(files.lieder, "/daten/lieder.dat");
  EXPECT_EQ(files.auswahl, "/daten/auswahl.dat");
  EXPECT_EQ(files.id, "/daten/id.dat");
  EXPECT_EQ(files.gruppierung, "/daten/gruppierung.dat");
  EXPECT_EQ(files.statistik, "/daten/statistik.dat");
  EXPECT_EQ(files.youtubeList, "/daten/youtube/youtube.dat");
  EXPECT_EQ(files.youtubeIds, "/daten/youtube/youtube-id.dat");
  EXPECT_EQ(files.youtubeImage, "/daten/youtube/youtube-image.jpg");
  EXPECT_EQ(files.powerpoint, "/daten/powerpoint");
}

TEST(VersionText, IsFirstCharacterDotLastTwo) {
  EXPECT_EQ(VersionText("312"), "3.12");
  EXPECT_EQ(VersionText("4105"), "4.05");
  EXPECT_EQ(VersionText("7"), "7.7");
  EXPECT_EQ(VersionText("12"), "1.12");
  EXPECT_EQ(VersionText(""), ".");
}

TEST(CheckDataFolder, RegistryErrorsAndEmptyValuesNeedTheWizardSilently) {
  LanguageTable language = German();
  for (const char* value : {"Error Opening Key", "Error Reading key", ""}) {
    const DataFolderCheck check = CheckDataFolder(value, language);
    EXPECT_TRUE(check.needsWizard) << value;
    EXPECT_FALSE(check.message.has_value()) << value;
  }
}

TEST(CheckDataFolder, AVanishedFolderIsReportedThenNeedsTheWizard) {
  TempDir dir;
  LanguageTable language = German();
  const DataFolderCheck gone = CheckDataFolder((dir / "weg").string(), language);
  EXPECT_TRUE(gone.needsWizard);
  ASSERT_TRUE(gone.message.has_value());
  EXPECT_EQ(gone.message->title, "Ordner Check");
  EXPECT_EQ(gone.message->text, "Der Ordner existiert nicht mehr " + (dir / "weg").string());
  EXPECT_EQ(gone.message->icon, UserMessage::Icon::Information);

  const DataFolderCheck there = CheckDataFolder(dir.path().string(), language);
  EXPECT_FALSE(there.needsWizard);
  EXPECT_EQ(there.folder, dir.path());
}

TEST(CreateFolderLevels, CreatesMissingParentsLevelByLevel) {
  TempDir dir;
  const FolderCreation creation = CreateFolderLevels(dir / "a" / "b" / "c");
  EXPECT_TRUE(creation.accepted);
  EXPECT_TRUE(creation.failed.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir / "a" / "b" / "c"));
  EXPECT_TRUE(CreateFolderLevels(dir / "a" / "b").accepted);                   // an existing folder is accepted
  EXPECT_TRUE(CreateFolderLevels((dir / "x" / "y").string() + "/").accepted);  // trailing separator
  EXPECT_TRUE(std::filesystem::is_directory(dir / "x" / "y"));
  EXPECT_FALSE(CreateFolderLevels({}).accepted);
}

TEST(CreateFolderLevels, AFailedLevelIsReportedAndThePathNotAccepted) {
  TempDir dir;
  WriteFileBytes(dir / "datei", "x");
  const FolderCreation creation = CreateFolderLevels(dir / "datei" / "unter" / "ordner");
  EXPECT_FALSE(creation.accepted);
  ASSERT_EQ(creation.failed.size(), 2u);
  EXPECT_EQ(creation.failed[0], dir / "datei" / "unter");
}

TEST(CreateFolderLevels, AFileInThePlaceOfTheFolderIsTheFailedLevel) {
  TempDir dir;
  WriteFileBytes(dir / "datei", "x");
  const FolderCreation creation = CreateFolderLevels(dir / "datei");
  EXPECT_FALSE(creation.accepted);
  EXPECT_EQ(creation.failed, std::vector<std::filesystem::path>{dir / "datei"});
  EXPECT_EQ(ReadFileBytes(dir / "datei"), "x");
}

class PrepareDataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_ / "daten");
    std::filesystem::create_directories(dir_ / "programm" / "config");
  }
  DataFolderStart Prepare() { return PrepareDataFolder(store_, settings(), language_); }
  std::filesystem::path data(std::string_view name) const { return dir_ / "daten" / name; }
  std::filesystem::path settings() const { return dir_ / "programm" / "config" / "einstellungen.ini"; }

  TempDir dir_;
  SongStore store_{DataFiles::For(dir_ / "daten")};
  LanguageTable language_ = German();
};

TEST_F(PrepareDataFolderTest, AFreshFolderIsSeededWithTheSampleSong) {
  WriteFileBytes(settings(), "[voreinstellung]\r\nvor=3\r\nsprache=1\r\n");
  const DataFolderStart start = Prepare();
  EXPECT_TRUE(start.seeded);
  EXPECT_FALSE(start.message.has_value());
  EXPECT_TRUE(std::filesystem::is_directory(data("youtube")));
  EXPECT_EQ(ReadFileBytes(data("id.dat")), "1\r\n");

  const std::vector<std::string> lines = SplitLines(ReadFileBytes(data("lieder.dat")));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(RecordField(lines[0], 1), "1");
  EXPECT_EQ(RecordField(lines[0], 2).size(), 16u);
  EXPECT_EQ(lines[0].substr(lines[0].find("\tDas")), "\tDas erste Lied\tD A G A D (2x)");  // no trailing TAB
  EXPECT_EQ(ReadFileBytes(data("lieder.dat")).substr(lines[0].size()), "\r\n");

  EXPECT_EQ(ReadFileBytes(data("auswahl.dat")), "Neue Auswahl\r\n");
  EXPECT_EQ(ReadFileBytes(settings()), "[voreinstellung]\r\nvor=0\r\nsprache=1\r\n");
  EXPECT_EQ(ReadFileBytes(data("1.dat")),
            ">A  kk     o  r     d    e\rLiedtext steht hier, Halleluja!!\r#Und hier die \xDC"
            "bersetzung\r"
            ">A  kk     o  r     d    e\rLiedtext steht hier, Halleluja!!\r#Und hier die \xDC"
            "bersetzung\r"
            " \r;Hier ein Komentar\r\n");
  store_.LoadSongList();
  EXPECT_EQ(store_.SongList(), lines);
}

TEST_F(PrepareDataFolderTest, AnEmptyLostOrDanglingIndexIsSeededAndTheSetListsAreKept) {
  const std::vector<std::pair<const char*, std::function<void(const std::filesystem::path&)>>> indexes = {
      {"empty", [](const std::filesystem::path& file) { WriteFileBytes(file, ""); }},
      {"missing", [](const std::filesystem::path&) {}},
      {"dangling link",
       [](const std::filesystem::path& file) {
         std::filesystem::create_symlink(file.parent_path() / "weg.dat", file);
       }},
  };
  for (const auto& [what, makeIndex] : indexes) {
    TempDir dir;
    std::filesystem::create_directories(dir / "daten");
    SongStore store(DataFiles::For(dir / "daten"));
    makeIndex(dir / "daten" / "lieder.dat");
    WriteFileBytes(dir / "daten" / "auswahl.dat", "Alt\t|1|2\r\n");
    WriteFileBytes(dir / "einstellungen.ini", "[voreinstellung]\r\nvor=3\r\n");
    EXPECT_TRUE(PrepareDataFolder(store, dir / "einstellungen.ini", language_).seeded) << what;
    EXPECT_EQ(ReadFileBytes(dir / "daten" / "auswahl.dat"), "Alt\t|1|2\r\n") << what;
    EXPECT_EQ(ReadFileBytes(dir / "einstellungen.ini"), "[voreinstellung]\r\nvor=3\r\n") << what;
  }
  // A selection file that cannot be read is no missing one either.
  std::filesystem::create_symlink("auswahl.dat", data("auswahl.dat"));
  EXPECT_TRUE(Prepare().seeded);
  EXPECT_TRUE(std::filesystem::is_symlink(data("auswahl.dat")));
}

TEST_F(PrepareDataFolderTest, SeedingNeverOverwritesTheTextOfAnOldSong) {
  // Index lost, counter lost, but a song text is still there: the sample song takes the next free id.
  WriteFileBytes(data("1.dat"), "alter Text\r\n");
  EXPECT_TRUE(Prepare().seeded);
  EXPECT_EQ(ReadFileBytes(data("1.dat")), "alter Text\r\n");
  EXPECT_EQ(RecordField(SplitLines(ReadFileBytes(data("lieder.dat")))[0], 1), "2");
  EXPECT_TRUE(std::filesystem::exists(data("2.dat")));
}

TEST_F(PrepareDataFolderTest, SongsWithoutCounterGiveTheIdZeroMessageAndChangeNothing) {
  WriteFileBytes(data("lieder.dat"), "4\ts\tVier\t\r\n");
  WriteFileBytes(data("auswahl.dat"), "Alt\t|4\r\n");
  const DataFolderStart start = Prepare();
  EXPECT_FALSE(start.seeded);
  ASSERT_TRUE(start.message.has_value());
  EXPECT_EQ(start.message->title, "Fehler");
  EXPECT_EQ(start.message->text, "ID=0\rFehler Inkonsistenz");
  EXPECT_EQ(start.message->icon, UserMessage::Icon::Error);
  EXPECT_EQ(ReadFileBytes(data("lieder.dat")), "4\ts\tVier\t\r\n");
  EXPECT_EQ(ReadFileBytes(data("auswahl.dat")), "Alt\t|4\r\n");
  EXPECT_FALSE(std::filesystem::exists(data("id.dat")));
  EXPECT_FALSE(std::filesystem::exists(settings()));
}

TEST_F(PrepareDataFolderTest, AHealthyFolderIsLeftAsItIs) {
  WriteFileBytes(data("lieder.dat"), "4\ts\tVier\t\r\n");
  WriteFileBytes(data("id.dat"), "abc");  // not a number: reads as 0, the message tells
  EXPECT_TRUE(Prepare().message.has_value());
  WriteFileBytes(data("id.dat"), "4\r\n");
  const DataFolderStart start = Prepare();
  EXPECT_FALSE(start.seeded);
  EXPECT_FALSE(start.message.has_value());
  EXPECT_EQ(start.lastIdRead, 4);
  EXPECT_EQ(ReadFileBytes(data("id.dat")), "4\r\n");
}

TEST_F(PrepareDataFolderTest, AnIndexThatIsNotAFileIsNotReplacedBySeeding) {
  std::filesystem::create_directories(data("lieder.dat"));
  WriteFileBytes(data("auswahl.dat"), "Alt\t|4\r\n");
  EXPECT_FALSE(Prepare().seeded);
  EXPECT_EQ(ReadFileBytes(data("auswahl.dat")), "Alt\t|4\r\n");
}

}  // namespace
}  // namespace psalmora
