#include "collections/collection_file.h"

#include <optional>

#include "core/atomic_file.h"
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
  return WriteStoreFile(file, JoinLinesCrLf(records));
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
