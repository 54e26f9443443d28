#include "transfer/song_import.h"

#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "media/video_list.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "support/temp_dir.h"
#include "transfer/export_file.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr long long kNow = 1520258820;  // 05.03.2018-14:07

class SongImportTest : public ::testing::Test {
 protected:
  SongImportTest() {
    std::filesystem::create_directories(dir_ / "youtube");
    store_ = SongStore(DataFiles::For(dir_.path()));
    store_.LoadSongList();
  }
  ImportContext Context() { return {store_, videos_, kNow}; }
  static std::string Line(std::string_view title, std::string_view video = "", std::string_view text = "") {
    std::string record = std::string("99\t01.01.2000-10:00\t") + std::string(title) + "\t\t\t\t\t\t\t\t\t\t";
    record += std::string(video) + "\t\t\t\t";
    return BuildExportLine(record, text, video);
  }
  TempDir dir_;
  SongStore store_;
  std::vector<std::string> videos_;
};

TEST_F(SongImportTest, ImportingTwiceGivesTwoCopiesInListOrder) {
  ImportContext context = Context();
  const std::vector<std::string> lines{Line("Eins", "", "a\r\nb\r\n"), Line("Zwei")};
  ASSERT_TRUE(ImportSongLines(context, lines).saved);
  const ImportResult second = ImportSongLines(context, lines);
  ASSERT_TRUE(second.saved);
  ASSERT_EQ(second.songs.size(), 2u);
  EXPECT_EQ(second.songs[0].id, "3");
  EXPECT_EQ(second.songs[1].id, "4");
  SongStore reread(DataFiles::For(dir_.path()));
  reread.LoadSongList();
  std::vector<std::string> titles;
  for (const std::string& record : reread.SongList()) titles.emplace_back(RecordField(record, 3));
  EXPECT_EQ(titles, (std::vector<std::string>{"Zwei", "Eins", "Zwei", "Eins"}));
  EXPECT_EQ(RecordField(reread.SongList()[1], 1), "3");
  EXPECT_EQ(RecordField(reread.SongList()[1], 2), "01.01.2000-10:00");
  EXPECT_EQ(ReadFileBytes(dir_ / "3.dat"), "a\r\nb\r\n");
  EXPECT_EQ(ReadFileBytes(dir_ / "id.dat"), "4\r\n");
}

TEST_F(SongImportTest, VideoLinksAreFoundByAddressOrAdded) {
  videos_.push_back(VideoEntryLine("4", "x", {"http://v/known", "K", "A", ""}));
  ImportContext context = Context();
  const ImportResult result =
      ImportSongLines(context, {Line("Bekannt", "http://v/known|K|A|"), Line("Neu", "http://v/new|Titel|Interpret|z"),
                                Line("Fremde Nummer", ""), "1\t\tAlt\t\t\t\t\t\t\t\t\t\t12\t\t\t\t\x9D"});
  ASSERT_TRUE(result.saved);
  EXPECT_EQ(RecordField(result.songs[0].record, 13), "4");
  EXPECT_EQ(RecordField(result.songs[1].record, 13), "5");
  EXPECT_EQ(RecordField(result.songs[3].record, 13), "");  // a bare id of another database
  ASSERT_EQ(result.newVideos.size(), 1u);
  EXPECT_EQ(ReadVideoList(DataFiles::For(dir_.path())).back(),
            "5\t" + FormatTimestamp(kNow) + "\thttp://v/new\tInterpret\tTitel\tz\t");
}

TEST_F(SongImportTest, GivenIdReplacesInPlaceAndZeroStampsNow) {
  store_.InsertSongAtTop("7\told\tAlt\t");
  store_.InsertSongAtTop("8\told\tOben\t");
  ASSERT_TRUE(store_.SaveSongList());
  ImportContext context = Context();
  ASSERT_TRUE(ImportSongRecord(context, Line("Ersetzt"), "7").saved);
  EXPECT_EQ(RecordField(store_.SongList()[1], 3), "Ersetzt");
  EXPECT_EQ(RecordField(store_.SongList()[1], 2), "01.01.2000-10:00");
  const ImportResult zero = ImportSongRecord(context, Line("Null"), "0");
  ASSERT_TRUE(zero.saved);
  EXPECT_EQ(RecordField(store_.SongList()[0], 2), FormatTimestamp(kNow));
  ASSERT_TRUE(ImportSongRecord(context, Line("Neu"), "").saved);
  EXPECT_EQ(RecordField(store_.SongList()[0], 1), "9");
}

TEST_F(SongImportTest, NothingIsKeptWhenTheListCannotBeSaved) {
  ImportContext context = Context();
  std::filesystem::create_directory(dir_ / "lieder.dat");  // a folder where the list should be
  store_.LoadSongList();
  const ImportResult result = ImportSongLines(context, {Line("A"), Line("B")});
  EXPECT_FALSE(result.saved);
  EXPECT_TRUE(result.songs.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "1.dat"));
}

}  // namespace
}  // namespace psalmora
