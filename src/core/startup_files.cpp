#include "core/startup_files.h"

#include <cstdint>
#include <optional>
#include <system_error>

#include "core/atomic_file.h"
#include "core/text_lines.h"

namespace psalmora {

namespace fs = std::filesystem;

std::vector<fs::path> PageFiles(const fs::path& dataFolder) {
  std::vector<fs::path> files;
  for (const char* name : {"vorschau.htm", "beamer.htm", "akkord.htm", "drucken.htm", "layout.htm", "fuss.htm"}) {
    files.push_back(dataFolder / name);
  }
  return files;
}

int DeletePageFiles(const fs::path& dataFolder) {
  int removed = 0;
  for (const fs::path& file : PageFiles(dataFolder)) {
    std::error_code error;
    if (fs::remove(file, error)) ++removed;
  }
  return removed;
}

std::vector<std::string> LoadVideoList(const DataFiles& files) {
  std::error_code error;
  const bool present = fs::is_regular_file(files.youtubeList, error);
  if (!present || fs::file_size(files.youtubeList, error) == 0) {
    // An empty list file; a failure only means the list stays empty for this run (reported on stderr).
    if (!present) WriteStoreFile(files.youtubeList, "");
    return {};
  }
  const std::optional<std::string> content = ReadWholeFile(files.youtubeList);
  return content ? SplitLines(*content) : std::vector<std::string>{};
}

std::vector<std::string> LoadBibleIndex(const fs::path& programFolder) {
  const std::optional<std::string> content = ReadWholeFile(programFolder / "bibel" / "index.dat");
  return content ? SplitLines(*content) : std::vector<std::string>{};
}

fs::path UpdaterPath(const fs::path& programFolder) {
  return programFolder / "psalmora-update";
}

fs::path NewUpdaterPath(const fs::path& programFolder) {
  return programFolder / "psalmora-update-neu";
}

UpdaterReplacement ReplaceUpdater(const fs::path& programFolder) {
  const fs::path fresh = NewUpdaterPath(programFolder);
  std::error_code error;
  if (!fs::is_regular_file(fresh, error)) return {};
  const std::uintmax_t size = fs::file_size(fresh, error);
  if (error || size == 0) return {};
  // The updater may have written its copy without the execute bits; the owner must be able to start it.
  fs::permissions(fresh, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add,
                  error);
  fs::rename(fresh, UpdaterPath(programFolder), error);
  if (error) return {UpdaterSwap::kFailed, fresh.string() + ": " + error.message()};
  return {UpdaterSwap::kReplaced, {}};
}

}  // namespace psalmora
