// Whole-file reading and atomic whole-file writing for every store file.
#pragma once

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

// Writes bytes to a temporary file in the same folder, flushes and syncs it, then renames it over
// path. A crash or a full disk leaves either the old file or the new one, never a truncated one.
WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// WriteFileAtomically for the stores that stay silent towards the user: a failure goes to stderr.
bool WriteStoreFile(const std::filesystem::path& path, std::string_view bytes);

// Appends bytes to path with the same guarantee (the file is rewritten whole).
WriteResult AppendFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace psalmora
