// The video list "youtube/youtube.dat": one entry per line, seven TAB-separated fields (entry id, date
// added, web address, artist, title, a spare field, download flag), and its own id counter
// "youtube/youtube-id.dat": reading, looking up, appending, saving, the download flag and the state a
// row's icon shows, and removing entries with their files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/data_folder.h"

namespace psalmora {

// The lines of the video list; empty when the file is missing or cannot be read.
std::vector<std::string> ReadVideoList(const DataFiles& files);

// Writes every line followed by CR LF, atomically.
WriteResult SaveVideoList(const DataFiles& files, const std::vector<std::string>& lines);

// Position of the first entry whose field 1 (entry id) or field 3 (web address) equals the text.
std::optional<std::size_t> FindVideoById(const std::vector<std::string>& lines, std::string_view id);
std::optional<std::size_t> FindVideoByAddress(const std::vector<std::string>& lines, std::string_view address);

// The next entry id from the counter file, written back at once. Like the song counter it never hands
// out an id an entry already carries, even when the counter file was lost. Empty when it cannot be
// written.
std::string NextVideoId(const DataFiles& files, const std::vector<std::string>& lines);

struct VideoEntry {
  std::string address;
  std::string title;
  std::string artist;
  std::string spare;  // field 6
};

// The line of a new entry: id, date added, address, artist, title, spare, an empty download flag.
// TAB, CR and LF inside a value become a blank.
std::string VideoEntryLine(std::string_view id, std::string_view added, const VideoEntry& entry);

// The values of the entry at position (address, title, artist, spare).
VideoEntry VideoEntryAt(const std::vector<std::string>& lines, std::size_t position);

// "youtube/" + entry id + extension (".jpg", ".mp4", ".wmv", ".flv").
std::filesystem::path VideoFile(const DataFiles& files, std::string_view id, std::string_view extension);

// The icon of a row: with a non-empty ".mp4" the failed icon when the flag (field 7) is "1", the
// downloaded icon otherwise; without one (missing or empty) the not-downloaded icon.
enum class VideoState { kNotDownloaded, kDownloaded, kFailed };
VideoState VideoEntryState(const DataFiles& files, std::string_view line);
// "downloaded", "failed", "not downloaded".
std::string_view VideoStateName(VideoState state);

// The line with field 7 (the download flag) set; missing fields are added empty.
std::string WithDownloadFlag(std::string_view line, std::string_view flag);

// Removes the entries with the ids and their ".jpg", ".flv", ".mp4" and ".wmv" files; the caller saves
// the list. Returns how many entries went.
std::size_t RemoveVideoEntries(const DataFiles& files, std::vector<std::string>& lines,
                               const std::vector<std::string>& ids);

}  // namespace psalmora
