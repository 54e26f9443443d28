#include "core/data_folder_lock.h"

#include <gtest/gtest.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "core/atomic_file.h"
#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// A process id that ran and is gone.
long long DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

std::string BootId() {
  std::string id = ReadWholeFile("/proc/sys/kernel/random/boot_id").value_or("");
  while (!id.empty() && id.back() == '\n') id.pop_back();
  return id;
}

std::string LockText(const std::string& computer, long long pid, const std::string& kind, const std::string& boot) {
  return "computer=" + computer + "\r\npid=" + std::to_string(pid) + "\r\nkind=" + kind + "\r\nboot=" + boot + "\r\n";
}

bool Acquired(const std::variant<DataFolderLock, LockRefusal>& result) {
  return std::holds_alternative<DataFolderLock>(result);
}

TEST(DataFolderLock, HoldsTheFolderWithItsHolderAndLetsGoOnRelease) {
  TempDir dir;
  const auto file = dir / "psalmora.lock";
  {
    auto result = DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool);
    ASSERT_TRUE(Acquired(result));
    const std::optional<LockHolder> holder = ReadLockHolder(dir.path());
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->computer, ThisComputerName());
    EXPECT_EQ(holder->processId, ::getpid());
    EXPECT_EQ(holder->kind, "tool");

    // A second writer, even in the same process, is refused and told who holds the folder.
    const auto second = DataFolderLock::Acquire(dir.path(), LockHolderKind::kProgram);
    ASSERT_FALSE(Acquired(second));
    const LockRefusal& refusal = std::get<LockRefusal>(second);
    EXPECT_EQ(refusal.message, "Der Datenordner wird von psalmora-tool auf dem Computer \"" + ThisComputerName() +
                                   "\" (Prozess " + std::to_string(::getpid()) + ") benutzt.");

    DataFolderLock moved = std::move(std::get<DataFolderLock>(result));
    EXPECT_TRUE(moved.Held());
    moved.Release();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(Acquired(DataFolderLock::Acquire(dir.path(), LockHolderKind::kProgram)));
  }
  EXPECT_FALSE(std::filesystem::exists(file));  // the destructor let go as well
}

TEST(DataFolderLock, ALockIsTakenOverOnlyWhenItsHolderIsKnownToBeGone) {
  const std::string here = ThisComputerName();
  const long long dead = DeadProcessId();
  const long long alive = ::getpid();
  struct Case {
    const char* what;
    std::string text;
    bool old;
    bool takenOver;
  };
  const Case cases[] = {
      {"dead process of this computer", LockText(here, dead, "program", BootId()), false, true},
      {"living process of this computer", LockText(here, alive, "program", BootId()), false, false},
      {"process of this computer before a restart", LockText(here, alive, "program", "andere-boot-id"), false, true},
      {"lock of another computer", LockText(here + "-anderer", dead, "program", BootId()), false, false},
      {"lock being written this instant", "", false, false},
      {"lock whose writer died before filling it", "", true, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFileBytes(dir / "psalmora.lock", c.text);
    if (c.old) {
      const timeval past[2] = {{std::time(nullptr) - 60, 0}, {std::time(nullptr) - 60, 0}};
      ::utimes((dir / "psalmora.lock").c_str(), past);
    }
    const auto result = DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool);
    EXPECT_EQ(Acquired(result), c.takenOver) << c.what;
    if (!c.takenOver) {
      EXPECT_EQ(ReadFileBytes(dir / "psalmora.lock"), c.text) << c.what;
    }
  }
}

TEST(DataFolderLock, WaitsForAToolButNotForTheProgram) {
  TempDir dir;
  auto tool = DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool);
  ASSERT_TRUE(Acquired(tool));
  std::thread releaser([&tool] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::get<DataFolderLock>(tool).Release();
  });
  auto waited = DataFolderLock::Acquire(dir.path(), LockHolderKind::kProgram, std::chrono::seconds(30));
  releaser.join();
  ASSERT_TRUE(Acquired(waited));

  // The program holds the folder for its whole run: waiting for it would only delay the refusal.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Acquired(DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool, std::chrono::seconds(60))));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

// A process that waits until it is killed: a living holder of this computer.
pid_t LivingProcess() {
  const pid_t child = ::fork();
  if (child == 0) {
    for (;;) ::pause();
  }
  return child;
}

TEST(DataFolderLock, AQueueOfToolsThatMovesOnIsWaitedForLonger) {
  TempDir dir;
  const pid_t first = LivingProcess();
  const pid_t second = LivingProcess();
  const auto holdBy = [&dir](pid_t pid) {
    WriteFileBytes(dir / "psalmora.lock", LockText(ThisComputerName(), pid, "tool", BootId()));
  };
  holdBy(first);
  // The first tool hands over to the second before the wait is over; the second finishes after it.
  std::thread queue([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    holdBy(second);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    std::filesystem::remove(dir / "psalmora.lock");
  });
  const auto result = DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool, std::chrono::milliseconds(1000));
  queue.join();
  ::kill(first, SIGKILL);
  ::kill(second, SIGKILL);
  ::waitpid(first, nullptr, 0);
  ::waitpid(second, nullptr, 0);
  EXPECT_TRUE(Acquired(result));
}

TEST(DataFolderLock, AFolderThatCannotHoldTheLockIsNamed) {
  TempDir dir;
  const auto result = DataFolderLock::Acquire(dir / "fehlt", LockHolderKind::kTool);
  ASSERT_FALSE(Acquired(result));
  EXPECT_NE(std::get<LockRefusal>(result).message.find("psalmora.lock"), std::string::npos);
  std::filesystem::create_symlink(dir / "nirgends", dir / "psalmora.lock");
  EXPECT_FALSE(Acquired(DataFolderLock::Acquire(dir.path(), LockHolderKind::kTool)));
}

}  // namespace
}  // namespace psalmora
