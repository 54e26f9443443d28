#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(AtomicFile, WritesAndReplacesWholeFiles) {
  TempDir dir;
  const auto path = dir / "lieder.dat";
  ASSERT_TRUE(WriteFileAtomically(path, "first\r\n"));
  ASSERT_TRUE(WriteFileAtomically(path, "second\r\n"));
  EXPECT_EQ(ReadWholeFile(path), "second\r\n");
  ASSERT_TRUE(AppendFileAtomically(path, "third\r\n"));
  EXPECT_EQ(ReadFileBytes(path), "second\r\nthird\r\n");
  // No temporary file is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(AtomicFile, AppendingToAFileThatCannotBeReadFails) {
  TempDir dir;
  std::filesystem::create_symlink("statistik.dat", dir / "statistik.dat");  // a loop: there, but unreadable
  EXPECT_FALSE(AppendFileAtomically(dir / "statistik.dat", "1\t2\r\n"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "statistik.dat"));
}

TEST(AtomicFile, MissingFileReadsAsNothing) {
  TempDir dir;
  EXPECT_FALSE(ReadWholeFile(dir / "missing.dat").has_value());
  EXPECT_FALSE(ReadWholeFile(dir.path()).has_value());
}

TEST(AtomicFile, FailureIntoAMissingFolderIsReported) {
  TempDir dir;
  const WriteResult result = WriteFileAtomically(dir / "no-such-folder" / "id.dat", "1\r\n");
  EXPECT_FALSE(result);
  EXPECT_NE(result.error.find("id.dat"), std::string::npos);
}

// A disk that fills up in the middle of a write: the file-size limit makes write() fail part-way.
TEST(AtomicFile, FullDiskMidWriteLeavesThePreviousFileIntact) {
  TempDir dir;
  const auto path = dir / "lieder.dat";
  const std::string previous = "1\t01.01.2020-10:00\tDas erste Lied\t\r\n";
  WriteFileBytes(path, previous);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const WriteResult result = WriteFileAtomically(path, std::string(100000, 'x'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedSignal);

  EXPECT_FALSE(result);
  EXPECT_EQ(ReadFileBytes(path), previous);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(AtomicFile, ReplacingAFolderFailsAndKeepsIt) {
  TempDir dir;
  std::filesystem::create_directories(dir / "lieder.dat" / "inside");
  EXPECT_FALSE(WriteFileAtomically(dir / "lieder.dat", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "lieder.dat" / "inside"));
}

}  // namespace
}  // namespace psalmora
