// What a file looked like on disk when it was read: enough to notice that another writer replaced or
// changed it since, without reading it again.
#pragma once

#include <cstdint>
#include <filesystem>

namespace psalmora {

struct FileStamp {
  bool exists = false;
  std::int64_t seconds = 0;      // modification time
  std::int64_t nanoseconds = 0;  // within the second, where the file system keeps it
  std::uintmax_t size = 0;
  // An atomic replace gives the file a new inode, so a rewrite of equal size within one tick of a
  // coarse clock is noticed as well.
  std::uintmax_t inode = 0;
  std::uintmax_t device = 0;

  // The stamp of the file path names (following links); a missing file has a stamp of its own.
  static FileStamp Of(const std::filesystem::path& path);

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

}  // namespace psalmora
