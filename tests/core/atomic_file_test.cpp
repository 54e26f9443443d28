#include "core/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

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

TEST(AtomicFile, AReplacedFileKeepsItsModeANewOneIsAnOrdinaryFile) {
  TempDir dir;
  const auto mode = [](const std::filesystem::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
  };
  WriteFileBytes(dir / "einstellungen.ini", "passwort=geheim\r\n");
  ::chmod((dir / "einstellungen.ini").c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically(dir / "einstellungen.ini", "passwort=anders\r\n"));
  EXPECT_EQ(mode(dir / "einstellungen.ini"), 0600u);
  ASSERT_TRUE(WriteFileAtomically(dir / "neu.dat", "x"));
  EXPECT_EQ(mode(dir / "neu.dat"), 0644u);
}

TEST(AtomicFile, ALinkedFileIsWrittenThroughToItsTarget) {
  TempDir dir;
  std::filesystem::create_directories(dir / "daten");
  std::filesystem::create_directories(dir / "sync");
  WriteFileBytes(dir / "sync" / "lieder.dat", "alt\r\n");
  struct Link {
    const char* name;
    std::filesystem::path target;  // as the link names it
    std::filesystem::path file;    // the file it leads to
  };
  const Link links[] = {
      {"lieder.dat", dir / "sync" / "lieder.dat", dir / "sync" / "lieder.dat"},
      {"auswahl.dat", "../sync/auswahl.dat", dir / "sync" / "auswahl.dat"},  // relative, and not there yet
      {"kette.dat", "lieder.dat", dir / "sync" / "lieder.dat"},              // a link to a link
  };
  for (const Link& link : links) {
    std::filesystem::create_symlink(link.target, dir / "daten" / link.name);
    ASSERT_TRUE(WriteFileAtomically(dir / "daten" / link.name, std::string("neu ") + link.name)) << link.name;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "daten" / link.name)) << link.name;
    EXPECT_EQ(ReadFileBytes(link.file), std::string("neu ") + link.name) << link.name;
  }
  // No temporary file was left in either folder.
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir / "daten", std::chrono::seconds(0)), 0);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir / "sync", std::chrono::seconds(0)), 0);
  std::filesystem::create_symlink("schleife.dat", dir / "daten" / "schleife.dat");
  EXPECT_FALSE(WriteFileAtomically(dir / "daten" / "schleife.dat", "x"));
}

void WaitForever(int) {
  for (;;) ::pause();
}

// A writer killed in the middle of a write leaves its temporary file; the next start removes it, but
// never the file of a write that is still going on.
TEST(AtomicFile, TemporaryFilesOfInterruptedWritesAreRemovedOthersKept) {
  TempDir dir;
  const auto temporaries = [&dir] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      if (entry.path().filename().string().rfind(".lieder.dat.tmp-", 0) == 0) names.push_back(entry.path().filename());
    }
    return names;
  };
  // The writer stops for good in the middle of its write: it hits the file size limit, and the signal
  // that brings either ends it (kill -9) or keeps it waiting there (a write in progress).
  const auto startWriter = [&dir](bool dies) {
    const pid_t child = ::fork();
    if (child == 0) {
      std::signal(SIGXFSZ, dies ? SIG_DFL : WaitForever);
      rlimit limited{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &limited);
      WriteFileAtomically(dir / "lieder.dat", std::string(100000, 'x'));
      ::_exit(0);
    }
    return child;
  };
  const auto waitForTemporary = [&] {
    for (int i = 0; i < 500 && temporaries().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return temporaries();
  };

  const pid_t dead = startWriter(true);
  ::waitpid(dead, nullptr, 0);
  ASSERT_EQ(temporaries().size(), 1u);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 1);
  EXPECT_TRUE(temporaries().empty());

  const pid_t busy = startWriter(false);
  const std::vector<std::string> inProgress = waitForTemporary();
  ASSERT_EQ(inProgress.size(), 1u);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 0);
  // Another computer's temporary file cannot be judged by a process id: only its age counts.
  std::string foreign = inProgress[0];
  const std::size_t tag = std::string(".lieder.dat.tmp-").size();
  foreign[tag] = foreign[tag] == '0' ? '1' : '0';
  WriteFileBytes(dir / ("x" + foreign.substr(1)), "kein Temporaerfile");  // not hidden: not ours
  WriteFileBytes(dir / foreign, "anderer Computer");
  WriteFileBytes(dir / ".lieder.dat.tmp-Ab12cD", "aeltere Version");
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 0);
  ::kill(busy, SIGKILL);
  ::waitpid(busy, nullptr, 0);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 1);  // the writer is gone now
  // After a few minutes every temporary file of ours counts as left over.
  const timeval past[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) ::utimes(entry.path().c_str(), past);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path()), 2);
  EXPECT_TRUE(std::filesystem::exists(dir / ("x" + foreign.substr(1))));
}

TEST(AtomicFile, ReplacingAFolderFailsAndKeepsIt) {
  TempDir dir;
  std::filesystem::create_directories(dir / "lieder.dat" / "inside");
  EXPECT_FALSE(WriteFileAtomically(dir / "lieder.dat", "x"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "lieder.dat" / "inside"));
}

}  // namespace
}  // namespace psalmora
