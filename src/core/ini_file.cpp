// Settings-file parsing and the line-preserving key writer.
#include "core/ini_file.h"

#include <climits>
#include <system_error>

#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Lower case of one Windows-1252 byte: ASCII letters, the accented letters 0xC0-0xDE (not the
// multiplication sign 0xD7) and the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A:
      return 0x9A;
    case 0x8C:
      return 0x9C;
    case 0x8E:
      return 0x9E;
    case 0x9F:
      return 0xFF;
    default:
      return c;
  }
}

std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

enum class LineKind { kOther, kGroup, kKey };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::string_view name;   // group or key name
  std::string_view value;  // value of a key line
};

ParsedLine ParseLine(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (!trimmed.empty() && trimmed.front() == '[') {
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::kGroup, Trim(trimmed.substr(1, close - 1)), {}};
  }
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view key = Trim(trimmed.substr(0, equals));
  if (key.empty()) return {};
  return {LineKind::kKey, key, Trim(trimmed.substr(equals + 1))};
}

std::string_view StripBom(std::string_view bytes) {
  return bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? bytes.substr(kUtf8Bom.size()) : bytes;
}

std::string WithoutLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') result += c;
  }
  return result;
}

// Sets one key in the lines of a settings file (see SetSettingKeysInText).
void SetKeyInLines(std::vector<std::string>& lines, const SettingKey& setting) {
  const std::string newLine = setting.key + "=" + WithoutLineBreaks(setting.value);
  bool inGroup = setting.group.empty();  // keys before the first header belong to the group ""
  bool groupSeen = inGroup;
  std::size_t insertAt = 0;  // after the last key (or the header) of the first matching group
  bool insertAtFixed = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = ParseLine(lines[i]);
    if (parsed.kind == LineKind::kGroup) {
      if (inGroup) insertAtFixed = true;
      inGroup = SameIniName(parsed.name, setting.group);
      if (inGroup && !groupSeen) {
        groupSeen = true;
        insertAt = i + 1;
      }
    } else if (parsed.kind == LineKind::kKey && inGroup) {
      if (SameIniName(parsed.name, setting.key)) {
        lines[i] = newLine;
        return;
      }
      if (!insertAtFixed) insertAt = i + 1;
    }
  }
  if (groupSeen) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    return;
  }
  lines.push_back("[" + setting.group + "]");
  lines.push_back(newLine);
}

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  ini.groups_.emplace_back();  // keys before the first header
  std::size_t current = 0;
  for (const std::string& line : SplitLines(StripBom(bytes))) {
    const ParsedLine parsed = ParseLine(line);
    if (parsed.kind == LineKind::kGroup) {
      ini.groups_.emplace_back(parsed.name);
      current = ini.groups_.size() - 1;
    } else if (parsed.kind == LineKind::kKey) {
      ini.entries_.push_back({current, std::string(parsed.name), std::string(parsed.value)});
    }
  }
  return ini;
}

IniFile IniFile::Load(const std::filesystem::path& file) {
  const std::optional<std::string> bytes = ReadWholeFile(file);
  return bytes ? Parse(*bytes) : IniFile::Parse("");
}

std::optional<std::string> IniFile::Value(std::string_view group, std::string_view key) const {
  for (const Entry& entry : entries_) {
    if (SameIniName(entry.key, key) && SameIniName(groups_[entry.group], group)) return entry.value;
  }
  return std::nullopt;
}

std::string IniFile::ValueOr(std::string_view group, std::string_view key, std::string_view fallback) const {
  std::optional<std::string> value = Value(group, key);
  return value ? std::move(*value) : std::string(fallback);
}

int IniFile::IntOr(std::string_view group, std::string_view key, int fallback) const {
  const std::optional<std::string> value = Value(group, key);
  if (!value) return fallback;
  const long long number = LeadingNumber(*value);
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

bool IniFile::HasGroup(std::string_view group) const {
  for (std::size_t i = 1; i < groups_.size(); ++i) {
    if (SameIniName(groups_[i], group)) return true;
  }
  return false;
}

std::string SetSettingKeysInText(std::string_view text, const std::vector<SettingKey>& keys) {
  const std::string_view body = StripBom(text);
  const bool hadBom = body.size() != text.size();
  std::vector<std::string> lines = SplitLines(body);
  for (const SettingKey& key : keys) SetKeyInLines(lines, key);
  std::string result = hadBom ? std::string(kUtf8Bom) : std::string();
  result += JoinLinesCrLf(lines);
  return result;
}

WriteResult WriteSettingKeys(const std::filesystem::path& file, const std::vector<SettingKey>& keys) {
  for (const SettingKey& key : keys) {
    if (key.key.empty()) return WriteResult::Failure("empty settings key in " + file.string());
  }
  std::string text;
  std::error_code error;
  if (std::filesystem::exists(file, error)) {
    std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) return WriteResult::Failure("cannot read " + file.string() + ", left unchanged");
    text = std::move(*bytes);
  }
  return WriteFileAtomically(file, SetSettingKeysInText(text, keys));
}

WriteResult WriteSettingKey(std::string_view group, std::string_view key, std::string_view value,
                            const std::filesystem::path& file) {
  return WriteSettingKeys(file, {SettingKey{std::string(group), std::string(key), std::string(value)}});
}

}  // namespace psalmora
