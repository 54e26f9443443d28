#include "render/song_copy.h"

#include "core/record_fields.h"
#include "render/song_lines.h"
#include "render/transpose.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"

namespace psalmora {

std::string CopyRecord(std::string_view oldRecord, std::string_view newId, std::string_view stamp, long long now,
                       long long offset) {
  std::vector<std::string> fields = SplitAt(oldRecord, '\t');
  // A record written by the form ends with a TAB; one written elsewhere (the first song) may not, and its
  // last field must be copied all the same.
  if (!oldRecord.empty() && oldRecord.back() == '\t') fields.pop_back();
  std::string record;
  const auto add = [&record](std::string_view value) {
    record += value;
    record += '\t';
  };
  add(newId);
  add(stamp);
  add(std::string(RecordField(oldRecord, song_field::kTitle)) + " kopie");
  for (std::size_t n = 4; n <= fields.size(); ++n) {
    if (n == static_cast<std::size_t>(song_field::kChords)) {
      add(TransposeKey(fields[n - 1], offset));
    } else if (n == static_cast<std::size_t>(song_field::kLastChange)) {
      add(std::to_string(now));
    } else if (n == static_cast<std::size_t>(song_field::kGlobalId)) {
      add("");
    } else {
      add(fields[n - 1]);
    }
  }
  return record;
}

std::string CopyText(const std::vector<std::string>& lines, long long offset) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The last line is ended by the CR LF the song file gets anyway; an LF of its own as well would read
    // back as one more (empty) line, an extra block and slide in every copy.
    if (i > 0) text += '\n';
    text += lines[i].starts_with('>') ? TransposeChordLine(lines[i], offset) : lines[i];
  }
  return text;
}

std::optional<SongCopy> CopySong(SongStore& store, std::string_view record, std::string_view transposeOffset) {
  if (record.empty()) return std::nullopt;
  const SongLines lines =
      LoadSongLines(store.Files().folder, RecordField(record, song_field::kId), IsInlineForm(record));
  SongCopy copy;
  copy.id = store.NextSongId();
  const long long offset = LeadingNumber(transposeOffset);
  copy.record = CopyRecord(record, copy.id, FormatTimestamp(0), CurrentTimeValue(), offset);
  copy.text = CopyText(lines.render, offset);
  // The text first, the list last: a crash in between never leaves a copy listed without its text.
  const SongStore::SongWrite written = store.StoreSong(copy.id, copy.record, copy.text, true);
  copy.saved = written.listSaved && written.textSaved;
  return copy;
}

}  // namespace psalmora
