// The registry key "Software\Psalmora" kept as a small per-user INI file in the XDG config folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/atomic_file.h"

namespace psalmora {

// Results of Read that callers compare literally, as the registry read always has.
inline constexpr std::string_view kRegistryErrorOpeningKey = "Error Opening Key";
inline constexpr std::string_view kRegistryErrorReadingKey = "Error Reading key";

// Value names of the key.
inline constexpr std::string_view kRegistryDataFolder = "DIR-Daten";
inline constexpr std::string_view kRegistryProgramFolder = "DIR-Programm";
inline constexpr std::string_view kRegistryVersionDate = "Versiondat";
inline constexpr std::string_view kRegistryVersion = "Version";

// The file holds one group "[Software\Psalmora]" with name=value lines. Names match without regard to
// case, like registry value names. Other lines of the file are kept when a value is written.
class RegistryStore {
 public:
  explicit RegistryStore(std::filesystem::path file);

  // $XDG_CONFIG_HOME/psalmora/registry.ini, with ~/.config when the variable is unset or relative.
  static std::filesystem::path DefaultFile();

  const std::filesystem::path& File() const { return file_; }

  // The value, or "Error Opening Key" when the file or its group is missing, "Error Reading key" when
  // the value is missing.
  std::string Read(std::string_view valueName) const;

  // Creates the file, folder, group or value as needed; the file is replaced atomically. A file that is
  // there but cannot be read is left as it is and the write fails.
  WriteResult Write(std::string_view valueName, std::string_view value);

 private:
  std::filesystem::path file_;
};

}  // namespace psalmora
