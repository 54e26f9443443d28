// Reading and writing the video list and its id counter.
#include "media/video_list.h"

#include <algorithm>

#include "core/record_fields.h"
#include "core/text_lines.h"

namespace psalmora {
namespace {

std::string Clean(std::string_view value) {
  std::string out(value);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return out;
}

std::optional<std::size_t> FindByField(const std::vector<std::string>& lines, int field, std::string_view value) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (RecordField(lines[i], field) == value) return i;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> ReadVideoList(const DataFiles& files) {
  const std::optional<std::string> content = ReadWholeFile(files.youtubeList);
  return content ? SplitLines(*content) : std::vector<std::string>{};
}

WriteResult SaveVideoList(const DataFiles& files, const std::vector<std::string>& lines) {
  return WriteFileAtomically(files.youtubeList, JoinLinesCrLf(lines));
}

std::optional<std::size_t> FindVideoById(const std::vector<std::string>& lines, std::string_view id) {
  return FindByField(lines, 1, id);
}

std::optional<std::size_t> FindVideoByAddress(const std::vector<std::string>& lines, std::string_view address) {
  return FindByField(lines, 3, address);
}

std::string NextVideoId(const DataFiles& files, const std::vector<std::string>& lines) {
  const std::optional<std::string> counter = ReadWholeFile(files.youtubeIds);
  long long next = counter ? std::max(0LL, LeadingNumber(*counter)) : 0;
  for (const std::string& line : lines) next = std::max(next, LeadingNumber(RecordField(line, 1)));
  ++next;
  const std::string id = std::to_string(next);
  if (!WriteFileAtomically(files.youtubeIds, id + std::string(kLineEnd))) return {};
  return id;
}

std::string VideoEntryLine(std::string_view id, std::string_view added, const VideoEntry& entry) {
  return JoinAt({std::string(id), Clean(added), Clean(entry.address), Clean(entry.artist), Clean(entry.title),
                 Clean(entry.spare), ""},
                '\t');
}

VideoEntry VideoEntryAt(const std::vector<std::string>& lines, std::size_t position) {
  const std::string& line = lines.at(position);
  return {std::string(RecordField(line, 3)), std::string(RecordField(line, 5)), std::string(RecordField(line, 4)),
          std::string(RecordField(line, 6))};
}

}  // namespace psalmora
