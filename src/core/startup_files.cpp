#include "core/startup_files.h"

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
  return programFolder / "psalmora update.exe";
}

}  // namespace psalmora
