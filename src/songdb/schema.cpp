#include "songdb/schema.h"

#include <algorithm>

#include "core/record_fields.h"

namespace psalmora {
namespace {

// The tables exactly as the program has always carried them: CR LF between rows, none after the last.
// Umlauts are Windows-1252 bytes; string pieces are split after each escape so no letter is eaten by it.
constexpr std::string_view kSongTable =
    "0|ID|fix|id\r\n"
    "1|Erstellt am|fix\r\n"
    "2|Titel|feld|250\r\n"
    "3|Akkorde|feld|250\r\n"
    "4|Kategorie|pick|list\r\n"
    "5|Bemerkung|feld|250\r\n"
    "6|Text u. Musik|feld|250\r\n"
    "7|Copyright|feld|250\r\n"
    "8|Bibelstellen|feld|250\r\n"
    "9|Hintergrundbild|bild\r\n"
    "10|CCLI Liednummer|numeric|100\r\n"
    "11|letzte \xC4"
    "nderung|fix|datum\r\n"
    "12|Videoverkn\xFC"
    "pfung - ID|no|40\r\n"
    "13|Ablauf|ablauf\r\n"
    "14|youtubelink|feld|250\r\n"
    "15|Tempo|numeric|30\r\n"
    "16|Favourit|no\r\n"
    "17|syncstate|no\r\n"
    "18|globalid|no\r\n"
    "19|tonart|no\r\n"
    "20|textformatierung|no";

constexpr std::string_view kSelectionTable =
    "0|name\r\n"
    "1|allesongids\r\n"
    "2|global_id\r\n"
    "3|rechte\r\n"
    "4|erstellt_am\r\n"
    "5|erstellt_von\r\n"
    "6|geaendert_am\r\n"
    "7|geaendert_von";

constexpr std::string_view kLayoutTable =
    "0|Name|feld|250\r\n"
    "1|Beschreibung|feld|250\r\n"
    "2|Hintergrundfarbe|feld|250\r\n"
    "3|Hintergrundbild|bild|150\r\n"
    "4|LayoutCode|text|400\r\n"
    "5|Akkorde|format|250\r\n"
    "6|Text|format|250\r\n"
    "7|\xDC"
    "bersetzung|format|250\r\n"
    "8|Kommentar|format|250\r\n"
    "9|Textumrandung|outline";

struct KindWord {
  std::string_view word;
  FieldKind kind;
};

constexpr KindWord kKindWords[] = {
    {"fix", FieldKind::Fix},       {"no", FieldKind::No},           {"numeric", FieldKind::Numeric},
    {"feld", FieldKind::Feld},     {"feld2", FieldKind::Feld2},     {"text", FieldKind::Text},
    {"pick", FieldKind::Pick},     {"bild", FieldKind::Bild},       {"ablauf", FieldKind::Ablauf},
    {"format", FieldKind::Format}, {"outline", FieldKind::Outline},
};

}  // namespace

std::vector<std::string> SplitSchema(std::string_view tableText) {
  std::string text;
  text.reserve(tableText.size());
  std::copy_if(tableText.begin(), tableText.end(), std::back_inserter(text), [](char c) { return c != '\n'; });
  return SplitAt(text, '\r');
}

const std::vector<std::string>& SongSchema() {
  static const std::vector<std::string> rows = SplitSchema(kSongTable);
  return rows;
}

const std::vector<std::string>& SelectionSchema() {
  static const std::vector<std::string> rows = SplitSchema(kSelectionTable);
  return rows;
}

const std::vector<std::string>& LayoutSchema() {
  static const std::vector<std::string> rows = SplitSchema(kLayoutTable);
  return rows;
}

std::string_view SchemaLabel(std::string_view row) {
  return PartAt(row, 2);
}
std::string_view SchemaKindWord(std::string_view row) {
  return PartAt(row, 3);
}
std::string_view SchemaParameter(std::string_view row) {
  return PartAt(row, 4);
}

FieldKind KindOf(std::string_view row) {
  const std::string_view word = SchemaKindWord(row);
  for (const KindWord& entry : kKindWords) {
    if (entry.word == word) return entry.kind;
  }
  return FieldKind::Unknown;
}

int FieldWidth(std::string_view row) {
  const std::string_view parameter = SchemaParameter(row);
  if (parameter.empty()) return 350;
  const long long width = LeadingNumber(parameter);
  return static_cast<int>(std::clamp<long long>(width, 0, 100000));
}

}  // namespace psalmora
