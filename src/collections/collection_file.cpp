#include "collections/collection_file.h"

#include <iostream>
#include <optional>

#include "core/atomic_file.h"
#include "core/language.h"
#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {

CollectionFileContent ReadCollectionFile(const std::filesystem::path& file) {
  CollectionFileContent read;
  const std::optional<std::string> content = ReadWholeFile(file);
  if (!content) {
    read.unreadable = PathIsTaken(file);
    return read;
  }
  for (std::string& line : SplitLines(*content)) {
    if (!line.empty()) read.records.push_back(std::move(line));
  }
  if (read.records.empty()) read.records.emplace_back(kDefaultCollectionName);
  return read;
}

std::vector<std::string> LoadCollectionFile(const std::filesystem::path& file) {
  return ReadCollectionFile(file).records;
}

bool SaveCollectionFile(const std::filesystem::path& file, const std::vector<std::string>& records) {
  if (ReadCollectionFile(file).unreadable) {
    std::cerr << "psalmora: not writing " << file.string() << ": it cannot be read\n";
    return false;
  }
  return WriteStoreFile(file, JoinLinesCrLf(records));
}

HeldCollectionFile::HeldCollectionFile(std::filesystem::path file) : file_(std::move(file)) {}

void HeldCollectionFile::Load() {
  // Taken before reading: a change in between is then seen once more, never missed.
  stamp_ = FileStamp::Of(file_);
  CollectionFileContent content = ReadCollectionFile(file_);
  records_ = std::move(content.records);
  unreadable_ = content.unreadable;
}

bool HeldCollectionFile::ReloadIfChanged() {
  if (FileStamp::Of(file_) == stamp_) return false;
  Load();
  return true;
}

bool HeldCollectionFile::Save() {
  if (!SaveCollectionFile(file_, records_)) return false;
  stamp_ = FileStamp::Of(file_);
  return true;
}

UserMessage UnreadableFileMessage(LanguageTable& language, const std::filesystem::path& file) {
  return {language.Translate("Error"),
          language.Translate("Die Datei konnte nicht gelesen werden und bleibt unver\xE4ndert:") + "\r" + file.string(),
          UserMessage::Icon::Error};
}

std::string_view CollectionName(std::string_view record) {
  return PartAt(RecordField(record, 1), 1);
}

std::string_view CollectionPoolId(std::string_view record) {
  return PartAt(RecordField(record, 2), 1);
}

std::vector<std::string> CollectionSongIds(std::string_view record) {
  std::vector<std::string> ids;
  const std::string_view field = RecordField(record, 2);
  const std::size_t bar = field.find('|');
  if (bar == std::string_view::npos) return ids;
  for (std::string& id : SplitAt(field.substr(bar + 1), '|')) {
    if (id.empty()) break;
    ids.push_back(std::move(id));
  }
  return ids;
}

int CollectionEntryCount(std::string_view record) {
  return CountOf(record, '|');
}

bool IsGroupedSong(const std::vector<std::string>& groupRecords, std::string_view id) {
  const std::string needle = "|" + std::string(id) + "|";
  for (const std::string& record : groupRecords) {
    const std::string_view ids = RecordField(record, 2);
    if (LeadingNumber(PartAt(ids, 1)) <= 0) continue;
    // The field followed by one "|", so the last id is found too.
    if ((std::string(ids) + "|").find(needle) != std::string::npos) return true;
  }
  return false;
}

bool IsGroupedSong(const std::filesystem::path& groupFile, std::string_view id) {
  return IsGroupedSong(LoadCollectionFile(groupFile), id);
}

}  // namespace psalmora
