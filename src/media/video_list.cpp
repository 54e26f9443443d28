// Reading and writing the video list and its id counter.
#include "media/video_list.h"

#include <algorithm>
#include <system_error>

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

std::filesystem::path VideoFile(const DataFiles& files, std::string_view id, std::string_view extension) {
  return files.youtubeList.parent_path() / (std::string(id) + std::string(extension));
}

VideoState VideoEntryState(const DataFiles& files, std::string_view line) {
  const std::filesystem::path video = VideoFile(files, RecordField(line, 1), ".mp4");
  std::error_code error;
  const bool present = std::filesystem::is_regular_file(video, error) && std::filesystem::file_size(video, error) > 0;
  if (!present || error) return VideoState::kNotDownloaded;
  return RecordField(line, 7) == "1" ? VideoState::kFailed : VideoState::kDownloaded;
}

std::string_view VideoStateName(VideoState state) {
  switch (state) {
    case VideoState::kDownloaded:
      return "downloaded";
    case VideoState::kFailed:
      return "failed";
    case VideoState::kNotDownloaded:
      break;
  }
  return "not downloaded";
}

std::string WithDownloadFlag(std::string_view line, std::string_view flag) {
  std::vector<std::string> fields = SplitAt(line, '\t');
  if (fields.size() < 7) fields.resize(7);
  fields[6] = std::string(flag);
  return JoinAt(fields, '\t');
}

std::size_t RemoveVideoEntries(const DataFiles& files, std::vector<std::string>& lines,
                               const std::vector<std::string>& ids) {
  std::size_t removed = 0;
  for (const std::string& id : ids) {
    if (id.empty()) continue;
    const std::optional<std::size_t> position = FindVideoById(lines, id);
    if (!position) continue;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*position));
    ++removed;
    // Ids are numbers; anything else in a damaged list must not name files outside "youtube".
    if (!AllDigits(id)) continue;
    for (const std::string_view extension : {".jpg", ".flv", ".mp4", ".wmv"}) {
      std::error_code error;
      std::filesystem::remove(VideoFile(files, id, extension), error);
    }
  }
  return removed;
}

}  // namespace psalmora
