// The files of selections ("auswahl.dat") and groups ("gruppierung.dat"): one SongCollection record per
// line, TAB-separated in the order of SelectionSchema, and the group membership test of the song lists.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_folder.h"
#include "core/file_stamp.h"

namespace psalmora {

class LanguageTable;

// Record given to a file that opened but held no record.
inline constexpr std::string_view kDefaultCollectionName = "Standard Eintrag";

// A collection file as read: its records, and whether it is there but could not be read (a missing
// file is no error: it has no records yet).
struct CollectionFileContent {
  std::vector<std::string> records;
  bool unreadable = false;
};

// Every non-empty line of file as one record; "Standard Eintrag" alone when the file opened but held
// none; no records when it does not open.
CollectionFileContent ReadCollectionFile(const std::filesystem::path& file);
// The records of ReadCollectionFile.
std::vector<std::string> LoadCollectionFile(const std::filesystem::path& file);

// Writes every record as one CR LF line, atomically; a failure goes to stderr and returns false. A file
// that is there but cannot be read is never written: its records were never seen, so whatever a
// writer holds would replace them all.
bool SaveCollectionFile(const std::filesystem::path& file, const std::vector<std::string>& records);

// A collection file kept in memory across several changes (the collection editor holds one while it
// is open), with the file's stamp when its records were read or written. Before each change the
// holder calls ReloadIfChanged, so a change another writer made meanwhile is read, not written over.
class HeldCollectionFile {
 public:
  explicit HeldCollectionFile(std::filesystem::path file);

  // Reads the file as ReadCollectionFile does.
  void Load();
  // Reads the file again when it changed on disk since it was read or written; true when it did, so
  // the rows on screen can be filled again.
  bool ReloadIfChanged();
  // True when the file is there but could not be read: Save refuses then.
  bool Unreadable() const { return unreadable_; }
  std::vector<std::string>& Records() { return records_; }
  const std::vector<std::string>& Records() const { return records_; }
  const std::filesystem::path& File() const { return file_; }
  // SaveCollectionFile of the records.
  bool Save();

 private:
  std::filesystem::path file_;
  std::vector<std::string> records_;
  bool unreadable_ = false;
  FileStamp stamp_;
};

// The error shown when a collection file (or another store file) cannot be read and so is not
// written: "Die Datei konnte nicht gelesen werden und bleibt unverändert:" and the path.
UserMessage UnreadableFileMessage(LanguageTable& language, const std::filesystem::path& file);

// The name: text before the first TAB, cut at its first "|".
std::string_view CollectionName(std::string_view record);
// The data-pool id of a group: "allesongids" up to its first "|" (empty for selections).
std::string_view CollectionPoolId(std::string_view record);
// The song ids in order, stopping at the first empty one ("|12||15" gives only 12).
std::vector<std::string> CollectionSongIds(std::string_view record);
// The entry count shown beside a name: every "|" of the whole record.
int CollectionEntryCount(std::string_view record);

// True when the song belongs to a group with a data-pool id greater than 0.
bool IsGroupedSong(const std::vector<std::string>& groupRecords, std::string_view id);
// The same, loading the group file first (as a single row does).
bool IsGroupedSong(const std::filesystem::path& groupFile, std::string_view id);

}  // namespace psalmora
