#include "core/file_stamp.h"

#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(FileStamp, ChangesWithEveryRewriteAndOnlyThen) {
  TempDir dir;
  const auto file = dir / "lieder.dat";
  EXPECT_FALSE(FileStamp::Of(file).exists);
  WriteFileBytes(file, "1\tEins\t\r\n");
  const FileStamp first = FileStamp::Of(file);
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(FileStamp::Of(file), first);
  // Same size, written at once: the replace still shows.
  ASSERT_TRUE(WriteFileAtomically(file, "2\tZwei\t\r\n"));
  const FileStamp replaced = FileStamp::Of(file);
  EXPECT_NE(replaced, first);
  WriteFileBytes(file, "2\tZwei\t\r\nmehr\r\n");
  EXPECT_NE(FileStamp::Of(file), replaced);
  std::filesystem::remove(file);
  EXPECT_EQ(FileStamp::Of(file), FileStamp{});
}

}  // namespace
}  // namespace psalmora
