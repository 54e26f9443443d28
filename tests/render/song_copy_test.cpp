#include "render/song_copy.h"

#include <gtest/gtest.h>

#include "core/data_folder.h"
#include "core/record_fields.h"
#include "render/slides.h"
#include "render/song_lines.h"
#include "songdb/song_store.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WithFileSizeLimit;
using testing::WriteFileBytes;

std::string FullRecord() {
  std::string record;
  for (int field = 1; field <= 21; ++field) record += "f" + std::to_string(field) + "\t";
  return record;
}

TEST(CopyRecordTest, FirstSongKeepsItsLastFieldWithoutTrailingTab) {
  const std::string copy =
      CopyRecord("1\t07.12.2026-10:00\tDas erste Lied\tD A G A D (2x)", "2", "08.12.2026-09:00", 99);
  EXPECT_EQ(copy, "2\t08.12.2026-09:00\tDas erste Lied kopie\tD A G A D (2x)\t");
}

TEST(CopyRecordTest, FullRecordGetsNewTimeAndNoGlobalId) {
  const std::string copy = CopyRecord(FullRecord(), "50", "stamp", 1700000000);
  EXPECT_EQ(CountOf(copy, '\t'), 21);
  EXPECT_EQ(RecordField(copy, 1), "50");
  EXPECT_EQ(RecordField(copy, 2), "stamp");
  EXPECT_EQ(RecordField(copy, 3), "f3 kopie");
  EXPECT_EQ(RecordField(copy, 4), "f4");
  EXPECT_EQ(RecordField(copy, 12), "1700000000");
  EXPECT_EQ(RecordField(copy, 18), "f18");
  EXPECT_EQ(RecordField(copy, 19), "");
  EXPECT_EQ(RecordField(copy, 21), "f21");
}

TEST(CopyRecordTest, TheKeyIsTransposedLikeTheChords) {
  EXPECT_EQ(RecordField(CopyRecord("1\t\tT\tEs", "2", "s", 5, 2), 4), "F");
  EXPECT_EQ(RecordField(CopyRecord("1\t\tT\te-moll\tX", "2", "s", 5, -1), 4), "d#-moll");
  EXPECT_EQ(RecordField(CopyRecord("1\t\tT\tEs\t", "2", "s", 5, 0), 4), "Es");
}

TEST(CopyRecordTest, EmptyFieldsInsideTheRecordAreKept) {
  EXPECT_EQ(CopyRecord("1\t\tT\t\t\tX", "2", "s", 5), "2\ts\tT kopie\t\t\tX\t");
  EXPECT_EQ(CopyRecord("1\t\tT\t\t", "2", "s", 5), "2\ts\tT kopie\t\t");
}

TEST(CopyTextTest, ChordLinesAreTransposedAndLinesJoinedWithLf) {
  EXPECT_EQ(CopyText({">  D   A", "Ja, so", "#x", ""}, 2), ">  E   H\nJa, so\n#x\n");
  EXPECT_EQ(CopyText({">  D   x"}, 2), ">  E   x");
  EXPECT_EQ(CopyText({}, 2), "");
}

TEST(CopySongTest, StoresTheCopyAtTheTopWithTransposedText) {
  TempDir dir;
  SongStore store(DataFiles::For(dir.path()));
  const std::string first = "1\t07.12.2026-10:00\tDas erste Lied\tD A G A D (2x)";
  WriteFileBytes(dir / "lieder.dat", first + "\r\n");
  WriteFileBytes(dir / "id.dat", "1\r\n");
  WriteFileBytes(dir / "1.dat", ">  D   A\rJa, so ist es\r\n");
  store.LoadSongList();

  const std::optional<SongCopy> copy = CopySong(store, first, "2");
  ASSERT_TRUE(copy.has_value());
  EXPECT_TRUE(copy->saved);
  EXPECT_EQ(copy->id, "2");
  ASSERT_EQ(store.SongList().size(), 2u);
  EXPECT_EQ(store.SongList().front(), copy->record);
  EXPECT_EQ(RecordField(copy->record, 3), "Das erste Lied kopie");
  EXPECT_EQ(RecordField(copy->record, 4), "E H A H E (2x)");  // the key moves with the chords
  EXPECT_EQ(ReadFileBytes(dir / "lieder.dat"), copy->record + "\r\n" + first + "\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "2.dat"), ">  E   H\nJa, so ist es\r\n");
  EXPECT_EQ(ReadFileBytes(dir / "1.dat"), ">  D   A\rJa, so ist es\r\n");  // the original is untouched
}

TEST(CopySongTest, TheCopyHasTheSameLinesAndSlidesAsTheOriginal) {
  TempDir dir;
  SongStore store(DataFiles::For(dir.path()));
  const std::string first = "1\t07.12.2026-10:00\tDas erste Lied\t";
  WriteFileBytes(dir / "lieder.dat", first + "\r\n");
  WriteFileBytes(dir / "id.dat", "1\r\n");
  WriteFileBytes(dir / "1.dat", "Vers\r\n-\r\n>  D\r\nRefrain\r\n");
  store.LoadSongList();

  const std::optional<SongCopy> copy = CopySong(store, first, "0");
  ASSERT_TRUE(copy.has_value());
  const SongLines original = LoadSongLines(dir.path(), "1", false);
  const SongLines copied = LoadSongLines(dir.path(), copy->id, false);
  EXPECT_EQ(copied.all, original.all);
  EXPECT_EQ(ChooseSlide(copied.all, 1).blockCount, ChooseSlide(original.all, 1).blockCount);
  // A copy of the copy does not grow either.
  const std::optional<SongCopy> again = CopySong(store, copy->record, "0");
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(LoadSongLines(dir.path(), again->id, false).all, original.all);
}

TEST(CopySongTest, ACopyWhoseListCannotBeSavedLeavesNoTextBehind) {
  TempDir dir;
  SongStore store(DataFiles::For(dir.path()));
  const std::string first = "1\t07.12.2026-10:00\tDas erste Lied\tD A G A D (2x)";
  WriteFileBytes(dir / "lieder.dat", first + "\r\n");
  WriteFileBytes(dir / "1.dat", "Ja\r\n");
  store.LoadSongList();
  // The list with the copy is longer than the limit; its text and the counter are not.
  const std::optional<SongCopy> copy = WithFileSizeLimit(60, [&] { return CopySong(store, first, "0"); });
  ASSERT_TRUE(copy.has_value());
  EXPECT_FALSE(copy->saved);
  EXPECT_FALSE(std::filesystem::exists(dir / (copy->id + ".dat")));
  EXPECT_EQ(ReadFileBytes(dir / "lieder.dat"), first + "\r\n");
  EXPECT_EQ(store.SongList(), std::vector<std::string>{first});
}

TEST(CopySongTest, NothingShownNothingCopied) {
  TempDir dir;
  SongStore store(DataFiles::For(dir.path()));
  EXPECT_FALSE(CopySong(store, "", "0").has_value());
  EXPECT_FALSE(std::filesystem::exists(dir / "id.dat"));
}

}  // namespace
}  // namespace psalmora
