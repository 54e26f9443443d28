// The song-management service's requests and reply forms: query building for songs and selections,
// the conversion of replies to Windows-1252, and the time texts the requests carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace psalmora {

// A reply as the core keeps text: valid UTF-8 is repaired (RepairUtf8Umlauts) and converted to
// Windows-1252; anything else keeps its bytes.
std::string ReplyToCp1252(std::string_view reply);

// "dd.mm.yyyy-hh:mm" read as UTC, in seconds since 1970; nothing when the text is not of that form.
std::optional<long long> ParseTimestampText(std::string_view text);

// Field 2 of a song ("Erstellt am") as the decimal seconds the service wants; "0" when unreadable.
std::string CreationNumber(std::string_view created);

// The song's text lines joined by the two characters "\n" (the text file's final line end dropped).
std::string LyricsValue(std::string_view songTextFile);
// The other way: every "\n" becomes CR, as the song text is stored.
std::string LyricsToSongText(std::string_view lyrics);

// A global id the service may hand out: 1 to 100 letters, digits, "_" or ".". Anything else (an empty
// text, a "-" that would break the compare list, separators of the files) names no song.
bool IsPlausibleGlobalId(std::string_view id);

// Queries (without the service address); every value is encoded with UrlEncodeText.
std::string PingQuery();
std::string LoginQuery(std::string_view email, std::string_view password);
std::string NewSongQuery(std::string_view userId, std::string_view record, std::string_view lyrics);
std::string ChangeSongQuery(std::string_view userId, std::string_view record, std::string_view lyrics);
// action "deletesongs" or "deleteplaylist"; list as remembered ("g1|g2|"), its last character dropped.
std::string DeleteQuery(std::string_view action, std::string_view list, std::string_view userId);
// action "abgleich" or "abgleichplaylist"; items "gid-date[spalte]…".
std::string CompareQuery(std::string_view action, std::string_view items, std::string_view userId, bool last);
std::string Pool43Query(std::string_view userId);

// Local song id -> global id of the songs that have one.
using GlobalIdMap = std::unordered_map<std::string, std::string>;
// "|12|15|3" (the part before the first "|" dropped) as the global ids joined by "|"; songs without a
// global id are left out.
std::string SelectionSongsForService(std::string_view allesongids, const GlobalIdMap& globalIds);
// The reverse: global ids joined by "|" -> "|" + local ids; global ids without a local song are left out.
std::string SelectionSongsFromService(std::string_view globalList,
                                      const std::unordered_map<std::string, std::string>& localIds);
// "neueplaylist" (global id empty) or "changeplaylist" for a selection record: every field in schema
// order; an empty erstellt_von goes out as the user id.
std::string SelectionQuery(bool isNew, std::string_view userId, std::string_view record, const GlobalIdMap& globalIds);

// The record's field n (1-based) set to value; the record keeps its form (a final TAB stays).
std::string WithField(std::string_view record, int n, std::string_view value);

}  // namespace psalmora
