#include "transfer/ccli_import.h"

#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

constexpr long long kNow = 1520258820;

TEST(CcliImportTest, ChosenFilesBecomeSongsInOrderAndUnreadableOnesAreReported) {
  TempDir dir;
  std::filesystem::create_directories(dir / "daten");
  SongStore store(DataFiles::For(dir / "daten"));
  store.LoadSongList();
  WriteFileBytes(dir / "pick-4.dat", "2\tLob\r\n");
  WriteFileBytes(dir / "a.usr",
                 "[S A11]\r\nTitle=Eins\r\nThemes=Lob\r\nAuthor=Au\r\nCopyright=C\r\nKeys=D\r\nWords=x/ny/t\r\n");
  WriteFileBytes(dir / "b.usr", "[File]\r\nTitle=Keins\r\n");
  WriteFileBytes(dir / "c.txt", "Drei\r\n\r\nVerse 1\r\nz\r\n\r\nCCLI Song # 33\r\n");
  const CcliImport result = ImportCcliFiles(store, {dir / "a.usr", dir / "missing.usr", dir / "b.usr", dir / "c.txt"},
                                            dir / "pick-4.dat", kNow);
  ASSERT_TRUE(result.stored.saved);
  ASSERT_EQ(result.files.size(), 4u);
  EXPECT_EQ(result.files[0].id, "1");
  EXPECT_EQ(result.files[1].problem, CcliProblem::kCannotRead);
  EXPECT_EQ(result.files[2].problem, CcliProblem::kNoSong);
  EXPECT_EQ(result.files[2].id, "");
  EXPECT_EQ(result.files[3].id, "2");
  ASSERT_EQ(store.SongList().size(), 2u);
  EXPECT_EQ(store.SongList()[1], "1\t" + FormatTimestamp(kNow) + "\tEins\tD\t2\t\tAu\tC\t\t\t11\t1520258820");
  EXPECT_EQ(RecordField(store.SongList()[0], 3), "Drei");
  EXPECT_EQ(RecordField(store.SongList()[0], 5), "0");
  EXPECT_EQ(ReadFileBytes(dir / "daten" / "1.dat"), "x\ry\r\n");
}

}  // namespace
}  // namespace psalmora
