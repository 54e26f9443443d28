// Where the program's own files live (config/, layouts/, bibel/) and how they get their defaults.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace psalmora {

// Folder of the running program file (from /proc/self/exe); empty when it cannot be found.
std::filesystem::path RunningProgramFolder();

// $XDG_DATA_HOME/psalmora, with ~/.local/share when the variable is unset or relative.
std::filesystem::path UserProgramFolder();

// True when files can be created in folder (an existing folder on a writable file system).
bool IsWritableFolder(const std::filesystem::path& folder);

// True when the program sits in the bin/ folder of an install, beside "../share/psalmora".
bool IsInstalledLayout(const std::filesystem::path& executableFolder);

// The program folder: the override when given, else the program's own folder when writable and not an
// install's bin/, else the per-user folder. A read-only install therefore still keeps its settings.
std::filesystem::path ChooseProgramFolder(const std::filesystem::path& overrideFolder,
                                          const std::filesystem::path& executableFolder);

// The folder holding the shipped defaults: a "data" folder beside the program, "../share/psalmora" of an
// install, or the source tree the program was built from. Empty when none of them exists.
std::filesystem::path FindDefaultsFolder(const std::filesystem::path& executableFolder);

// The sub folders of the program folder that get shipped defaults.
const std::vector<std::string>& DefaultsSubfolders();

struct DefaultsCopy {
  int copied = 0;
  std::vector<std::string> errors;  // one line per file or folder that could not be copied
};

// The list of shipped files already installed into the program folder, one relative path a line.
inline constexpr const char* kInstalledDefaultsFile = "config/installed-defaults.dat";

// Installs the files of the defaults' config/, layouts/ and bibel/ (run from the build tree: those of
// data/ and of the build's generated defaults) that were never installed before: all of them into a new
// program folder, later only the files a newer version newly ships. A file the user already has is never
// replaced, and one the user deleted does not come back. A folder with a translation list of its own
// ("bibel/uebersetzungen.dat") gets none of the shipped Bible files. Errors also go to stderr.
DefaultsCopy InstallDefaults(const std::filesystem::path& defaultsFolder, const std::filesystem::path& programFolder);

}  // namespace psalmora
