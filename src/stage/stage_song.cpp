// Builds the stage song with the preview's own chord cutting (chord_line), so a chord sits over the same
// syllable on a phone as on the preview and the printed sheet.
#include "stage/stage_song.h"

#include <optional>

#include "core/record_fields.h"
#include "core/text_encoding.h"
#include "render/chord_line.h"
#include "render/slides.h"
#include "render/song_lines.h"
#include "songdb/schema.h"

namespace psalmora {
namespace {

constexpr std::string_view kNbsp = "&nbsp;";
constexpr char kOrderBreak = '\x81';

// "&nbsp;" becomes the byte 0xA0 (no-break space in Windows-1252) before the text turns into UTF-8.
std::string NbspBytes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, kNbsp.size(), kNbsp) == 0) {
      out += '\xA0';
      i += kNbsp.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string Trimmed(std::string text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
  return text;
}

std::string ChordOfSegment(std::string_view segment) {
  std::string chord = NbspBytes(segment);
  for (char& c : chord) {
    if (c == '\xA0') c = ' ';
  }
  return Trimmed(std::move(chord));
}

std::vector<std::string> OrderParts(std::string_view order) {
  std::vector<std::string> parts;
  for (std::string& part : SplitAt(order, kOrderBreak)) {
    part = Trimmed(std::move(part));
    if (!part.empty()) parts.push_back(Cp1252ToUtf8(part));
  }
  return parts;
}

}  // namespace

StageSong BuildStageSong(std::string_view record, std::vector<std::string> lines) {
  StageSong song;
  song.id = std::string(RecordField(record, song_field::kId));
  song.title = Cp1252ToUtf8(RecordField(record, song_field::kTitle));
  song.tempo = Cp1252ToUtf8(RecordField(record, song_field::kTempo));
  song.key = std::string(RecordField(record, song_field::kChords));
  song.order = OrderParts(RecordField(record, song_field::kOrder));

  // The block boundaries of the beamer's paging: empty lines are separators, each separator ends a block.
  EmptyLinesToSeparators(lines);
  song.blocks.emplace_back();
  std::optional<ChordSplit> pending;
  for (std::string& line : lines) {
    std::vector<StageLine>& block = song.blocks.back();
    switch (ClassifySongLine(line)) {
      case SongLineKind::kSeparator:
      case SongLineKind::kEmpty:
        song.blocks.emplace_back();
        break;
      case SongLineKind::kChord:
        // A line of only ">" leaves earlier chords waiting, as on the preview.
        if (std::optional<ChordSplit> split = SplitRawChordLine(line)) pending = std::move(split);
        break;
      case SongLineKind::kComment:
        break;
      case SongLineKind::kBlank:
        block.push_back({StageLineKind::kBlank, {}, {}});
        break;
      case SongLineKind::kTranslation:
        line.erase(0, 1);
        block.push_back({StageLineKind::kTranslation, Cp1252ToUtf8(line), {}});
        break;
      case SongLineKind::kText: {
        if (!pending) {
          block.push_back({StageLineKind::kText, Cp1252ToUtf8(line), {}});
          break;
        }
        const std::vector<std::string> text = SplitTextLine(line, pending->columns, pending->segments);
        StageLine cells{StageLineKind::kChords, {}, {}};
        for (std::size_t i = 0; i < pending->segments.size(); ++i) {
          const std::string piece = i < text.size() ? NbspBytes(text[i]) : std::string();
          cells.cells.push_back({ChordOfSegment(pending->segments[i]), Cp1252ToUtf8(piece)});
        }
        block.push_back(std::move(cells));
        pending.reset();
        break;
      }
    }
  }
  return song;
}

}  // namespace psalmora
