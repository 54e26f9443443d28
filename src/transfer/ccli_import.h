// `ImportCcliFiles` without the window: every readable CCLI song file becomes a new song at the top of
// the song list, in the order given; the others are reported with the reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/ccli_file.h"
#include "transfer/song_import.h"

namespace psalmora {

class SongStore;

// The song record of a CCLI song without its id: the 12 fields ID to "letzte Änderung" with no TAB
// after the last (stamp, title, key, category, remark, authors, copyright, Bible references, picture,
// CCLI number, time of the import).
std::string CcliRecordAfterId(const CcliSong& song, std::string_view category, long long now);

struct CcliFileOutcome {
  std::filesystem::path file;
  CcliProblem problem = CcliProblem::kNone;
  std::string id;     // of the new song; empty when the file added none
  std::string title;  // Windows-1252
};

struct CcliImport {
  std::vector<CcliFileOutcome> files;  // in the order given
  ImportResult stored;                 // stored.saved is false when the songs could not be written
};

// pickFile is the category pick list "config/pick-4.dat"; a missing one gives every song category "0".
CcliImport ImportCcliFiles(SongStore& store, const std::vector<std::filesystem::path>& files,
                           const std::filesystem::path& pickFile, long long now);

}  // namespace psalmora
