#include "songdb/song_search.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "core/data_folder.h"
#include "core/language.h"
#include "core/text_encoding.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

// A song line with every one of the 21 fields followed by a TAB; fields not given are empty.
std::string Song(std::string id, std::string title, std::map<int, std::string> more = {}) {
  more[1] = std::move(id);
  more[3] = std::move(title);
  std::string record;
  for (int field = 1; field <= 21; ++field) record += more[field] + "\t";
  return record;
}

// Test texts are written as UTF-8 and stored as the program stores them.
std::string W(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

std::string Deleted(const std::string& record) {
  return W("#gelöscht#\t") + record;
}

constexpr int kTitle = 2;
constexpr int kRemark = 5;
constexpr int kCcli = 10;
constexpr int kText = 21;

class SongSearchTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::string>& records) {
    std::string index;
    for (const std::string& record : records) index += record + "\r\n";
    WriteFileBytes(dir_ / "lieder.dat", index);
    store_.LoadSongList();
  }
  // Ids of the hits, in hit order.
  std::vector<std::string> Ids(int entry, std::string_view text) {
    std::vector<std::string> ids;
    for (const SearchHit& hit : SearchSongs(store_, cache_, entry, text)) ids.push_back(hit.id);
    return ids;
  }
  using Ids_ = std::vector<std::string>;

  TempDir dir_;
  SongStore store_{DataFiles::For(dir_.path())};
  SongTextCache cache_;
};

TEST(LowerCaseCp1252, RaisesAsciiAndTheLatinCapitalsOnly) {
  EXPECT_EQ(LowerCaseCp1252("AZaz09"), "azaz09");
  EXPECT_EQ(LowerCaseCp1252("\xC0\xC4\xD6\xDC\xDE"), "\xE0\xE4\xF6\xFC\xFE");
  // "ß", the bytes just outside the range and the capitals Windows-1252 keeps elsewhere stay.
  EXPECT_EQ(LowerCaseCp1252("\xDF\xBF\xDF\x8A\x8C\x9F"), "\xDF\xBF\xDF\x8A\x8C\x9F");
  EXPECT_EQ(LowerCaseCp1252("&#321;"), "&#321;");
}

TEST(FieldChooser, SchemaLabelsThenLiedtext) {
  const std::vector<std::string> entries = FieldChooserEntries();
  ASSERT_EQ(entries.size(), 22u);
  EXPECT_EQ(entries[0], "ID");
  EXPECT_EQ(entries[kDefaultSearchEntry], "Titel");
  EXPECT_EQ(entries[kRemark], "Bemerkung");
  EXPECT_EQ(entries[kCcli], "CCLI Liednummer");
  EXPECT_EQ(entries.back(), "Liedtext");
  EXPECT_EQ(FieldEntryOfLabel("Liedtext"), kText);
  EXPECT_EQ(FieldEntryOfLabel("letzte \xC4nderung"), 11);
  EXPECT_EQ(FieldEntryOfLabel("titel"), -1);
}

TEST_F(SongSearchTest, UmlautsMatchInBothCasesButSharpSAndAccentsAreNotFolded) {
  Load({Song("1", W("Über den Wolken")), Song("2", W("Drüber hinaus")), Song("3", W("Die Straße")),
        Song("4", "Strasse"), Song("5", W("Café am Markt"))});
  EXPECT_EQ(Ids(kTitle, W("ÜBER")), (Ids_{"1", "2"}));
  EXPECT_EQ(Ids(kTitle, W("über")), (Ids_{"1", "2"}));
  EXPECT_EQ(Ids(kTitle, "strasse"), (Ids_{"4"}));
  EXPECT_EQ(Ids(kTitle, W("STRAßE")), (Ids_{"3"}));
  EXPECT_EQ(Ids(kTitle, W("CAFÉ")), (Ids_{"5"}));
  EXPECT_EQ(Ids(kTitle, "cafe"), Ids_{});
}

TEST_F(SongSearchTest, TextTypedOutsideWindows1252FindsTheStoredReference) {
  Load({Song("1", "Wi&#322;ka"), Song("2", "Wilka")});
  EXPECT_EQ(Ids(kTitle, Utf8ToCp1252("ł")), (Ids_{"1"}));
  EXPECT_EQ(Ids(kTitle, Utf8ToCp1252("WIŁKA")), Ids_{});  // "Ł" is another reference: no case pairing
}

TEST_F(SongSearchTest, LeerFindsEmptyValuesAndStarFindsFilledOnes) {
  Load({Song("1", "Eins", {{6, "schnell"}, {11, "4711"}}), Song("2", "Zwei"), "3\tstamp\tKurz",
        Song("4", "Vier", {{6, "ruhig"}}), Song("5", "F\xFCnf", {{11, "99"}})});
  EXPECT_EQ(Ids(kRemark, "$leer$"), (Ids_{"2", "3", "5"}));
  EXPECT_EQ(Ids(kCcli, "*"), (Ids_{"1", "5"}));
  EXPECT_EQ(Ids(kCcli, "$LEER$"), (Ids_{"2", "3", "4"}));
  // Both are also plain substrings: a value holding them is found as well.
  Load({Song("1", "Preis $leer$ und *")});
  EXPECT_EQ(Ids(kTitle, "*"), (Ids_{"1"}));
}

TEST_F(SongSearchTest, EmptyTextFindsNothingAndTheStatusSaysSo) {
  Load({Song("1", "Eins"), Song("2", "Zwei")});
  EXPECT_TRUE(Ids(kTitle, "").empty());
  EXPECT_TRUE(Ids(kText, "").empty());
  LanguageTable language;
  ASSERT_TRUE(language.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kGerman));
  EXPECT_EQ(SearchStatusText(0, language), "Kein Lied gefunden!");
  EXPECT_EQ(SearchStatusText(3, language), "3 Lieder gefunden");
  EXPECT_EQ(SearchStatusText(1, language), "1 Lied gefunden");
  LanguageTable english;
  ASSERT_TRUE(english.Load(std::filesystem::path(PSALMORA_SOURCE_DIR) / "data/config/sprachen.spr", kEnglish));
  EXPECT_EQ(SearchStatusText(1, english), "1 song found");
  EXPECT_EQ(SearchStatusText(2, english), "2 songs found");
}

TEST_F(SongSearchTest, HitsComeInStoreOrderWithIdAndTitle) {
  Load({Song("9", "Zion"), Song("3", "Abba"), Song("12", "Mitte")});
  const std::vector<SearchHit> hits = SearchSongs(store_, cache_, kTitle, "I");
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].id, "9");
  EXPECT_EQ(hits[0].title, "Zion");
  EXPECT_EQ(hits[1].id, "12");
  // Without a chosen entry the id field is searched.
  EXPECT_EQ(Ids(-1, "1"), (Ids_{"12"}));
}

TEST_F(SongSearchTest, TextSearchJoinsTheLinesWithoutSeparator) {
  Load({Song("1", "Beispiel"), Song("2", "LF"), Song("3", "Ohne Datei")});
  WriteFileBytes(dir_ / "1.dat", SampleSongText() + "\r\n");
  WriteFileBytes(dir_ / "2.dat", "Erste ZEILE\nzweite Zeile\r\n");
  EXPECT_EQ(Ids(kText, "halleluja!!#und"), (Ids_{"1"}));
  EXPECT_EQ(Ids(kText, "zeilezweite"), (Ids_{"2"}));
  EXPECT_EQ(Ids(kText, "zeile zweite"), Ids_{});
  EXPECT_EQ(Ids(kText, W("ÜBERSETZUNG")), (Ids_{"1"}));
}

TEST_F(SongSearchTest, LeerAndStarAreSearchedAsPlainTextInTheSongText) {
  Load({Song("1", "Mit Stern"), Song("2", "Leer")});
  WriteFileBytes(dir_ / "1.dat", "Ein * im Text\r\n");
  WriteFileBytes(dir_ / "2.dat", "\r\n");
  EXPECT_EQ(Ids(kText, "*"), (Ids_{"1"}));
  EXPECT_EQ(Ids(kText, "$leer$"), Ids_{});
}

TEST_F(SongSearchTest, SongsInTheTrashAreNeverHit) {
  const std::string gone = Deleted(Song("7", "Weg", {{6, ""}, {11, "123"}}));
  Load({Song("1", "Weg da", {{11, "5"}}), gone, Song("2", "Hier")});
  WriteFileBytes(dir_ / "7.dat", "weg weg weg\r\n");
  WriteFileBytes(dir_ / "1.dat", "weg\r\n");
  EXPECT_EQ(Ids(kTitle, "weg"), (Ids_{"1"}));
  EXPECT_EQ(Ids(kText, "weg"), (Ids_{"1"}));
  EXPECT_EQ(Ids(kRemark, "$leer$"), (Ids_{"1", "2"}));
  EXPECT_EQ(Ids(kCcli, "*"), (Ids_{"1"}));
  EXPECT_EQ(Ids(0, "7"), Ids_{});
  EXPECT_EQ(Ids(0, "gel"), Ids_{});
}

TEST_F(SongSearchTest, AFieldSearchSeesEveryChangeOfTheListSinceTheLastSearch) {
  Load({Song("1", "Anker"), Song("2", "Brot")});
  EXPECT_EQ(Ids(kTitle, "an"), (Ids_{"1"}));
  store_.InsertSongAtTop(Song("3", "Ankunft"));
  EXPECT_EQ(Ids(kTitle, "an"), (Ids_{"3", "1"}));
  store_.ReplaceSongRecord("1", Song("1", "Boot"));
  EXPECT_EQ(Ids(kTitle, "an"), (Ids_{"3"}));
  store_.SetSongAt(2, Deleted(Song("2", "Brot")));
  EXPECT_EQ(Ids(kTitle, "b"), (Ids_{"1"}));
  store_.EraseSongAt(0);
  EXPECT_EQ(Ids(kTitle, "an"), Ids_{});
  // Another store searched with the same cache is never answered from the first one's columns.
  TempDir other;
  WriteFileBytes(other.path() / "lieder.dat", Song("8", "Anker") + "\r\n");
  SongStore second{DataFiles::For(other.path())};
  second.LoadSongList();
  ASSERT_EQ(SearchSongs(second, cache_, kTitle, "an").size(), 1u);
  EXPECT_EQ(Ids(kTitle, "an"), Ids_{});
}

// Field searches against the plain rule on random titles: the hits of one search over all titles laid
// end to end never run from one title into the next and list every song once.
TEST_F(SongSearchTest, FieldSearchFindsWhatAPlainWalkFinds) {
  std::mt19937 random(7u);
  const std::vector<std::string> words = {"an", "AN", "Anna", "n", "\xC4hre", "\xE4h", "Stra\xDF" "e", " ", "*", "$leer$"};
  std::vector<std::string> records, titles;
  for (int i = 1; i <= 300; ++i) {
    std::string title;
    for (int w = static_cast<int>(random() % 4); w > 0; --w) title += words[random() % words.size()];
    titles.push_back(title);
    records.push_back(i % 23 == 0 ? Deleted(Song(std::to_string(i), title)) : Song(std::to_string(i), title));
  }
  Load(records);
  for (int round = 0; round < 400; ++round) {
    std::string term = words[random() % words.size()];
    if (random() % 2 != 0) term += words[random() % words.size()];
    Ids_ expected;
    for (std::size_t i = 0; i < titles.size(); ++i) {
      if ((i + 1) % 23 != 0 && LowerCaseCp1252(titles[i]).find(LowerCaseCp1252(term)) != std::string::npos)
        expected.push_back(std::to_string(i + 1));
    }
    if (term == "*" || term == "$leer$") continue;  // values of their own, tested above
    ASSERT_EQ(Ids(kTitle, term), expected) << term;
  }
}

}  // namespace
}  // namespace psalmora
