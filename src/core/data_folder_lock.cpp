#include "core/data_folder_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <thread>
#include <utility>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A lock file without a readable holder is one being written this instant, or one whose writer died
// between creating and filling it; only the second is still unreadable after this long.
constexpr std::time_t kUnfinishedLockAge = 10;

std::string_view KindWord(LockHolderKind kind) {
  return kind == LockHolderKind::kProgram ? "program" : "tool";
}

std::string ThisBootId() {
  std::string id = ReadWholeFile("/proc/sys/kernel/random/boot_id").value_or(std::string());
  while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
  return id;
}

std::string HolderText(LockHolderKind kind) {
  std::string text;
  text += "computer=" + ThisComputerName() + std::string(kLineEnd);
  text += "pid=" + std::to_string(::getpid()) + std::string(kLineEnd);
  text += "kind=" + std::string(KindWord(kind)) + std::string(kLineEnd);
  text += "boot=" + ThisBootId() + std::string(kLineEnd);
  return text;
}

std::optional<LockHolder> ParseHolder(std::string_view text) {
  LockHolder holder;
  for (const std::string& line : SplitLines(text)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view name = std::string_view(line).substr(0, equals);
    const std::string_view value = std::string_view(line).substr(equals + 1);
    if (name == "computer") holder.computer = value;
    if (name == "pid" && AllDigits(value)) holder.processId = LeadingNumber(value);
    if (name == "kind") holder.kind = value;
    if (name == "boot") holder.bootId = value;
  }
  if (holder.computer.empty() || holder.processId <= 0) return std::nullopt;
  return holder;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[512];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

// Only a lock of this computer can be judged: another computer's processes cannot be seen from here.
bool HolderIsGone(const LockHolder& holder) {
  if (holder.computer != ThisComputerName()) return false;
  if (!holder.bootId.empty() && holder.bootId != ThisBootId()) return true;
  return ::kill(static_cast<pid_t>(holder.processId), 0) != 0 && errno == ESRCH;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Removes the stale lock file open at fd. Two processes may find the same stale lock: each takes an
// exclusive flock on it and removes it only while the folder still holds that very file, so the
// second never removes the fresh lock the first may have created meanwhile.
bool RemoveStaleLock(int fd, const fs::path& file) {
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
  struct stat opened {};
  struct stat current {};
  if (::fstat(fd, &opened) != 0 || ::stat(file.c_str(), &current) != 0 || !SameFile(opened, current)) return false;
  return ::unlink(file.c_str()) == 0;
}

// The state of an existing lock file: its holder, and whether it may be taken over.
struct Inspection {
  bool gone = false;     // no lock file any more: try again at once
  bool removed = false;  // it was stale and is removed: try again at once
  std::optional<LockHolder> holder;
  std::string error;  // the lock file cannot be read
};

Inspection InspectLock(const fs::path& file) {
  Inspection inspection;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    struct stat link {};
    // A link that points nowhere keeps O_EXCL failing although no lock can be read behind it.
    if (errno == ENOENT && ::lstat(file.c_str(), &link) != 0) {
      inspection.gone = true;
    } else {
      inspection.error = std::strerror(errno);
    }
    return inspection;
  }
  inspection.holder = ParseHolder(ReadAll(fd));
  struct stat status {};
  const bool old = ::fstat(fd, &status) == 0 && std::time(nullptr) - status.st_mtime > kUnfinishedLockAge;
  const bool stale = inspection.holder ? HolderIsGone(*inspection.holder) : old;
  if (stale) inspection.removed = RemoveStaleLock(fd, file);
  ::close(fd);
  return inspection;
}

std::string UnknownHolderMessage(const fs::path& file) {
  return "Der Datenordner wird gerade von einem anderen Programm benutzt (" + file.string() + ").";
}

}  // namespace

std::string ThisComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "localhost";
  return name;
}

std::string LockHolderMessage(const LockHolder& holder) {
  const std::string who = holder.kind == "tool" ? "psalmora-tool" : "Psalmora";
  return "Der Datenordner wird von " + who + " auf dem Computer \"" + holder.computer + "\" (Prozess " +
         std::to_string(holder.processId) + ") benutzt.";
}

std::optional<LockHolder> ReadLockHolder(const fs::path& folder) {
  const std::optional<std::string> text = ReadWholeFile(folder / DataFolderLock::kFileName);
  return text ? ParseHolder(*text) : std::nullopt;
}

std::variant<DataFolderLock, LockRefusal> DataFolderLock::Acquire(const fs::path& folder, LockHolderKind kind,
                                                                  std::chrono::milliseconds waitFor) {
  const fs::path file = folder / kFileName;
  Clock::time_point deadline = Clock::now() + waitFor;
  std::optional<LockHolder> lastHolder;
  // Waiting writers poll at slightly different rates, so they do not keep meeting each other.
  const auto pause = std::chrono::milliseconds(10 + ::getpid() % 7);
  for (;;) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      // The flock is only the arbiter between processes that find the same stale lock; the file is
      // the lock. Shares without flock support do without it.
      ::flock(fd, LOCK_EX | LOCK_NB);
      const std::string text = HolderText(kind);
      if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        const int error = errno;
        ::unlink(file.c_str());
        ::close(fd);
        return LockRefusal{std::nullopt, "Die Sperrdatei " + file.string() +
                                             " kann nicht geschrieben werden: " + std::strerror(error)};
      }
      return DataFolderLock(file, fd);
    }
    if (errno != EEXIST) {
      return LockRefusal{std::nullopt,
                         "Die Sperrdatei " + file.string() + " kann nicht angelegt werden: " + std::strerror(errno)};
    }
    const Inspection inspection = InspectLock(file);
    if (inspection.gone || inspection.removed) continue;
    if (!inspection.error.empty()) {
      return LockRefusal{std::nullopt,
                         "Die Sperrdatei " + file.string() + " kann nicht gelesen werden: " + inspection.error};
    }
    // A queue of writers that moves on is no reason to give up: each new holder gets the full wait.
    if (inspection.holder && lastHolder &&
        (inspection.holder->processId != lastHolder->processId ||
         inspection.holder->computer != lastHolder->computer)) {
      deadline = Clock::now() + waitFor;
    }
    if (inspection.holder) lastHolder = inspection.holder;
    const bool programHolds = inspection.holder && inspection.holder->kind == "program";
    if (programHolds || Clock::now() >= deadline) {
      return LockRefusal{inspection.holder,
                         inspection.holder ? LockHolderMessage(*inspection.holder) : UnknownHolderMessage(file)};
    }
    std::this_thread::sleep_for(pause);
  }
}

DataFolderLock::DataFolderLock(fs::path file, int fd) : file_(std::move(file)), fd_(fd) {}

DataFolderLock::DataFolderLock(DataFolderLock&& other) noexcept
    : file_(std::move(other.file_)), fd_(std::exchange(other.fd_, -1)) {}

DataFolderLock& DataFolderLock::operator=(DataFolderLock&& other) noexcept {
  if (this != &other) {
    Release();
    file_ = std::move(other.file_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

DataFolderLock::~DataFolderLock() {
  Release();
}

void DataFolderLock::Release() {
  if (fd_ < 0) return;
  struct stat opened {};
  struct stat current {};
  // Someone who wrongly took the lock over owns the file now; it is theirs to remove.
  if (::fstat(fd_, &opened) == 0 && ::stat(file_.c_str(), &current) == 0 && SameFile(opened, current)) {
    ::unlink(file_.c_str());
  }
  ::close(fd_);
  fd_ = -1;
}

}  // namespace psalmora
