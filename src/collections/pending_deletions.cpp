#include "collections/pending_deletions.h"

#include <iostream>

#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/settings.h"

namespace psalmora {
namespace {

WriteResult Append(std::string& value, std::string_view key, const std::filesystem::path& file,
                   std::string_view globalId) {
  value.append(globalId).append("|");
  const WriteResult written = WriteSettingKey(kGroupMisc, key, value, file);
  // The list lives on in memory and is written again with the next deletion; nobody is told but stderr.
  if (!written) std::cerr << "psalmora: " << written.error << '\n';
  return written;
}

}  // namespace

WriteResult RememberDeletedSong(const SettingsFileRef& target, std::string_view globalId) {
  return Append(target.settings.loeschstringclient, kKeyDeletedSongs, target.file, globalId);
}

WriteResult RememberDeletedSelection(const SettingsFileRef& target, std::string_view globalId) {
  return Append(target.settings.loeschstringplaylistclient, kKeyDeletedSelections, target.file, globalId);
}

std::vector<std::string> DeletedGlobalIds(const Settings& settings) {
  std::vector<std::string> ids;
  for (std::string& id : SplitAt(settings.loeschstringclient, '|')) {
    if (!id.empty()) ids.push_back(std::move(id));
  }
  return ids;
}

}  // namespace psalmora
