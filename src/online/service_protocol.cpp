// Requests and reply forms of the song-management service.
#include "online/service_protocol.h"

#include <ctime>

#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "core/text_lines.h"
#include "online/song_sync.h"
#include "online/web_access.h"
#include "songdb/schema.h"

namespace psalmora {
namespace {

// Pieces of text cut at a separator of several characters; empty pieces are kept.
std::vector<std::string_view> SplitText(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::vector<std::string> NonEmptyPieces(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  for (const std::string_view piece : SplitText(text, separator)) {
    if (!piece.empty()) pieces.emplace_back(piece);
  }
  return pieces;
}

// The first count fields of an entry; complete when there were that many.
std::vector<std::string> EntryFields(std::string_view entry, std::size_t count, bool& complete) {
  std::vector<std::string> fields;
  fields.reserve(count);
  for (const std::string_view field : SplitText(entry, "[spalte]")) {
    if (fields.size() == count) break;
    fields.emplace_back(field);
  }
  complete = fields.size() == count;
  fields.resize(count);
  return fields;
}

void AddValue(std::string& query, std::string_view key, std::string_view value) {
  if (!query.empty()) query.push_back('&');
  query.append(key).push_back('=');
  query.append(UrlEncodeText(value));
}

std::string F(std::string_view record, int n) {
  return std::string(RecordField(record, n));
}

// Song record fields the requests carry (the creation and the global id aside).
void AddSongFields(std::string& query, std::string_view record, std::string_view lyrics) {
  AddValue(query, "titel", F(record, 3));
  AddValue(query, "textumusik", F(record, 7));
  AddValue(query, "copyright", F(record, 8));
  AddValue(query, "ccli_liednummer", F(record, 11));
  AddValue(query, "akkordzeile", F(record, 4));
  AddValue(query, "bemerkung", F(record, 6));
  AddValue(query, "link1", F(record, 15));
  AddValue(query, "songtempo", F(record, 16));
  AddValue(query, "liedtext", lyrics);
}

}  // namespace

std::string ServiceUrl(std::string_view serverAddress) {
  std::string base(serverAddress);
  while (!base.empty() && (base.back() == '/' || base.back() == ' ')) base.pop_back();
  return base + std::string(kServicePath) + "?";
}

std::string RepairUtf8Umlauts(std::string_view text) {
  static constexpr struct {
    unsigned char second;
    char replacement;
  } kPairs[] = {{0x84, '\xC4'}, {0x96, '\xD6'}, {0x9C, '\xDC'}, {0xA4, '\xE4'},
                {0xB6, '\xF6'}, {0xBC, '\xFC'}, {0x9F, '\xDF'}};
  // Each pair is a C3 byte and one of the second bytes; as no second byte is C3, one pass replacing
  // every pair gives what replacing them one kind after another does.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\xC3' && i + 1 < text.size()) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      bool replaced = false;
      for (const auto& pair : kPairs) {
        if (pair.second == second) {
          out.push_back(pair.replacement);
          replaced = true;
          break;
        }
      }
      if (replaced) {
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string ReplyToCp1252(std::string_view reply) {
  if (!IsValidUtf8(reply)) return std::string(reply);
  return Utf8ToCp1252(RepairUtf8Umlauts(reply));
}

CompareReply ParseCompareReply(std::string_view reply) {
  CompareReply parsed;
  const std::vector<std::string_view> sections = SplitText(reply, "[zeile]");
  const auto section = [&](std::size_t n) { return n <= sections.size() ? sections[n - 1] : std::string_view(); };
  // A reply that is an error text, or anything but the four sections, lists nothing.
  if (sections.size() < 4 || reply.rfind("error|", 0) == 0) return parsed;
  parsed.deletedGlobalIds = NonEmptyPieces(section(1), "|");
  parsed.newEntries = NonEmptyPieces(section(2), "[zeile2]");
  parsed.requestedGlobalIds = NonEmptyPieces(section(3), ",");
  parsed.changedEntries = NonEmptyPieces(section(4), "[zeile2]");
  return parsed;
}

ServiceSongEntry ParseSongEntry(std::string_view entry) {
  ServiceSongEntry parsed;
  parsed.fields = EntryFields(entry, 17, parsed.complete);
  return parsed;
}

ServiceSelectionEntry ParseSelectionEntry(std::string_view entry) {
  ServiceSelectionEntry parsed;
  parsed.fields = EntryFields(entry, 8, parsed.complete);
  return parsed;
}

std::optional<long long> ParseTimestampText(std::string_view text) {
  // dd.mm.yyyy-hh:mm
  if (text.size() != 16 || text[2] != '.' || text[5] != '.' || text[10] != '-' || text[13] != ':') return std::nullopt;
  const auto number = [&](std::size_t at, std::size_t length) -> int {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const int day = number(0, 2), month = number(3, 2), year = number(6, 4), hour = number(11, 2), minute = number(14, 2);
  if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1970 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59) {
    return std::nullopt;
  }
  std::tm fields{};
  fields.tm_mday = day;
  fields.tm_mon = month - 1;
  fields.tm_year = year - 1900;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  return static_cast<long long>(timegm(&fields));
}

std::string CreationNumber(std::string_view created) {
  const std::optional<long long> seconds = ParseTimestampText(created);
  return std::to_string(seconds ? *seconds : 0);
}

std::string LyricsValue(std::string_view songTextFile) {
  std::string lyrics;
  bool first = true;
  for (const std::string& line : SplitLines(songTextFile)) {
    if (!first) lyrics.append("\\n");
    lyrics.append(line);
    first = false;
  }
  return lyrics;
}

std::string LyricsToSongText(std::string_view lyrics) {
  std::string text;
  text.reserve(lyrics.size());
  for (std::size_t i = 0; i < lyrics.size(); ++i) {
    if (lyrics[i] == '\\' && i + 1 < lyrics.size() && lyrics[i + 1] == 'n') {
      text.push_back('\r');
      ++i;
    } else {
      text.push_back(lyrics[i]);
    }
  }
  return text;
}

bool IsPlausibleGlobalId(std::string_view id) {
  if (id.empty() || id.size() > 100) return false;
  for (const char c : id) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string PingQuery() {
  return "aktion=ping";
}

std::string LoginQuery(std::string_view email, std::string_view password) {
  std::string query;
  AddValue(query, "email", email);
  AddValue(query, "password", password);
  AddValue(query, "aktion", "login");
  return query;
}

std::string NewSongQuery(std::string_view userId, std::string_view record, std::string_view lyrics) {
  std::string query;
  AddValue(query, "userid", userId);
  AddValue(query, "aktion", "neuersong");
  AddValue(query, "id", F(record, song_field::kId));
  AddSongFields(query, record, lyrics);
  AddValue(query, "erstellt_am", CreationNumber(RecordField(record, song_field::kCreated)));
  AddValue(query, "erstellt_von", userId);
  AddValue(query, "geaendert_am", F(record, song_field::kLastChange));
  AddValue(query, "tonart", F(record, 20));
  AddValue(query, "textformatierung", F(record, song_field::kTextFormat));
  return query;
}

std::string ChangeSongQuery(std::string_view userId, std::string_view record, std::string_view lyrics) {
  std::string query;
  AddValue(query, "aktion", "changesong");
  AddValue(query, "userid", userId);
  AddValue(query, "id", F(record, song_field::kId));
  AddSongFields(query, record, lyrics);
  AddValue(query, "geaendert_am", F(record, song_field::kLastChange));
  AddValue(query, "geaendert_von", userId);
  AddValue(query, "global_id", F(record, song_field::kGlobalId));
  AddValue(query, "tonart", F(record, 20));
  AddValue(query, "textformatierung", F(record, song_field::kTextFormat));
  return query;
}

std::string DeleteQuery(std::string_view action, std::string_view list, std::string_view userId) {
  if (!list.empty()) list.remove_suffix(1);
  std::string query;
  AddValue(query, "aktion", action);
  AddValue(query, "songstring", list);
  AddValue(query, "userid", userId);
  return query;
}

std::string CompareQuery(std::string_view action, std::string_view items, std::string_view userId, bool last) {
  std::string query;
  AddValue(query, "aktion", action);
  AddValue(query, "songstring", items);
  AddValue(query, "userid", userId);
  AddValue(query, "part", last ? "fertig" : "teil");
  return query;
}

std::string Pool43Query(std::string_view userId) {
  std::string query;
  AddValue(query, "aktion", "getids43");
  AddValue(query, "userid", userId);
  return query;
}

std::string SelectionSongsForService(std::string_view allesongids, const GlobalIdMap& globalIds) {
  const std::size_t bar = allesongids.find('|');
  if (bar == std::string_view::npos) return {};
  std::string list;
  for (const std::string_view id : SplitText(allesongids.substr(bar + 1), "|")) {
    const auto found = globalIds.find(std::string(id));
    if (id.empty() || found == globalIds.end() || found->second.empty()) continue;
    if (!list.empty()) list.push_back('|');
    list.append(found->second);
  }
  return list;
}

std::string SelectionSongsFromService(std::string_view globalList,
                                      const std::unordered_map<std::string, std::string>& localIds) {
  std::string ids;
  for (const std::string_view globalId : SplitText(globalList, "|")) {
    if (globalId.empty()) continue;
    const auto found = localIds.find(std::string(globalId));
    if (found != localIds.end()) ids.append("|").append(found->second);
  }
  return ids;
}

std::string SelectionQuery(bool isNew, std::string_view userId, std::string_view record, const GlobalIdMap& globalIds) {
  std::string query;
  if (isNew) {
    AddValue(query, "userid", userId);
    AddValue(query, "aktion", "neueplaylist");
  } else {
    AddValue(query, "aktion", "changeplaylist");
    AddValue(query, "userid", userId);
  }
  AddValue(query, "name", F(record, 1));
  AddValue(query, "allesongids", SelectionSongsForService(RecordField(record, 2), globalIds));
  AddValue(query, "global_id", isNew ? std::string() : F(record, 3));
  AddValue(query, "rechte", F(record, 4));
  AddValue(query, "erstellt_am", F(record, 5));
  const std::string createdBy = F(record, 6);
  AddValue(query, "erstellt_von", createdBy.empty() ? std::string(userId) : createdBy);
  AddValue(query, "geaendert_am", F(record, 7));
  AddValue(query, "geaendert_von", F(record, 8));
  return query;
}

std::string WithField(std::string_view record, int n, std::string_view value) {
  std::vector<std::string> fields = SplitAt(record, '\t');
  const bool finalTab = !record.empty() && record.back() == '\t';
  if (finalTab) fields.pop_back();
  if (fields.size() < static_cast<std::size_t>(n)) fields.resize(static_cast<std::size_t>(n));
  fields[static_cast<std::size_t>(n - 1)] = std::string(value);
  std::string rebuilt = JoinAt(fields, '\t');
  if (finalTab) rebuilt.push_back('\t');
  return rebuilt;
}

}  // namespace psalmora
