#include "core/registry_store.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "core/text_lines.h"

namespace psalmora {
namespace {

constexpr std::string_view kGroupLine = "[Software\\Psalmora]";

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsGroupLine(std::string_view line) {
  line = Trimmed(line);
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// Position of the group line of the key, if the file has one.
std::optional<std::size_t> FindGroup(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (SameIgnoringCase(Trimmed(lines[i]), kGroupLine)) return i;
  }
  return std::nullopt;
}

// The value line of name inside the group that starts at group, if present.
std::optional<std::size_t> FindValue(const std::vector<std::string>& lines, std::size_t group, std::string_view name) {
  for (std::size_t i = group + 1; i < lines.size() && !IsGroupLine(lines[i]); ++i) {
    const std::size_t equals = lines[i].find('=');
    if (equals == std::string::npos) continue;
    if (SameIgnoringCase(Trimmed(std::string_view(lines[i]).substr(0, equals)), name)) return i;
  }
  return std::nullopt;
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
  return std::filesystem::current_path();
}

}  // namespace

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path RegistryStore::DefaultFile() {
  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
    config = xdg;
  } else {
    config = HomeFolder() / ".config";
  }
  return config / "psalmora" / "registry.ini";
}

std::string RegistryStore::Read(std::string_view valueName) const {
  const std::optional<std::string> content = ReadWholeFile(file_);
  if (!content) return std::string(kRegistryErrorOpeningKey);
  const std::vector<std::string> lines = SplitLines(*content);
  const std::optional<std::size_t> group = FindGroup(lines);
  if (!group) return std::string(kRegistryErrorOpeningKey);
  const std::optional<std::size_t> line = FindValue(lines, *group, valueName);
  if (!line) return std::string(kRegistryErrorReadingKey);
  return std::string(std::string_view(lines[*line]).substr(lines[*line].find('=') + 1));
}

WriteResult RegistryStore::Write(std::string_view valueName, std::string_view value) {
  if (valueName.empty() || valueName.find_first_of("=[]\r\n") != std::string_view::npos ||
      value.find_first_of("\r\n") != std::string_view::npos) {
    return WriteResult::Failure("registry value " + std::string(valueName) + " cannot hold this text");
  }
  const std::optional<std::string> content = ReadWholeFile(file_);
  // Writing one value into a file whose other values could not be read would drop them all.
  if (!content && PathIsTaken(file_)) return WriteResult::Failure("cannot read " + file_.string() + ", left unchanged");
  std::vector<std::string> lines = SplitLines(content.value_or(std::string()));
  std::string entry = std::string(valueName) + "=" + std::string(value);
  std::optional<std::size_t> group = FindGroup(lines);
  if (!group) {
    lines.emplace_back(kGroupLine);
    group = lines.size() - 1;
  }
  if (const std::optional<std::size_t> line = FindValue(lines, *group, valueName)) {
    lines[*line] = std::move(entry);
  } else {
    // After the group's last value, so the file stays grouped.
    std::size_t end = *group + 1;
    while (end < lines.size() && !IsGroupLine(lines[end])) ++end;
    while (end > *group + 1 && Trimmed(lines[end - 1]).empty()) --end;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), std::move(entry));
  }
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  if (error) return WriteResult::Failure("cannot create " + file_.parent_path().string() + ": " + error.message());
  return WriteFileAtomically(file_, JoinLinesCrLf(lines));
}

}  // namespace psalmora
