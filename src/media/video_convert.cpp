// Running the converter and the downloader.
#include "media/video_convert.h"

#include <unistd.h>

#include <system_error>

namespace psalmora {
namespace {

constexpr int kConvertTimeoutMs = 60 * 60 * 1000;  // an hour-long service recording takes minutes
constexpr int kDownloadTimeoutMs = 60 * 60 * 1000;

bool NonEmptyFile(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error) && std::filesystem::file_size(file, error) > 0 && !error;
}

}  // namespace

std::filesystem::path WmvOutputPath(const std::filesystem::path& input) {
  const std::string name = input.filename().string();
  return input.parent_path() / (name.substr(0, name.find('.')) + ".wmv");
}

std::string ConvertToWmvParameters(const std::filesystem::path& input, const std::filesystem::path& output) {
  return "-y -i \"" + input.string() + "\" -vcodec wmv2 -b 500k -r 25 -acodec wmav2 -ab 96k -ar 44100 -ac 2  \"" +
         output.string() + "\"";
}

std::vector<std::string> ConvertToWmvArguments(const std::filesystem::path& input,
                                               const std::filesystem::path& output) {
  return {"-y",      "-i",    input.string(), "-vcodec", "wmv2", "-b",    "500k", "-r", "25",
          "-acodec", "wmav2", "-ab",          "96k",     "-ar",  "44100", "-ac",  "2",  output.string()};
}

std::string FindVideoConverter(const std::filesystem::path& programFolder, const ProgramTools& tools) {
  const std::filesystem::path own = programFolder / "config" / "ffmpeg";
  std::error_code error;
  if (std::filesystem::is_regular_file(own, error) && ::access(own.c_str(), X_OK) == 0) return own.string();
  return tools.find ? tools.find("ffmpeg") : std::string();
}

WmvConversion ConvertToWmv(const ProgramTools& tools, const std::filesystem::path& programFolder,
                           const std::filesystem::path& video) {
  WmvConversion result;
  result.output = WmvOutputPath(video);
  const std::string converter = FindVideoConverter(programFolder, tools);
  if (converter.empty()) {
    result.error = "ffmpeg was not found";
    return result;
  }
  const ProgramRun run = tools.run(converter, ConvertToWmvArguments(video, result.output), kConvertTimeoutMs);
  if (!run.started) {
    result.error = converter + " could not be started";
  } else if (run.timedOut) {
    result.error = converter + " took too long";
  } else if (run.exitCode != 0) {
    result.error = converter + " failed with status " + std::to_string(run.exitCode);
  } else if (!NonEmptyFile(result.output)) {
    result.error = converter + " left no " + result.output.string();
  } else {
    result.converted = true;
  }
  if (!result.converted) {
    // Half a file would later pass for the converted video.
    std::error_code error;
    std::filesystem::remove(result.output, error);
  }
  return result;
}

std::vector<std::string> DownloaderCommand(std::string_view setting) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : setting) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  if (words.empty()) words.push_back("yt-dlp");
  return words;
}

std::vector<std::string> DownloadArguments(std::string_view address, const std::filesystem::path& target) {
  // "--" before the address: an address that starts with "-" is never taken for an option.
  return {"-f", "b[ext=mp4]/b",      "--no-playlist", "--no-part", "--force-overwrites", "-o", target.string(),
          "--", std::string(address)};
}

VideoDownload DownloadVideo(const ProgramTools& tools, std::string_view downloaderSetting,
                            const std::filesystem::path& programFolder, std::string_view address,
                            const std::filesystem::path& target) {
  VideoDownload result;
  std::vector<std::string> command = DownloaderCommand(downloaderSetting);
  std::string program = command.front();
  if (program.find('/') == std::string::npos && tools.find) program = tools.find(program);
  if (program.empty()) {
    result.error = command.front() + " was not found";
    return result;
  }
  std::vector<std::string> arguments(command.begin() + 1, command.end());
  for (std::string& argument : DownloadArguments(address, target)) arguments.push_back(std::move(argument));
  const ProgramRun run = tools.run(program, arguments, kDownloadTimeoutMs);
  if (!run.started) {
    result.error = program + " could not be started";
  } else if (run.timedOut) {
    result.error = program + " took too long";
  } else if (run.exitCode != 0) {
    result.error = program + " failed with status " + std::to_string(run.exitCode);
  } else if (!NonEmptyFile(target)) {
    result.error = program + " left no " + target.string();
  } else {
    result.downloaded = true;
    result.conversion = ConvertToWmv(tools, programFolder, target);
  }
  return result;
}

}  // namespace psalmora
