#include "songdb/new_song.h"

#include "core/record_fields.h"
#include "songdb/schema.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"

namespace psalmora {
namespace {

std::string ReplaceAll(std::string_view text, char from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c == from) {
      out += to;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::string BuildSongRecord(const std::vector<std::string>& values) {
  std::string record;
  for (int i = 0; i < song_field::kCount; ++i) {
    if (static_cast<std::size_t>(i) < values.size()) {
      for (const char c : values[static_cast<std::size_t>(i)]) {
        record.push_back((c == '\t' || c == '\r' || c == '\n') ? ' ' : c);
      }
    }
    record.push_back('\t');
  }
  return record;
}

std::string StartNewSong(SongStore& store) {
  const std::string id = store.NextSongId();
  return id + "\t" + FormatTimestamp(0) + "\t" + std::string(kNewSongTitle);
}

SongSaveResult SaveSongValues(SongStore& store, bool isNew, const std::string& editRecord,
                              std::vector<std::string> values, std::string_view text, long long now) {
  SongSaveResult result;
  store.ReloadIfChanged();
  values.resize(song_field::kCount);
  // A new song keeps the id the store handed out for it.
  if (isNew) values[song_field::kId - 1] = std::string(RecordField(editRecord, song_field::kId));
  values[song_field::kLastChange - 1] = std::to_string(now);
  result.id = values[song_field::kId - 1];
  result.record = BuildSongRecord(values);
  const SongStore::SongWrite written =
      store.StoreSong(result.id, result.record, ReplaceAll(text, '\t', "      "), isNew);
  result.listSaved = written.listSaved;
  result.textSaved = written.textSaved;
  return result;
}

SongSaveResult CreateSong(SongStore& store, std::string_view title, std::string_view text) {
  store.ReloadIfChanged();
  if (store.SongListUnreadable()) return {};
  const std::string editRecord = StartNewSong(store);
  std::vector<std::string> values;
  for (int i = 1; i <= song_field::kCount; ++i) values.emplace_back(RecordField(editRecord, i));
  values[song_field::kTitle - 1] = std::string(title);
  return SaveSongValues(store, true, editRecord, std::move(values), text, CurrentTimeValue());
}

}  // namespace psalmora
