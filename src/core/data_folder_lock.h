// The data folder's writer lock: a file "psalmora.lock" in the folder itself, so two computers sharing
// the folder over the network see it too. It names the computer, the process and the kind of holder
// (the program for its whole run, psalmora-tool while a command writes).
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace psalmora {

enum class LockHolderKind { kProgram, kTool };

// What the lock file says about its holder.
struct LockHolder {
  std::string computer;  // the holder's host name
  long long processId = 0;
  std::string kind;    // "program" or "tool"
  std::string bootId;  // the holder's boot, so a lock from before a restart is known as stale
};

// Why the lock was not given: who holds it (when the file could be read) and a one-line German text
// for stderr or a message box.
struct LockRefusal {
  std::optional<LockHolder> holder;
  std::string message;
};

class DataFolderLock {
 public:
  static constexpr std::string_view kFileName = "psalmora.lock";

  // Creates the lock file exclusively (O_EXCL also holds on network shares). A lock left by a process
  // of this computer that no longer runs (or ran before the last restart) is taken over; a lock of
  // another computer is always respected. While a tool holds the lock, the call waits up to waitFor
  // for it, and as long again for each next tool in a queue of writers; the program holds it for its
  // whole run, so its lock is refused at once.
  static std::variant<DataFolderLock, LockRefusal> Acquire(const std::filesystem::path& folder, LockHolderKind kind,
                                                           std::chrono::milliseconds waitFor = {});

  DataFolderLock(DataFolderLock&& other) noexcept;
  DataFolderLock& operator=(DataFolderLock&& other) noexcept;
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;
  ~DataFolderLock();

  // Removes the lock file (only while it is still this holder's) and lets go of it; also on destruction.
  void Release();
  bool Held() const { return fd_ >= 0; }
  const std::filesystem::path& File() const { return file_; }

 private:
  DataFolderLock(std::filesystem::path file, int fd);

  std::filesystem::path file_;
  int fd_ = -1;
};

// The holder named by the folder's lock file, if there is one that can be read.
std::optional<LockHolder> ReadLockHolder(const std::filesystem::path& folder);

// "Der Datenordner wird von Psalmora auf dem Computer "X" (Prozess N) benutzt." (psalmora-tool for a
// tool holder).
std::string LockHolderMessage(const LockHolder& holder);

// This computer's host name, as the lock file records it.
std::string ThisComputerName();

}  // namespace psalmora
