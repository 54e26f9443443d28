#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace psalmora {
namespace {

std::string Describe(const std::string& what, const std::filesystem::path& path, int errorNumber) {
  return what + " " + path.string() + ": " + std::strerror(errorNumber);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself durable; failures here do not make the write fail.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return content;
}

bool PathIsTaken(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

WriteResult WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, FileSync sync) {
  const std::filesystem::path folder = path.parent_path();
  std::string pattern = (folder / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return WriteResult::Failure(Describe("cannot create a temporary file for", path, errno));
  const std::filesystem::path temporary = pattern;

  const auto fail = [&](const std::string& what) {
    const int errorNumber = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return WriteResult::Failure(Describe(what, path, errorNumber));
  };
  if (!WriteAll(fd, bytes)) return fail("cannot write");
  if (sync == FileSync::kToDisk && ::fsync(fd) != 0) return fail("cannot sync");
  // mkstemp creates the file 0600; store files are ordinary user files.
  ::fchmod(fd, 0644);
  if (::close(fd) != 0) {
    const int errorNumber = errno;
    ::unlink(temporary.c_str());
    return WriteResult::Failure(Describe("cannot close", path, errorNumber));
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int errorNumber = errno;
    ::unlink(temporary.c_str());
    return WriteResult::Failure(Describe("cannot replace", path, errorNumber));
  }
  if (sync == FileSync::kToDisk) SyncFolder(folder);
  return WriteResult::Success();
}

bool WriteStoreFile(const std::filesystem::path& path, std::string_view bytes) {
  const WriteResult result = WriteFileAtomically(path, bytes);
  if (!result) std::cerr << "psalmora: " << result.error << '\n';
  return result.ok;
}

WriteResult AppendFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::optional<std::string> content = ReadWholeFile(path);
  if (!content && PathIsTaken(path)) return WriteResult::Failure("cannot read " + path.string() + ", left unchanged");
  content = content.value_or(std::string());
  content->append(bytes);
  return WriteFileAtomically(path, *content);
}

}  // namespace psalmora
