#include "core/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "core/data_folder_lock.h"
#include "core/record_fields.h"

namespace psalmora {
namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";

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

// The file a write replaces: path itself, or the end of its chain of symbolic links, so a store file
// linked into another folder (a synced one) is replaced there and the link stays. Nothing for a loop.
std::optional<std::filesystem::path> WriteTarget(const std::filesystem::path& path) {
  std::filesystem::path target = path;
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, error))) return target;
    const std::filesystem::path link = std::filesystem::read_symlink(target, error);
    if (error) return target;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return std::nullopt;
}

// Tells this computer's temporary files from those of another one sharing the folder, in a few letters.
std::string ComputerTag() {
  std::uint32_t hash = 2166136261u;
  for (const char c : ThisComputerName()) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char tag[9];
  std::snprintf(tag, sizeof tag, "%08x", hash);
  return tag;
}

// ".<name>.tmp-<computer tag>-<process id>-XXXXXX": hidden, beside its file, and naming its writer so a
// later start can tell a leftover of a dead process from a write in progress.
std::string TemporaryName(const std::filesystem::path& target) {
  return "." + target.filename().string() + std::string(kTemporaryInfix) + ComputerTag() + "-" +
         std::to_string(::getpid()) + "-XXXXXX";
}

// The six letters and digits mkstemp puts in for "XXXXXX".
bool RandomPart(std::string_view text) {
  return text.size() == 6 &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// The writer of a temporary file of ours: the computer tag and process id, or empty ones for the
// names of older versions (".<name>.tmp-XXXXXX"). Nothing when the name is not ours.
struct TemporaryWriter {
  std::string computerTag;
  long long processId = 0;
};
std::optional<TemporaryWriter> WriterOfTemporary(std::string_view name) {
  const std::size_t infix = name.rfind(kTemporaryInfix);
  if (name.size() < 2 || name.front() != '.' || infix == std::string_view::npos || infix < 2) return std::nullopt;
  const std::string_view rest = name.substr(infix + kTemporaryInfix.size());
  if (RandomPart(rest)) return TemporaryWriter{};
  const std::vector<std::string> parts = SplitAt(rest, '-');
  if (parts.size() != 3 || parts[0].size() != 8 || !AllDigits(parts[1]) || !RandomPart(parts[2])) return std::nullopt;
  return TemporaryWriter{parts[0], LeadingNumber(parts[1])};
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
  const std::optional<std::filesystem::path> resolved = WriteTarget(path);
  if (!resolved) return WriteResult::Failure(Describe("cannot follow the links of", path, ELOOP));
  const std::filesystem::path& target = *resolved;
  const std::filesystem::path folder = target.parent_path();
  std::string pattern = (folder / TemporaryName(target)).string();
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
  // mkstemp creates the file 0600. A new store file is an ordinary user file; a replaced one keeps its
  // mode, so a settings file kept private stays private.
  struct stat replaced {};
  ::fchmod(fd, ::stat(target.c_str(), &replaced) == 0 ? (replaced.st_mode & 07777) : 0644);
  if (::close(fd) != 0) {
    const int errorNumber = errno;
    ::unlink(temporary.c_str());
    return WriteResult::Failure(Describe("cannot close", path, errorNumber));
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int errorNumber = errno;
    ::unlink(temporary.c_str());
    return WriteResult::Failure(Describe("cannot replace", path, errorNumber));
  }
  if (sync == FileSync::kToDisk) SyncFolder(folder);
  return WriteResult::Success();
}

int RemoveStaleTemporaryFiles(const std::filesystem::path& folder, std::chrono::seconds maxAge) {
  int removed = 0;
  const std::string here = ComputerTag();
  const auto now = std::filesystem::file_time_type::clock::now();
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
    const std::optional<TemporaryWriter> writer = WriterOfTemporary(entry->path().filename().string());
    std::error_code statusError;
    if (!writer || !entry->is_regular_file(statusError) || entry->is_symlink(statusError)) continue;
    const auto changed = std::filesystem::last_write_time(entry->path(), statusError);
    const bool old = !statusError && now - changed > maxAge;
    // Only a process of this computer can be looked for; another computer's write may be in progress.
    const bool writerGone = writer->computerTag == here && writer->processId > 0 &&
                            ::kill(static_cast<pid_t>(writer->processId), 0) != 0 && errno == ESRCH;
    if ((old || writerGone) && std::filesystem::remove(entry->path(), statusError)) ++removed;
  }
  return removed;
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
