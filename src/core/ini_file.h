// Reading and key-wise writing of the INI-style settings files ("[group]" lines and "key=value" lines).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"

namespace psalmora {

// Group and key names compare equal when they differ only in the case of ASCII or Windows-1252 letters.
bool SameIniName(std::string_view a, std::string_view b);

// One parsed settings file. A leading UTF-8 byte order mark is skipped; names and values are trimmed of
// blanks and tabs; lines that are neither "[group]" nor "key=value" (garbage, binary, comments) are
// ignored. Keys before the first group belong to the group "". When a key occurs more than once in a
// group (or a group more than once in the file), the first occurrence wins.
class IniFile {
 public:
  static IniFile Parse(std::string_view bytes);
  // The file's content, or an empty IniFile when it cannot be read.
  static IniFile Load(const std::filesystem::path& file);

  std::optional<std::string> Value(std::string_view group, std::string_view key) const;
  std::string ValueOr(std::string_view group, std::string_view key, std::string_view fallback) const;
  // The value read with the leading-number parse, clamped to int; fallback when the key is missing.
  int IntOr(std::string_view group, std::string_view key, int fallback) const;
  bool HasGroup(std::string_view group) const;

 private:
  struct Entry {
    std::size_t group;  // index into groups_
    std::string key;
    std::string value;
  };
  std::vector<std::string> groups_;
  std::vector<Entry> entries_;
};

struct SettingKey {
  std::string group;
  std::string key;
  std::string value;
};

// Sets each key in the text of a settings file, in order: an existing "key=value" line of the group is
// replaced in place, a missing key is added after the last key of the group, a missing group is added
// at the end of the text. Every other line stays as it was (line ends become CR LF; a leading byte order
// mark is kept). CR and LF inside a value are dropped, since a line cannot hold them.
std::string SetSettingKeysInText(std::string_view text, const std::vector<SettingKey>& keys);

// Writes one key of one group into file, creating the file, the group or the key when missing and
// leaving every other line untouched; the file is replaced atomically. An existing file that cannot be
// read is not overwritten (that would drop all its other settings).
WriteResult WriteSettingKey(std::string_view group, std::string_view key, std::string_view value,
                            const std::filesystem::path& file);

// Several keys in one atomic write, with the same rules as WriteSettingKey.
WriteResult WriteSettingKeys(const std::filesystem::path& file, const std::vector<SettingKey>& keys);

}  // namespace psalmora
