// CCLI song files into the song store, all songs of one import stored in one go.
#include "transfer/ccli_import.h"

#include "core/atomic_file.h"
#include "core/text_lines.h"
#include "songdb/song_store.h"
#include "songdb/timestamp.h"

namespace psalmora {

std::string CcliRecordAfterId(const CcliSong& song, std::string_view category, long long now) {
  const std::string stamp = FormatTimestamp(now);
  std::string record;
  for (const std::string_view value :
       {std::string_view(stamp), std::string_view(song.title), std::string_view(song.keys), category,
        std::string_view(), std::string_view(song.author), std::string_view(song.copyright), std::string_view(),
        std::string_view(), std::string_view(song.number)}) {
    record += '\t';
    record += value;
  }
  record += '\t';
  record += std::to_string(now);
  return record;
}

CcliImport ImportCcliFiles(SongStore& store, const std::vector<std::filesystem::path>& files,
                           const std::filesystem::path& pickFile, long long now) {
  CcliImport result;
  const std::string pickList = ReadWholeFile(pickFile).value_or(std::string());
  std::vector<PreparedSong> songs;
  std::vector<std::size_t> songFile;  // the outcome each prepared song belongs to
  for (const std::filesystem::path& file : files) {
    CcliFileOutcome outcome;
    outcome.file = file;
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
      outcome.problem = CcliProblem::kCannotRead;
    } else {
      CcliReading reading = ReadCcliBytes(*bytes);
      outcome.problem = reading.problem;
      if (reading.problem == CcliProblem::kNone) {
        outcome.title = reading.song.title;
        const std::string category = CategoryForThemes(pickList, reading.song.themes);
        songs.push_back({CcliRecordAfterId(reading.song, category, now), reading.song.lyrics + std::string(kLineEnd)});
        songFile.push_back(result.files.size());
      }
    }
    result.files.push_back(std::move(outcome));
  }
  result.stored = StoreSongsOfFiles(store, songs, songFile, result.files);
  return result;
}

}  // namespace psalmora
