// Whole-file reading and atomic whole-file writing for every store file.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace psalmora {

// Outcome of a write: ok, or the reason it failed (for stderr or a message box).
struct WriteResult {
  bool ok = true;
  std::string error;

  explicit operator bool() const { return ok; }
  static WriteResult Success() { return {}; }
  static WriteResult Failure(std::string reason) { return {false, std::move(reason)}; }
};

// The whole file, or nothing when it cannot be opened (missing, unreadable, a folder).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// True when anything stands at path: a file, a folder, or a link even when it leads nowhere. A store
// file that is taken but cannot be read must never be replaced by what a writer believes it held.
bool PathIsTaken(const std::filesystem::path& path);

// Whether a replacing write waits for the disk. Store files do, so a crash never loses a saved change;
// generated pages need not, as they are written again at every rendering and a sync per song click
// would cost far more than the page itself.
enum class FileSync { kToDisk, kNone };

// Writes bytes to a temporary file in the same folder (".<name>.tmp-<computer>-<process id>-XXXXXX",
// the computer as eight hex digits), flushes it (and with kToDisk syncs it and the folder), then
// renames it over path. A failure or a full disk leaves the old file, never a truncated one.
// The replaced file keeps its mode. A symbolic link is written through: its target is replaced (the
// temporary file beside it) and the link stays.
WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                FileSync sync = FileSync::kToDisk);

// Removes the temporary files that interrupted writes (a crash, kill -9, a power cut) left in folder:
// only names WriteFileAtomically gives, and only when older than maxAge or written by a process of
// this computer that is gone, so a write in progress keeps its file. Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::filesystem::path& folder,
                              std::chrono::seconds maxAge = std::chrono::minutes(5));

// WriteFileAtomically for the stores that stay silent towards the user: a failure goes to stderr.
bool WriteStoreFile(const std::filesystem::path& path, std::string_view bytes);

// Appends bytes to path with the same guarantee (the file is rewritten whole). A file that is there
// but cannot be read is not replaced by the appended bytes alone: the append fails.
WriteResult AppendFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace psalmora
