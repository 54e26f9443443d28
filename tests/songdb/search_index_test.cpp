// The song text index: a search through it, fresh, loaded from its file or partly outdated, finds
// exactly what a plain scan of the text files finds; a damaged, foreign or missing file is ignored.
#include "songdb/search_index.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include "core/data_folder.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"
#include "songdb/song_text_cache.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Ids = std::vector<std::string>;

constexpr int kText = 21;

// Words with umlauts in both cases, "ß", the search's own markers and bytes Windows-1252 leaves
// undefined.
const std::vector<std::string> kWords = {"Gnade",
                                         "GNADE",
                                         "Herr",
                                         "\xC4hre",
                                         "\xE4hre",
                                         "\xDC"
                                         "ber",
                                         "dr\xFC"
                                         "ber",
                                         "Stra\xDF"
                                         "e",
                                         "strasse",
                                         "Halleluja!!",
                                         "$leer$",
                                         "*",
                                         ">A  D/F#",
                                         "#\xDC"
                                         "bersetzung",
                                         ";Kommentar",
                                         "\x81\x8D\x9D",
                                         "K\xD6NIG",
                                         "k\xF6nig",
                                         "\xC9glise",
                                         "\xE9glise",
                                         "Friede",
                                         "Jesus",
                                         "  ",
                                         "a",
                                         "e"};

struct Folder {
  std::vector<std::string> ids;  // in store order, trash excluded
};

// A data folder of songs with texts of random words and line ends (CR, LF, CR LF), some songs in the
// trash, some without a text file, one with a folder in its file's place.
Folder MakeFolder(const std::filesystem::path& dir, int songs, std::mt19937& random) {
  static const char* const kEnds[] = {"\r\n", "\r", "\n"};
  Folder folder;
  std::string list;
  for (int i = songs; i >= 1; --i) {
    const std::string id = std::to_string(i);
    const bool deleted = i % 17 == 0;
    list += (deleted ? "#gel\xF6scht#\t" : "") + id + "\ts\tLied " + id + "\t\r\n";
    if (!deleted) folder.ids.push_back(id);
    if (i % 13 == 0) continue;  // no text file
    if (i % 101 == 0) {
      std::filesystem::create_directories(dir / (id + ".dat"));
      continue;
    }
    std::string text;
    const int lines = static_cast<int>(random() % 12);
    for (int line = 0; line < lines; ++line) {
      const int words = 1 + static_cast<int>(random() % 6);
      for (int w = 0; w < words; ++w) text += kWords[random() % kWords.size()] + (w + 1 < words ? " " : "");
      text += kEnds[random() % 3];
    }
    WriteFileBytes(dir / (id + ".dat"), text);
  }
  WriteFileBytes(dir / "lieder.dat", list);
  return folder;
}

// The search as written down: each text file read line by line, joined without a separator and
// lower-cased byte by byte (a missing file gives an empty text); then a plain substring test, song by
// song in list order.
std::vector<std::string> PlainTexts(const std::filesystem::path& dir, const Folder& folder) {
  std::vector<std::string> texts;
  for (const std::string& id : folder.ids) {
    std::string& text = texts.emplace_back();
    const std::filesystem::path file = dir / (id + ".dat");
    if (!std::filesystem::is_regular_file(file)) continue;
    for (const char c : ReadFileBytes(file)) {
      if (c != '\r' && c != '\n') text.push_back(LowerCaseCp1252(c));
    }
  }
  return texts;
}

Ids PlainScan(const std::vector<std::string>& texts, const Folder& folder, std::string_view term) {
  Ids hits;
  const std::string lower = LowerCaseCp1252(term);
  if (lower.empty()) return hits;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].find(lower) != std::string::npos) hits.push_back(folder.ids[i]);
  }
  return hits;
}

// Terms of every kind: whole words in either case, fragments of the raw texts (so across line breaks),
// the markers, single bytes, and random bytes.
std::vector<std::string> RandomTerms(const std::filesystem::path& dir, const Folder& folder, int count,
                                     std::mt19937& random) {
  std::vector<std::string> terms = {"$leer$", "*", "", "\r", "a\nb", "halleluja!!#"};
  while (static_cast<int>(terms.size()) < count) {
    switch (random() % 4) {
      case 0:
        terms.push_back(kWords[random() % kWords.size()]);
        break;
      case 1: {
        const std::filesystem::path file = dir / (folder.ids[random() % folder.ids.size()] + ".dat");
        const std::string raw = std::filesystem::is_regular_file(file) ? ReadFileBytes(file) : std::string();
        if (raw.empty()) break;
        const std::size_t from = random() % raw.size();
        terms.push_back(raw.substr(from, 1 + random() % 12));
        break;
      }
      case 2:
        terms.push_back(kWords[random() % kWords.size()] + kWords[random() % kWords.size()]);
        break;
      default: {
        std::string bytes(1 + random() % 3, '\0');
        for (char& c : bytes) c = static_cast<char>(0x20 + random() % 0xE0);
        terms.push_back(bytes);
      }
    }
  }
  return terms;
}

class SearchIndexTest : public ::testing::Test {
 protected:
  Ids Hits(SongTextCache& cache, std::string_view text) {
    Ids ids;
    for (const SearchHit& hit : SearchSongs(store_, cache, kText, text)) ids.push_back(hit.id);
    return ids;
  }
  std::filesystem::path IndexFile() const { return cacheDir_ / "liedtexte.idx"; }
  void SaveIndex(SongTextCache& cache) {
    Hits(cache, "x");
    ASSERT_EQ(cache.CurrentIndex()->Save(IndexFile(), IdentityOfFolder(dir_.path())), "");
  }

  TempDir dir_;
  TempDir cacheDir_;
  SongStore store_{DataFiles::For(dir_.path())};
};

// The indexed search against the plain scan on a few thousand terms: from texts read now, from the
// index file of an earlier run, and from that file after some texts changed outside the program.
TEST_F(SearchIndexTest, IndexedSearchFindsWhatThePlainScanFinds) {
  std::mt19937 random(20261207u);
  const Folder folder = MakeFolder(dir_.path(), 600, random);
  store_.LoadSongList();
  // Files at rest, so the loaded index is believed rather than every file read again.
  std::this_thread::sleep_for(std::chrono::milliseconds(3100));
  const std::vector<std::string> terms = RandomTerms(dir_.path(), folder, 2500, random);

  SongTextCache fresh;
  SaveIndex(fresh);
  SongTextCache loaded;
  ASSERT_TRUE(loaded.LoadIndex(IndexFile(), dir_.path()));
  const std::vector<std::string> plain = PlainTexts(dir_.path(), folder);
  for (std::size_t i = 0; i < terms.size(); ++i) {
    const Ids expected = PlainScan(plain, folder, terms[i]);
    ASSERT_EQ(Hits(fresh, terms[i]), expected) << "term " << i;
    ASSERT_EQ(Hits(loaded, terms[i]), expected) << "term " << i;
  }

  // Some texts change, vanish or appear after the index was written.
  WriteFileBytes(dir_ / "5.dat", "Ganz NEUE Gnade\r\nzweite Zeile");
  std::filesystem::remove(dir_ / "7.dat");
  WriteFileBytes(dir_ / "13.dat", "jetzt mit Text: Gnade");
  SongTextCache outdated;
  ASSERT_TRUE(outdated.LoadIndex(IndexFile(), dir_.path()));
  const std::vector<std::string> changed = PlainTexts(dir_.path(), folder);
  for (std::size_t i = 0; i < terms.size(); ++i) {
    ASSERT_EQ(Hits(outdated, terms[i]), PlainScan(changed, folder, terms[i])) << "term " << i;
  }
  for (const char* term : {"neue gnadezweite", "text: gnade", "gnade"}) {
    EXPECT_EQ(Hits(outdated, term), PlainScan(changed, folder, term)) << term;
  }
}

// An index written before a text was changed outside the program (another program, psalmora-tool, an
// editor): whether the change shows in the size or only in the time stamp, the old text is not searched.
TEST_F(SearchIndexTest, AnIndexFromBeforeAChangeOutsideTheProgramIsNotBelieved) {
  WriteFileBytes(dir_ / "lieder.dat", "2\ts\tZwei\t\r\n1\ts\tEins\t\r\n");
  store_.LoadSongList();
  WriteFileBytes(dir_ / "1.dat", "Alte Gnade\r\n");
  WriteFileBytes(dir_ / "2.dat", "Friede\r\n");
  // A file changed within the last seconds is read again at every search whatever its stamp says; the
  // index must be checked on files at rest.
  std::this_thread::sleep_for(std::chrono::milliseconds(3100));
  SongTextCache before;
  SaveIndex(before);
  struct Case {
    const char* change;
    const char* file;
    const char* text;
    bool keepTime;
    Ids gnade;
  };
  const Case cases[] = {
      {"longer", "2.dat", "Friede und Gnade\r\n", false, {"2", "1"}},
      {"same size, new time", "1.dat", "Alte Gnadx\r\n", false, {"2"}},
      {"same size, old time", "1.dat", "Neue Gnade\r\n", true, {"2", "1"}},
  };
  for (const Case& c : cases) {
    const std::filesystem::path file = dir_ / c.file;
    struct stat old {};
    ASSERT_EQ(::stat(file.c_str(), &old), 0);
    WriteFileBytes(file, c.text);
    if (c.keepTime) {
      const timespec times[2] = {old.st_atim, old.st_mtim};
      ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }
    SongTextCache cache;
    ASSERT_TRUE(cache.LoadIndex(IndexFile(), dir_.path())) << c.change;
    EXPECT_EQ(Hits(cache, "gnade"), c.gnade) << c.change;
  }
}

// A damaged, foreign or missing index file is not used; the search answers from the texts, and the
// index written afterwards is used again.
TEST_F(SearchIndexTest, ADamagedOrMissingIndexIsIgnoredAndBuiltAgain) {
  WriteFileBytes(dir_ / "lieder.dat", "1\ts\tEins\t\r\n2\ts\tZwei\t\r\n");
  store_.LoadSongList();
  WriteFileBytes(dir_ / "1.dat", "Gnade\r\nund Friede");
  WriteFileBytes(dir_ / "2.dat", "Friede\r\n");
  SongTextCache first;
  SaveIndex(first);
  const std::string good = ReadFileBytes(IndexFile());
  ASSERT_GT(good.size(), 80u);
  const auto flipped = [&](std::size_t at) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);
    return bytes;
  };
  struct Case {
    const char* damage;
    std::function<void()> apply;
  };
  const Case cases[] = {
      {"missing", [&] { std::filesystem::remove(IndexFile()); }},
      {"empty", [&] { WriteFileBytes(IndexFile(), ""); }},
      {"truncated", [&] { WriteFileBytes(IndexFile(), good.substr(0, good.size() - 3)); }},
      {"cut after the header", [&] { WriteFileBytes(IndexFile(), good.substr(0, 64)); }},
      {"a byte of a text changed", [&] { WriteFileBytes(IndexFile(), flipped(good.size() - 4)); }},
      {"a byte of the table changed", [&] { WriteFileBytes(IndexFile(), flipped(80)); }},
      {"another magic", [&] { WriteFileBytes(IndexFile(), flipped(0)); }},
      {"another format version", [&] { WriteFileBytes(IndexFile(), flipped(8)); }},
      {"grown", [&] { WriteFileBytes(IndexFile(), good + "x"); }},
      {"a folder",
       [&] {
         std::filesystem::remove(IndexFile());
         std::filesystem::create_directories(IndexFile());
       }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(IndexFile());
    WriteFileBytes(IndexFile(), good);
    c.apply();
    SongTextCache cache;
    EXPECT_FALSE(cache.LoadIndex(IndexFile(), dir_.path())) << c.damage;
    EXPECT_EQ(Hits(cache, "gnadeund"), (Ids{"1"})) << c.damage;
    EXPECT_EQ(Hits(cache, "friede"), (Ids{"1", "2"})) << c.damage;
    std::filesystem::remove_all(IndexFile());
    ASSERT_EQ(cache.CurrentIndex()->Save(IndexFile(), IdentityOfFolder(dir_.path())), "") << c.damage;
    SongTextCache again;
    EXPECT_TRUE(again.LoadIndex(IndexFile(), dir_.path())) << c.damage;
    EXPECT_EQ(Hits(again, "gnadeund"), (Ids{"1"})) << c.damage;
  }
}

// The program's start: the index of the last run is brought up to date off the interface thread while
// the folder's change reports are listened to; a change after that check, or a search in between,
// is still seen.
TEST_F(SearchIndexTest, AnIndexCheckedInTheBackgroundMissesNoLaterChange) {
  WriteFileBytes(dir_ / "lieder.dat", "1\ts\tEins\t\r\n2\ts\tZwei\t\r\n");
  store_.LoadSongList();
  WriteFileBytes(dir_ / "1.dat", "Gnade");
  WriteFileBytes(dir_ / "2.dat", "Friede");
  SongTextCache earlier;
  SaveIndex(earlier);
  WriteFileBytes(dir_ / "2.dat", "Friede und Gnade");  // while the program was not running
  for (const bool searchInBetween : {false, true}) {
    SongTextCache cache;
    const std::uint64_t epoch = cache.WatchEpoch(dir_.path());
    const std::optional<SearchIndex> previous = SearchIndex::Load(IndexFile(), IdentityOfFolder(dir_.path()));
    ASSERT_TRUE(previous.has_value());
    SearchIndex checked = SongTextCache::BuildIndex(dir_.path(), SongTextCache::IndexedSongs(store_), &*previous);
    EXPECT_EQ(checked.Text(1), "friede und gnade");
    WriteFileBytes(dir_ / "1.dat", "Nichts mehr");  // after the check
    if (searchInBetween) {
      EXPECT_EQ(Hits(cache, "nichts"), (Ids{"1"}));
    }
    cache.AdoptCheckedIndex(std::move(checked), epoch);
    EXPECT_EQ(Hits(cache, "gnade"), (Ids{"2"})) << searchInBetween;
    WriteFileBytes(dir_ / "1.dat", "Gnade");
  }
}

// The index of one data folder is not taken for another, even under the same cache file name.
TEST_F(SearchIndexTest, AnIndexOfAnotherFolderIsNotUsed) {
  WriteFileBytes(dir_ / "lieder.dat", "1\ts\tEins\t\r\n");
  store_.LoadSongList();
  WriteFileBytes(dir_ / "1.dat", "Gnade");
  SongTextCache cache;
  SaveIndex(cache);
  TempDir other;
  EXPECT_FALSE(SongTextCache().LoadIndex(IndexFile(), other.path()));
  EXPECT_TRUE(SongTextCache().LoadIndex(IndexFile(), dir_.path()));
}

TEST(SearchIndexPath, OneFilePerDataFolderInTheUsersCacheFolder) {
  TempDir home;
  ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
  const std::filesystem::path a = SearchIndexPath(home / "a");
  EXPECT_EQ(a.parent_path(), home / "cache" / "psalmora");
  EXPECT_NE(a, SearchIndexPath(home / "b"));
  EXPECT_EQ(a, SearchIndexPath(home / "x" / ".." / "a"));
  ::unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace psalmora
