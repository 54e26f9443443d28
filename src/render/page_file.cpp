#include "render/page_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace psalmora {
namespace {

WriteResult Failure(std::string_view what, const std::filesystem::path& path, int errorNumber) {
  return WriteResult::Failure(std::string(what) + " " + path.string() + ": " + std::strerror(errorNumber));
}

}  // namespace

WriteResult WritePageFile(const std::filesystem::path& path, std::string_view bytes) {
  std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return Failure("cannot create a temporary file for", path, errno);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) {
      const int errorNumber = errno;
      ::close(fd);
      ::unlink(pattern.c_str());
      return Failure("cannot write", path, errorNumber);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  ::fchmod(fd, 0644);  // mkstemp makes it private; the page is an ordinary file
  if (::close(fd) != 0 || ::rename(pattern.c_str(), path.c_str()) != 0) {
    const int errorNumber = errno;
    ::unlink(pattern.c_str());
    return Failure("cannot replace", path, errorNumber);
  }
  return WriteResult::Success();
}

}  // namespace psalmora
