// Adding imported songs to the song store: `ImportSongRecord` for one song line of an export file, and
// the batch that stores many new songs (export lines, CCLI files) with one id-counter write, one wait
// for the disk and one save of the song list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/data_folder.h"
#include "songdb/song_store.h"

namespace psalmora {


struct ImportContext {
  SongStore& store;
  std::vector<std::string>& videoLines;  // the video list "youtube/youtube.dat", kept in step
  long long now = 0;                     // the import's time value
};

struct ImportedSong {
  std::string id;
  std::string record;
  std::string textFile;  // the bytes of its text file
};

struct ImportResult {
  std::vector<ImportedSong> songs;     // in import order; the last stands at the top of the list
  std::vector<std::string> newVideos;  // lines appended to the video list (already saved)
  bool saved = false;                  // the songs' texts and the song list are on disk
};

// A song ready for the store: its record without the id (it is put in front) and its text file bytes.
struct PreparedSong {
  std::string recordAfterId;
  std::string textFile;
};

// The record of a song line of an export file without its id: "Erstellt am" becomes the import time's
// stamp when givenId is "0"; field 13 is looked up in the video list by its web address (an unknown
// address is added to the list, a bare entry id of another database names nothing here and is dropped).
PreparedSong PrepareExportLine(ImportContext& context, std::string_view line, std::string_view givenId,
                               ImportResult& result);

// `ImportSongRecord`: one song line; an empty givenId takes a new id and puts the song at the top, a
// given id replaces the record of that id in place (or puts it at the top when there is none).
ImportResult ImportSongRecord(ImportContext& context, std::string_view line, std::string_view givenId);

// Every line as a new song, in order (the last at the top), stored in one go.
ImportResult ImportSongLines(ImportContext& context, const std::vector<std::string>& lines);

// Stores new songs in the order that survives a crash: every text first (synced to disk together),
// then the records at the top of the list in order and the list saved. Nothing is kept when a text
// or the list cannot be written.
ImportResult StoreNewSongs(SongStore& store, const std::vector<PreparedSong>& songs, ImportResult result = {});

// The songs read from files, stored in one go on the newest song list (nothing when that list cannot be
// read); songFile[i] is the place in files of the file songs[i] came from, whose id is filled in.
template <typename FileOutcome>
ImportResult StoreSongsOfFiles(SongStore& store, const std::vector<PreparedSong>& songs,
                               const std::vector<std::size_t>& songFile, std::vector<FileOutcome>& files) {
  store.ReloadIfChanged();
  if (store.SongListUnreadable()) return {};
  ImportResult stored = StoreNewSongs(store, songs);
  for (std::size_t i = 0; i < stored.songs.size() && i < songFile.size(); ++i) files[songFile[i]].id = stored.songs[i].id;
  return stored;
}

}  // namespace psalmora
