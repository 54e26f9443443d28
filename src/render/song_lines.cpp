#include "render/song_lines.h"

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "render/text_columns.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"

namespace psalmora {
namespace {

constexpr std::string_view kSampleText =
    ">A  kk     o  r     d    e\r"
    "Liedtext steht hier, Halleluja!!\r"
    "#Und hier die \xDC"
    "bersetzung\r"
    ">A  kk     o  r     d    e\r"
    "Liedtext steht hier, Halleluja!!\r"
    "#Und hier die \xDC"
    "bersetzung\r"
    " \r"
    ";Hier ein Komentar";

}  // namespace

SongLineKind ClassifySongLine(std::string_view line) {
  if (line.empty()) return SongLineKind::kEmpty;
  switch (line.front()) {
    case '>':
      return SongLineKind::kChord;
    case '#':
      return SongLineKind::kTranslation;
    case ';':
      return SongLineKind::kComment;
    case '-':
      return SongLineKind::kSeparator;
    default:
      break;
  }
  if (line.find_first_not_of(' ') == std::string_view::npos) return SongLineKind::kBlank;
  return SongLineKind::kText;
}

SongLines SongLinesFromText(std::string_view text, bool inlineForm) {
  SongLines lines;
  for (std::string& line : SplitLines(text)) {
    if (inlineForm) {
      for (std::string& expanded : ExpandInlineChords(line)) lines.render.push_back(std::move(expanded));
    } else {
      lines.render.push_back(std::move(line));
    }
  }
  lines.all = lines.render;
  return lines;
}

SongLines LoadSongLines(const std::filesystem::path& dataFolder, std::string_view id, bool inlineForm) {
  const std::filesystem::path path = SongTextFile(dataFolder, id);
  if (path.empty()) return {};
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return {};
  return SongLinesFromText(*text, inlineForm);
}

std::vector<std::string> ExpandInlineChords(std::string_view line) {
  std::string chordLine = ">";
  std::string textLine;
  std::string chordName;
  std::string braceText;
  bool inChord = false;
  bool inBrace = false;
  bool hadChord = false;
  bool counting = true;
  long long n = -1;
  // A character outside Windows-1252 is a whole reference ("&#322;"): one lyric character, one column.
  for (std::size_t pos = 0, length = 0; pos < line.size(); pos += length) {
    length = CharacterLength(line, pos);
    const std::string_view character = line.substr(pos, length);
    const char c = character.size() == 1 ? character.front() : '\0';
    if (c == '[') {
      n = -1;
      chordName.clear();
      inChord = true;
      hadChord = true;
      counting = false;
    } else if (c == ']') {
      inChord = false;
      counting = true;
    } else if (c == '{') {
      counting = false;
      inBrace = true;
    } else if (c == '}') {
      counting = true;
      inBrace = false;
      const std::size_t colon = braceText.find(':');
      if (colon != std::string::npos) {
        const std::size_t next = braceText.find(':', colon + 1);
        braceText = braceText.substr(colon + 1, next == std::string::npos ? next : next - colon - 1);
      }
      textLine += braceText;
      braceText.clear();
    } else {
      if (inBrace) braceText += character;
      if (inChord) {
        chordName += character;
        chordLine += character;
      }
      if (counting) {
        ++n;
        // The chord's own letters already fill the columns of the first characters after it.
        if (n >= static_cast<long long>(ColumnCount(chordName))) chordLine += ' ';
        textLine += character;
      }
    }
  }
  if (!hadChord) return {textLine};
  const std::size_t space = chordLine.find(' ');
  if (space != std::string::npos) chordLine.erase(space, 1);
  return {chordLine, textLine};
}

bool IsInlineForm(std::string_view record) {
  return RecordField(record, song_field::kTextFormat) == "1";
}

std::string_view LayoutSampleText() {
  return kSampleText;
}

}  // namespace psalmora
