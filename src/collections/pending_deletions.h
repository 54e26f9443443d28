// The deletions the song-management synchronisation still has to report: global ids of deleted songs
// ("loeschstringclient") and of deleted selections ("loeschstringplaylistclient"), each followed by "|".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

struct Settings;

// The program's settings in memory and the file they are written to at once.
struct SettingsFileRef {
  Settings& settings;
  std::filesystem::path file;
};

// Appends globalId + "|" to "loeschstringclient" in memory and writes that key into the file.
WriteResult RememberDeletedSong(const SettingsFileRef& target, std::string_view globalId);
// The same for "loeschstringplaylistclient".
WriteResult RememberDeletedSelection(const SettingsFileRef& target, std::string_view globalId);

// The remembered global ids of deleted songs, in order ("DeletedGlobalIds").
std::vector<std::string> DeletedGlobalIds(const Settings& settings);

}  // namespace psalmora
