// psalmora-tool commands of the video list: videos (the list with the state its row icon shows) and
// convert-video (`ConvertToWmv`).
#include "cli/tool.h"
#include "core/data_folder.h"
#include "core/record_fields.h"
#include "media/video_convert.h"
#include "media/video_list.h"

namespace psalmora::cli {
namespace {

int Videos(ToolContext& context, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return context.UsageFail("videos", "videos takes no arguments");
  const std::optional<std::filesystem::path> folder = context.DataFolder(true);
  if (!folder) return kExitError;
  const DataFiles files = DataFiles::For(*folder);
  for (const std::string& line : ReadVideoList(files)) {
    if (line.empty()) continue;
    context.out << ForTerminal(RecordField(line, 1)) << '\t' << ForTerminal(RecordField(line, 5)) << '\t'
                << ForTerminal(RecordField(line, 4)) << '\t' << VideoStateName(VideoEntryState(files, line)) << '\n';
  }
  return kExitOk;
}

int ConvertVideo(ToolContext& context, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return context.UsageFail("convert-video", "convert-video needs one video file");
  std::error_code error;
  if (!std::filesystem::is_regular_file(arguments[0], error)) return context.Fail(arguments[0] + " cannot be read");
  const WmvConversion result = ConvertToWmv(PosixProgramTools(), context.ProgramFolder(), arguments[0]);
  if (!result.converted) return context.Fail(result.error);
  context.out << result.output.string() << '\n';
  return kExitOk;
}

}  // namespace

std::vector<Command> VideoCommands() {
  return {
      {"videos", "", "list the video list: id, title, artist and downloaded, failed or not downloaded", Videos},
      {"convert-video", "FILE", "convert a video to WMV with ffmpeg (FILE up to its first dot + .wmv)", ConvertVideo},
  };
}

}  // namespace psalmora::cli
