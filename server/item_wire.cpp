// Request lists and reply entries of songs and selections.
#include "server/item_wire.h"

#include <array>
#include <unordered_set>

#include "server/song_compare.h"

namespace psalmora::server {

namespace {

constexpr std::size_t kMaxGlobalIdBytes = 100;

// A value made safe for a reply: line ends become the two characters "\n" in the lyrics and a blank
// elsewhere, a TAB a blank, and a separator's "[" a "(" so the entry keeps its shape.
void AppendValue(std::string& out, std::string_view value, bool lyrics) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += lyrics ? "\\n" : " ";
    } else if (c == '\t') {
      out += ' ';
    } else if (c == '[' &&
               (value.substr(i).starts_with(kFieldSeparator) || value.substr(i).starts_with(kEntrySeparator) ||
                value.substr(i).starts_with(kSectionSeparator))) {
      out += '(';
    } else {
      out += c;
    }
  }
}

// The creation time of a song entry is always a number of seconds, also when a client sent a date text.
std::string CreationSeconds(const std::string& stored) {
  const auto seconds = ParseChangeTime(stored);
  return seconds ? std::to_string(*seconds) : stored;
}

}  // namespace

bool IsUsableGlobalId(std::string_view globalId) {
  if (globalId.empty() || globalId.size() > kMaxGlobalIdBytes) return false;
  for (char c : globalId) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
    if (c == '-' || c == '|' || c == ',' || c == '[' || c == ']') return false;
  }
  return true;
}

std::vector<std::string> SplitGlobalIds(std::string_view list) {
  std::vector<std::string> ids;
  std::unordered_set<std::string_view> seen;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find('|', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view id = list.substr(start, end - start);
    if (IsUsableGlobalId(id) && seen.insert(id).second) ids.emplace_back(id);
    start = end + 1;
  }
  return ids;
}

std::vector<ChangeStamp> SplitStampList(std::string_view list) {
  std::vector<ChangeStamp> stamps;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(kFieldSeparator, start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view item = list.substr(start, end - start);
    start = end + kFieldSeparator.size();
    const std::size_t dash = item.find('-');
    const std::string_view id = item.substr(0, dash);
    if (!IsUsableGlobalId(id)) continue;
    stamps.push_back(
        {std::string(id), dash == std::string_view::npos ? std::string() : std::string(item.substr(dash + 1))});
  }
  return stamps;
}

std::string FormatEntry(ItemKind kind, const Item& item) {
  const auto value = [&](std::string_view name) -> const std::string& {
    return item.values.at(FieldIndex(kind, name));
  };
  std::string entry;
  AppendValue(entry, item.globalId, false);
  const auto add = [&](std::string_view text, bool lyrics = false) {
    entry += kFieldSeparator;
    AppendValue(entry, text, lyrics);
  };
  if (kind == ItemKind::kSong) {
    add(value("titel"));
    add(value("textumusik"));
    add(value("copyright"));
    add(value("ccli_liednummer"));
    add(value("bemerkung"));
    add(value("akkordzeile"));
    add(value("link1"));
    entry += kFieldSeparator;  // field 9 is not used
    add(value("songtempo"));
    add(value("liedtext"), true);
    add(CreationSeconds(value("erstellt_am")));
    entry += kFieldSeparator;  // 13
    add(value("geaendert_am"));
    entry += kFieldSeparator;  // 15
    add(value("tonart"));
    add(value("textformatierung"));
  } else {
    add(value("name"));
    add(value("allesongids"));
    add(value("erstellt_am"));
    add(value("erstellt_von"));
    add(value("geaendert_am"));
    add(value("geaendert_von"));
    add(value("rechte"));
  }
  return entry;
}

}  // namespace psalmora::server
