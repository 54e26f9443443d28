#include "render/layout_file.h"

#include <algorithm>
#include <system_error>

#include "core/ini_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

constexpr std::string_view kLayoutExtension = ".lay";

// Numeric keys in numeric order first ("2" before "10"), then the rest by bytes.
bool KeyLess(const LayoutEntry& a, const LayoutEntry& b) {
  const bool aNumber = AllDigits(a.key);
  const bool bNumber = AllDigits(b.key);
  if (aNumber != bNumber) return aNumber;
  if (aNumber && a.key.size() != b.key.size()) return a.key.size() < b.key.size();
  return a.key < b.key;
}

}  // namespace

std::string_view Layout::Line(int n) const {
  if (n < 1 || static_cast<std::size_t>(n) > lines.size()) return {};
  return lines[static_cast<std::size_t>(n) - 1];
}

std::optional<std::filesystem::path> LayoutFilePath(const std::filesystem::path& layoutFolder, std::string_view key) {
  if (key.empty() || key.find_first_of("./\\") != std::string_view::npos || key.find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  return layoutFolder / (std::string(key) + std::string(kLayoutExtension));
}

std::optional<std::vector<LayoutEntry>> ListLayouts(const std::filesystem::path& layoutFolder) {
  std::error_code error;
  std::filesystem::directory_iterator it(layoutFolder, error);
  if (error) return std::nullopt;
  std::vector<LayoutEntry> entries;
  for (const std::filesystem::directory_entry& entry : it) {
    const std::string fileName = entry.path().filename().string();
    if (!fileName.ends_with(kLayoutExtension) || !entry.is_regular_file(error)) continue;
    const Layout layout = ParseLayout(ReadWholeFile(entry.path()).value_or(std::string()));
    entries.push_back({fileName.substr(0, fileName.find('.')), std::string(layout.Line(layout_line::kName)),
                       std::string(layout.Line(layout_line::kDescription))});
  }
  std::sort(entries.begin(), entries.end(), KeyLess);
  return entries;
}

Layout ParseLayout(std::string_view text) {
  return Layout{SplitLines(text)};
}

Layout LoadLayout(const std::filesystem::path& layoutFolder, std::string_view key) {
  const std::optional<std::filesystem::path> path = LayoutFilePath(layoutFolder, key);
  if (!path) return {};
  const std::optional<std::string> text = ReadWholeFile(*path);
  if (!text) return {};
  return ParseLayout(*text);
}

bool SaveLayout(const std::filesystem::path& layoutFolder, std::string_view key, const Layout& layout) {
  const std::optional<std::filesystem::path> path = LayoutFilePath(layoutFolder, key);
  if (!path) return false;
  return WriteStoreFile(*path, JoinLinesCrLf(layout.lines));
}

Layout NewLayoutContents(const NewLayoutWords& words) {
  return Layout{{"-- " + words.layoutNeu + " --", words.beschreibung, "", words.kein, " #$3#<br><br>#$text1#",
                 "ak|1|Arial|0|700|16|0,0,255", "te|1|Arial|0|700|16|0,0,0", "ub|1|Arial|0|400|16|255,0,0",
                 "ko|0|Arial|0|400|14|0,0,0"}};
}

long long ReadLastLayoutId(const std::filesystem::path& layoutFolder) {
  const IniFile ini = IniFile::Load(layoutFolder / kLayoutIniFileName);
  const std::optional<std::string> value = ini.Value("Layout", "id");
  if (!value) return -1;
  return LeadingNumber(*value);
}

std::optional<std::string> CreateNewLayout(const std::filesystem::path& layoutFolder, const NewLayoutWords& words) {
  const long long last = ReadLastLayoutId(layoutFolder);
  if (last == -1) return std::nullopt;
  long long next = last + 1;
  // A counter that fell behind the folder (a copied-in layout, a restored backup) must not hand out the
  // id of a layout that exists: the new file would replace it.
  std::error_code error;
  while (std::filesystem::exists(layoutFolder / (std::to_string(next) + std::string(kLayoutExtension)), error)) ++next;
  const std::string key = std::to_string(next);
  if (!WriteSettingKey("Layout", "id", key, layoutFolder / kLayoutIniFileName)) return std::nullopt;
  if (!SaveLayout(layoutFolder, key, NewLayoutContents(words))) return std::nullopt;
  return key;
}

}  // namespace psalmora
