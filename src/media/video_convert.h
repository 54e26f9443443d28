// `ConvertToWmv` with ffmpeg and the download of a video through an external downloader (yt-dlp by
// default). Both only run programs and look at the files they leave; they may run on any thread.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/libreoffice_automation.h"

namespace psalmora {

// The input path up to the first "." of its file name, then ".wmv". (The folders' dots are left alone:
// a data folder below "~/.local" must not send the result elsewhere.)
std::filesystem::path WmvOutputPath(const std::filesystem::path& input);

// The converter's parameters as one line: -y -i "in" -vcodec wmv2 -b 500k -r 25 -acodec wmav2 -ab 96k
// -ar 44100 -ac 2, two blanks, "out".
std::string ConvertToWmvParameters(const std::filesystem::path& input, const std::filesystem::path& output);
// The same parameters as the program receives them (no quotation marks).
std::vector<std::string> ConvertToWmvArguments(const std::filesystem::path& input, const std::filesystem::path& output);

// "config/ffmpeg" of the program folder when it is there and may be run, else ffmpeg found on PATH;
// empty when there is neither.
std::string FindVideoConverter(const std::filesystem::path& programFolder, const ProgramTools& tools);

struct WmvConversion {
  bool converted = false;
  std::filesystem::path output;
  std::string error;  // why not (no converter, it failed, no result)
};

// `ConvertToWmv`: runs the converter and waits for it. A missing or failing converter leaves no WMV.
WmvConversion ConvertToWmv(const ProgramTools& tools, const std::filesystem::path& programFolder,
                           const std::filesystem::path& video);

// The downloader setting cut at blanks into the program and its own arguments ("yt-dlp" when empty).
std::vector<std::string> DownloaderCommand(std::string_view setting);
// The arguments after the setting's: one file with sound and picture, preferably MP4, into target.
std::vector<std::string> DownloadArguments(std::string_view address, const std::filesystem::path& target);

struct VideoDownload {
  bool downloaded = false;  // the downloader succeeded and left a file that is not empty
  WmvConversion conversion;
  std::string error;
};

// Downloads address into target (the entry's ".mp4") with the downloader, then converts it to WMV.
VideoDownload DownloadVideo(const ProgramTools& tools, std::string_view downloaderSetting,
                            const std::filesystem::path& programFolder, std::string_view address,
                            const std::filesystem::path& target);

}  // namespace psalmora
