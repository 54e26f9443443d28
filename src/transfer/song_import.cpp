// Songs of an export file or of CCLI files into the song store.
#include "transfer/song_import.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

#include "core/atomic_file.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "media/video_list.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"
#include "transfer/export_file.h"

namespace psalmora {
namespace {

// Waits until everything written to the folder's file system is on disk: one wait for many files.
void SyncFileSystemOf(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    ::sync();
    return;
  }
  if (::syncfs(fd) != 0) ::sync();
  ::close(fd);
}

// Writes a new song's text file, which must not exist yet. No temporary file is needed: until the list
// names the song, a half-written text belongs to nobody, and the id counter never hands out its id again.
bool WriteNewTextFile(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    ok = written > 0;
    if (ok) bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

std::string WithoutFinalLineEnd(std::string_view textFile) {
  if (textFile.ends_with(kLineEnd)) textFile.remove_suffix(kLineEnd.size());
  return std::string(textFile);
}

// Field 13 of an imported record: the entry id in this database's video list.
std::string LinkVideo(ImportContext& context, std::string_view value, ImportResult& result) {
  const std::string address(PartAt(value, 1));
  if (address.empty()) return {};
  // A bare number is the entry id of the exporting database (written so by older exports): it names
  // no video here, and adding it as an address would only make an empty entry.
  if (CountOf(value, '|') == 0 && AllDigits(value)) return {};
  if (const std::optional<std::size_t> found = FindVideoByAddress(context.videoLines, address)) {
    return std::string(RecordField(context.videoLines[*found], 1));
  }
  const DataFiles files = DataFiles::For(context.store.Files().folder);
  const std::string id = NextVideoId(files, context.videoLines);
  if (id.empty()) return {};
  const VideoEntry entry{address, std::string(PartAt(value, 2)), std::string(PartAt(value, 3)),
                         std::string(PartAt(value, 4))};
  context.videoLines.push_back(VideoEntryLine(id, FormatTimestamp(context.now), entry));
  if (!SaveVideoList(files, context.videoLines)) {
    context.videoLines.pop_back();
    return {};
  }
  result.newVideos.push_back(context.videoLines.back());
  return id;
}

}  // namespace

PreparedSong PrepareExportLine(ImportContext& context, std::string_view line, std::string_view givenId,
                               ImportResult& result) {
  ExportedSong song = ParseExportLine(line);
  PreparedSong prepared;
  prepared.textFile = std::move(song.textFile);
  for (std::size_t i = 1; i < song.fields.size(); ++i) {
    const int field = static_cast<int>(i) + 1;
    prepared.recordAfterId += '\t';
    if (field == 2 && givenId == "0") {
      prepared.recordAfterId += FormatTimestamp(context.now);
    } else if (field == 13) {
      prepared.recordAfterId += LinkVideo(context, song.fields[i], result);
    } else {
      prepared.recordAfterId += song.fields[i];
    }
  }
  prepared.recordAfterId += '\t';
  return prepared;
}

ImportResult ImportSongRecord(ImportContext& context, std::string_view line, std::string_view givenId) {
  ImportResult result;
  SongStore& store = context.store;
  store.ReloadIfChanged();
  if (store.SongListUnreadable()) return result;
  PreparedSong prepared = PrepareExportLine(context, line, givenId, result);
  if (givenId.empty()) return StoreNewSongs(store, {prepared}, std::move(result));
  const std::string id(givenId);
  std::string record = id + prepared.recordAfterId;
  const bool exists = store.FindSongPosition(id).has_value();
  const SongStore::SongWrite write = store.StoreSong(id, record, WithoutFinalLineEnd(prepared.textFile), !exists);
  result.saved = write.textSaved && write.listSaved;
  if (result.saved) result.songs.push_back({id, std::move(record), std::move(prepared.textFile)});
  return result;
}

ImportResult ImportSongLines(ImportContext& context, const std::vector<std::string>& lines) {
  ImportResult result;
  context.store.ReloadIfChanged();
  if (context.store.SongListUnreadable()) return result;
  std::vector<PreparedSong> prepared;
  prepared.reserve(lines.size());
  for (const std::string& line : lines) prepared.push_back(PrepareExportLine(context, line, "", result));
  return StoreNewSongs(context.store, prepared, std::move(result));
}

ImportResult StoreNewSongs(SongStore& store, const std::vector<PreparedSong>& songs, ImportResult result) {
  result.saved = false;
  if (songs.empty()) {
    result.saved = true;
    return result;
  }
  const std::vector<std::string> ids = store.NextSongIds(songs.size());
  if (ids.size() != songs.size()) return result;
  std::vector<std::filesystem::path> written;
  written.reserve(songs.size());
  auto removeWritten = [&written] {
    for (const std::filesystem::path& path : written) {
      std::error_code error;
      std::filesystem::remove(path, error);
    }
  };
  for (std::size_t i = 0; i < songs.size(); ++i) {
    const std::filesystem::path path = store.SongTextPath(ids[i]);
    if (path.empty() || !WriteNewTextFile(path, songs[i].textFile)) {
      removeWritten();
      return result;
    }
    written.push_back(path);
  }
  // The list is the commit: it may name the new songs only once all their texts are on disk.
  SyncFileSystemOf(store.Files().folder);
  result.songs.reserve(songs.size());
  for (std::size_t i = 0; i < songs.size(); ++i) {
    std::string record = ids[i] + songs[i].recordAfterId;
    store.InsertSongAtTop(record);
    result.songs.push_back({ids[i], std::move(record), songs[i].textFile});
  }
  result.saved = store.SaveSongList();
  if (!result.saved) {
    // A failed save reads the list again from disk, so it no longer holds the new songs.
    removeWritten();
    result.songs.clear();
  }
  return result;
}

}  // namespace psalmora
