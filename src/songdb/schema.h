// The three built-in field-definition tables (songs, selections, layouts) and access to their rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace psalmora {

// Cuts a table text into its rows: LF is dropped, CR separates rows, each row is kept whole
// ("2|Titel|feld|250"). The row count is the number of CRs plus one.
std::vector<std::string> SplitSchema(std::string_view tableText);

// The split tables, built once on first use and never changed. Texts are Windows-1252.
const std::vector<std::string>& SongSchema();
const std::vector<std::string>& SelectionSchema();
const std::vector<std::string>& LayoutSchema();

// The kind words a form understands; anything else is Unknown.
enum class FieldKind { Fix, No, Numeric, Feld, Feld2, Text, Pick, Bild, Ablauf, Format, Outline, Unknown };

// Parts of a row by name: 1 index, 2 label, 3 kind, 4 parameter; a missing part is empty.
std::string_view SchemaLabel(std::string_view row);
std::string_view SchemaKindWord(std::string_view row);
std::string_view SchemaParameter(std::string_view row);

FieldKind KindOf(std::string_view row);

// The parameter as a number of pixels: 350 when empty, 0 when it is not a number.
int FieldWidth(std::string_view row);

// Record positions of song fields that other code addresses by meaning (1-based TAB fields).
namespace song_field {
inline constexpr int kId = 1;
inline constexpr int kCreated = 2;
inline constexpr int kTitle = 3;
inline constexpr int kChords = 4;
inline constexpr int kCategory = 5;
inline constexpr int kCcli = 11;
inline constexpr int kLastChange = 12;
inline constexpr int kVideoId = 13;
inline constexpr int kOrder = 14;
inline constexpr int kTempo = 16;
inline constexpr int kGlobalId = 19;
inline constexpr int kTextFormat = 21;
inline constexpr int kCount = 21;
}  // namespace song_field

}  // namespace psalmora
