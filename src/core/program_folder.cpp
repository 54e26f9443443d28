#include "core/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>

#include "core/atomic_file.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

namespace fs = std::filesystem;

fs::path HomeFolder() {
  const char* home = std::getenv("HOME");
  return (home != nullptr && *home != '\0') ? fs::path(home) : fs::current_path();
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

// The shipped files installed before, as paths relative to the program folder ("layouts/1.lay"). A file
// named here is never installed again: the user may have deleted it on purpose.
std::set<std::string> ReadInstalledDefaults(const fs::path& programFolder) {
  std::set<std::string> installed;
  if (const std::optional<std::string> bytes = ReadWholeFile(programFolder / kInstalledDefaultsFile)) {
    for (std::string& line : SplitLines(*bytes)) {
      if (!line.empty()) installed.insert(std::move(line));
    }
  }
  return installed;
}

// A program folder with a translation list of its own keeps its Bible as it is: the shipped translation's
// text would arrive without a line in that list and only take room. Its files then count as installed.
bool KeepsOwnBible(const fs::path& from, const fs::path& to, const std::string& subfolder,
                   const std::set<std::string>& installed) {
  std::error_code error;
  return subfolder == "bibel" && installed.count("bibel/uebersetzungen.dat") == 0 &&
         fs::exists(from / "uebersetzungen.dat", error) && fs::exists(to / "uebersetzungen.dat", error);
}

void InstallNewFiles(const fs::path& from, const fs::path& to, const std::string& subfolder,
                     std::set<std::string>& installed, DefaultsCopy& report) {
  const bool markOnly = KeepsOwnBible(from, to, subfolder, installed);
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(from, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    const fs::path relative = fs::relative(it->path(), from);
    const fs::path target = to / relative;
    std::error_code statusError;
    if (it->is_directory(statusError)) continue;
    const std::string name = (fs::path(subfolder) / relative).generic_string();
    if (installed.count(name) != 0) continue;
    // A file the user already has counts as installed and is never replaced.
    if (markOnly || fs::exists(fs::symlink_status(target, statusError))) {
      installed.insert(name);
      continue;
    }
    const std::optional<std::string> bytes = ReadWholeFile(it->path());
    if (!bytes) {
      report.errors.push_back("cannot read " + it->path().string());
      continue;
    }
    fs::create_directories(target.parent_path(), statusError);
    if (statusError) {
      report.errors.push_back("cannot create " + target.parent_path().string() + ": " + statusError.message());
      continue;
    }
    const WriteResult written = WriteFileAtomically(target, *bytes);
    if (!written) {
      report.errors.push_back(written.error);
      continue;
    }
    ++report.copied;
    installed.insert(name);
  }
  if (error) report.errors.push_back("cannot list " + from.string() + ": " + error.message());
}

// The folders whose files InstallDefaults installs: the defaults folder, and with the source tree's data/
// also what the build made for the defaults (the Bible imported from a SWORD module), which an install
// keeps beside the rest in share/psalmora. data/ comes first, so a file in both comes from there.
std::vector<fs::path> DefaultsSources(const fs::path& defaultsFolder) {
  std::vector<fs::path> sources = {defaultsFolder};
#if defined(PSALMORA_DEFAULTS_DIR) && defined(PSALMORA_GENERATED_DEFAULTS_DIR)
  std::error_code error;
  if (fs::equivalent(defaultsFolder, PSALMORA_DEFAULTS_DIR, error))
    sources.emplace_back(PSALMORA_GENERATED_DEFAULTS_DIR);
#endif
  return sources;
}

}  // namespace

fs::path RunningProgramFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : program.parent_path();
}

fs::path UserProgramFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const fs::path data =
      (xdg != nullptr && fs::path(xdg).is_absolute()) ? fs::path(xdg) : HomeFolder() / ".local" / "share";
  return data / "psalmora";
}

bool IsWritableFolder(const fs::path& folder) {
  // access() also reports a read-only file system, which matters when running as root.
  return IsFolder(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool IsInstalledLayout(const fs::path& executableFolder) {
  return !executableFolder.empty() && IsFolder(executableFolder.parent_path() / "share" / "psalmora" / "config");
}

fs::path ChooseProgramFolder(const fs::path& overrideFolder, const fs::path& executableFolder) {
  if (!overrideFolder.empty()) return overrideFolder;
  // /usr/bin is writable for root, yet settings there would be shared by every user and lost on update.
  if (IsWritableFolder(executableFolder) && !IsInstalledLayout(executableFolder)) return executableFolder;
  return UserProgramFolder();
}

fs::path FindDefaultsFolder(const fs::path& executableFolder) {
  std::vector<fs::path> candidates;
  if (!executableFolder.empty()) {
    candidates.push_back(executableFolder / "data");
    candidates.push_back(executableFolder.parent_path() / "share" / "psalmora");
  }
#ifdef PSALMORA_DEFAULTS_DIR
  candidates.emplace_back(PSALMORA_DEFAULTS_DIR);
#endif
  for (const fs::path& candidate : candidates) {
    if (IsFolder(candidate / "config")) return candidate;
  }
  return {};
}

const std::vector<std::string>& DefaultsSubfolders() {
  static const std::vector<std::string> folders = {"config", "layouts", "bibel"};
  return folders;
}

DefaultsCopy InstallDefaults(const fs::path& defaultsFolder, const fs::path& programFolder) {
  DefaultsCopy report;
  std::error_code error;
  if (defaultsFolder.empty()) return report;
  if (fs::equivalent(defaultsFolder, programFolder, error)) return report;
  std::set<std::string> installed = ReadInstalledDefaults(programFolder);
  const std::size_t installedBefore = installed.size();
  for (const fs::path& source : DefaultsSources(defaultsFolder)) {
    for (const std::string& name : DefaultsSubfolders()) {
      const fs::path from = source / name;
      if (!IsFolder(from)) continue;
      const fs::path to = programFolder / name;
      fs::create_directories(to, error);
      if (error) {
        report.errors.push_back("cannot create " + to.string() + ": " + error.message());
        error.clear();
        continue;
      }
      InstallNewFiles(from, to, name, installed, report);
    }
  }
  if (installed.size() != installedBefore) {
    const std::vector<std::string> lines(installed.begin(), installed.end());
    const WriteResult written = WriteFileAtomically(programFolder / kInstalledDefaultsFile, JoinLinesCrLf(lines));
    if (!written) report.errors.push_back(written.error);
  }
  for (const std::string& line : report.errors) std::cerr << "psalmora: " << line << '\n';
  return report;
}

}  // namespace psalmora
