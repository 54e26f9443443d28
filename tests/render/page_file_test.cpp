#include "render/page_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(PageFileTest, ReplacesTheOldPageAndLeavesNoTemporaryFile) {
  TempDir dir;
  WriteFileBytes(dir / "vorschau.htm", "old page");
  ASSERT_TRUE(WritePageFile(dir / "vorschau.htm", "new"));
  EXPECT_EQ(ReadFileBytes(dir / "vorschau.htm"), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(PageFileTest, MissingFolderAndFolderInThePlaceFail) {
  TempDir dir;
  const WriteResult missing = WritePageFile(dir / "gone" / "vorschau.htm", "x");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.error.find("vorschau.htm"), std::string::npos);
  std::filesystem::create_directory(dir / "beamer.htm");
  EXPECT_FALSE(WritePageFile(dir / "beamer.htm", "x"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(PageFileTest, FullDiskKeepsTheOldPage) {
  TempDir dir;
  WriteFileBytes(dir / "fuss.htm", "old page");
  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const WriteResult result = WritePageFile(dir / "fuss.htm", "a page longer than four bytes");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(ReadFileBytes(dir / "fuss.htm"), "old page");
}

}  // namespace
}  // namespace psalmora
