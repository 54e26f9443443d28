// The texts of songs and selections on the wire: the id lists and compare lists of requests, and the
// entries of compare replies, whose separators ("[spalte]", "[zeile2]", "[zeile]" and, on the client,
// TAB) must never occur inside a value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/service_store.h"

namespace psalmora::server {

inline constexpr std::string_view kFieldSeparator = "[spalte]";
inline constexpr std::string_view kEntrySeparator = "[zeile2]";
inline constexpr std::string_view kSectionSeparator = "[zeile]";

// A global id a client may name: 1 to 100 bytes, no control character, blank or separator of the lists
// ("-", "|", ",", "[", "]").
bool IsUsableGlobalId(std::string_view globalId);

// "g1|g2|g3": the usable ids, each once, in order (empty parts and unusable ids are skipped).
std::vector<std::string> SplitGlobalIds(std::string_view list);

// "gid-date[spalte]gid-date[spalte]…", each item split at its first "-"; items with unusable ids are
// skipped.
std::vector<ChangeStamp> SplitStampList(std::string_view list);

// A reply entry: 17 fields for a song, 8 for a selection.
std::string FormatEntry(ItemKind kind, const Item& item);

}  // namespace psalmora::server
