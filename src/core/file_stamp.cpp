#include "core/file_stamp.h"

#include <sys/stat.h>

namespace psalmora {

FileStamp FileStamp::Of(const std::filesystem::path& path) {
  FileStamp stamp;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return stamp;
  stamp.exists = true;
  stamp.seconds = status.st_mtim.tv_sec;
  stamp.nanoseconds = status.st_mtim.tv_nsec;
  stamp.size = static_cast<std::uintmax_t>(status.st_size);
  stamp.inode = status.st_ino;
  stamp.device = status.st_dev;
  return stamp;
}

}  // namespace psalmora
