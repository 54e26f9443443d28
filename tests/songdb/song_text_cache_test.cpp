#include "songdb/song_text_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "core/data_folder.h"
#include "songdb/song_search.h"
#include "songdb/song_store.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

constexpr int kText = 21;

class SongTextCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir_ / "lieder.dat", "1\ts\tEins\t\r\n2\ts\tZwei\t\r\n");
    store_.LoadSongList();
    WriteFileBytes(dir_ / "1.dat", "Gnade\r\n");
    WriteFileBytes(dir_ / "2.dat", "Friede\r\n");
  }
  std::vector<std::string> Hits(std::string_view text) {
    std::vector<std::string> ids;
    for (const SearchHit& hit : SearchSongs(store_, cache_, kText, text)) ids.push_back(hit.id);
    return ids;
  }
  using Ids = std::vector<std::string>;

  TempDir dir_;
  SongStore store_{DataFiles::For(dir_.path())};
  SongTextCache cache_;
};

TEST(SearchableSongText, DropsLineEndsAndLowerCases) {
  EXPECT_EQ(SearchableSongText(">A D\rHALLELUJA\r\n#\xDC"
                               "bersetzung\n\r\n"),
            ">a dhalleluja#\xFC"
            "bersetzung");
  EXPECT_EQ(SearchableSongText(""), "");
}

class SongTextCacheChangeTest : public SongTextCacheTest,
                                public ::testing::WithParamInterface<SongTextCache::ChangeCheck> {};

// Another program, or another computer sharing the data folder, changes a text between two searches:
// the second search sees it, however the file was changed, whether the system reports the change or
// the files' stamps show it.
TEST_P(SongTextCacheChangeTest, ARepeatedSearchSeesFilesChangedOutsideTheProgram) {
  SongTextCache cache(GetParam());
  const auto hits = [&](std::string_view text) {
    Ids ids;
    for (const SearchHit& hit : SearchSongs(store_, cache, kText, text)) ids.push_back(hit.id);
    return ids;
  };
  const std::filesystem::path one = dir_ / "1.dat";
  const std::filesystem::path two = dir_ / "2.dat";
  struct Case {
    const char* change;
    std::function<void()> apply;
    Ids gnade;
  };
  const Case cases[] = {
      {"rewritten in place, same size", [&] { WriteFileBytes(two, "Gnaden\r\n"); }, {"1", "2"}},
      {"removed", [&] { std::filesystem::remove(one); }, {"2"}},
      {"created again", [&] { WriteFileBytes(one, "Gnade und\r\n"); }, {"1", "2"}},
      {"grown", [&] { WriteFileBytes(two, "Friede und Freude\r\n"); }, {"1"}},
      {"replaced by a renamed file",
       [&] {
         WriteFileBytes(dir_ / "neu.tmp", "Mehr Gnade\r\n");
         std::filesystem::rename(dir_ / "neu.tmp", two);
       },
       {"1", "2"}},
      {"rewritten with its old modification time",
       [&] {
         struct stat before {};
         ASSERT_EQ(::stat(one.c_str(), &before), 0);
         WriteFileBytes(one, "Ohne Gnad\r\n");  // the same size
         const timespec times[2] = {before.st_atim, before.st_mtim};
         ASSERT_EQ(::utimensat(AT_FDCWD, one.c_str(), times, 0), 0);
       },
       {"2"}},
      {"a folder in its place",
       [&] {
         std::filesystem::remove(two);
         std::filesystem::create_directories(two);
       },
       {}},
  };
  EXPECT_EQ(hits("gnade"), (Ids{"1"}));
  for (const Case& c : cases) {
    c.apply();
    EXPECT_EQ(hits("gnade"), c.gnade) << c.change;
  }
}

// A song left out of one search (in the trash) whose file changes meanwhile is read again when it is
// searched once more.
TEST_P(SongTextCacheChangeTest, AChangeToASongNotSearchedIsSeenLater) {
  SongTextCache cache(GetParam());
  cache.Preload(store_, {"1", "2"});
  WriteFileBytes(dir_ / "2.dat", "Neue Gnade\r\n");
  cache.Preload(store_, {"1"});
  cache.Preload(store_, {"1", "2"});
  EXPECT_EQ(cache.SearchText(store_, "2"), "neue gnade");
}

INSTANTIATE_TEST_SUITE_P(BothChecks, SongTextCacheChangeTest,
                         ::testing::Values(SongTextCache::ChangeCheck::kFolderWatch,
                                           SongTextCache::ChangeCheck::kStamps));

TEST_F(SongTextCacheTest, TextsWrittenThroughTheStoreAreSearchedAtOnce) {
  cache_.Attach(store_);
  EXPECT_EQ(Hits("gnade"), (Ids{"1"}));
  ASSERT_TRUE(store_.WriteSongText("2", "Neue GNADE"));
  EXPECT_EQ(Hits("gnade"), (Ids{"1", "2"}));
  ASSERT_TRUE(store_.WriteSongText("1", "Anders"));
  EXPECT_EQ(Hits("gnade"), (Ids{"2"}));
  EXPECT_EQ(Hits("andersneue"), Ids{});  // texts of different songs are never joined
}

TEST_F(SongTextCacheTest, RemovedOrUnwrittenTextsAreReadAgain) {
  cache_.Attach(store_);
  EXPECT_EQ(Hits("e"), (Ids{"1", "2"}));
  ASSERT_TRUE(store_.RemoveSongText("1"));
  EXPECT_FALSE(cache_.Contains("1"));
  EXPECT_EQ(Hits("e"), (Ids{"2"}));
  // A failed write leaves the old file; the cache must not claim the new text.
  std::filesystem::remove(dir_ / "2.dat");
  std::filesystem::create_directories(dir_ / "2.dat" / "voll");
  EXPECT_FALSE(store_.WriteSongText("2", "Nie geschrieben"));
  EXPECT_EQ(Hits("geschrieben"), Ids{});
}

TEST_F(SongTextCacheTest, DetachedOrDestroyedCachesHearNothingMore) {
  {
    SongTextCache shortLived;
    shortLived.Attach(store_);
  }
  EXPECT_TRUE(store_.WriteSongText("1", "nach dem Ende"));  // must not reach the destroyed cache
  cache_.Attach(store_);
  cache_.Detach();
  EXPECT_TRUE(store_.WriteSongText("2", "ungehört"));
  EXPECT_EQ(cache_.size(), 0u);
}

TEST_F(SongTextCacheTest, PreloadReadsManySongsOnceEach) {
  std::string index;
  std::vector<std::string> ids;
  for (int i = 1; i <= 300; ++i) {
    const std::string id = std::to_string(i);
    index += id + "\ts\tLied " + id + "\t\r\n";
    if (i % 3 != 0) WriteFileBytes(dir_ / (id + ".dat"), "Strophe " + id + " ENDE\r\n");
    ids.push_back(id);
  }
  WriteFileBytes(dir_ / "lieder.dat", index);
  store_.LoadSongList();
  std::vector<std::string_view> views(ids.begin(), ids.end());
  views.push_back("5");  // asked twice
  cache_.Preload(store_, views);
  EXPECT_EQ(cache_.size(), 300u);
  EXPECT_EQ(cache_.SearchText(store_, "299"), "strophe 299 ende");
  EXPECT_EQ(cache_.SearchText(store_, "300"), "");
  EXPECT_EQ(Hits("strophe 12 ende").size(), 0u);  // 12 has no file
  EXPECT_EQ(Hits("strophe 13 ende"), (Ids{"13"}));
}

}  // namespace
}  // namespace psalmora
