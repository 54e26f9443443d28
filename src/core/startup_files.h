// Files the start-up reads besides the song store (video list, Bible index), the renderer's page files
// in the data folder and their removal at shutdown.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/data_folder.h"

namespace psalmora {

// The six generated pages in the order the shutdown deletes them: vorschau.htm, beamer.htm, akkord.htm,
// drucken.htm, layout.htm, fuss.htm.
std::vector<std::filesystem::path> PageFiles(const std::filesystem::path& dataFolder);

// Deletes the page files that exist; returns how many were removed.
int DeletePageFiles(const std::filesystem::path& dataFolder);

// Creates "youtube/youtube.dat" empty when it is missing or empty, then returns its lines.
std::vector<std::string> LoadVideoList(const DataFiles& files);

// The lines of "bibel/index.dat" in the program folder; none when it is missing.
std::vector<std::string> LoadBibleIndex(const std::filesystem::path& programFolder);

// The external updater, "psalmora-update" in the program folder.
std::filesystem::path UpdaterPath(const std::filesystem::path& programFolder);
// The new copy of itself the updater leaves beside it: "psalmora-update-neu".
std::filesystem::path NewUpdaterPath(const std::filesystem::path& programFolder);

enum class UpdaterSwap { kNothingToDo, kReplaced, kFailed };
struct UpdaterReplacement {
  UpdaterSwap outcome = UpdaterSwap::kNothingToDo;
  std::string error;  // for kFailed
};

// `ReplaceUpdater`: a non-empty "psalmora-update-neu" takes the updater's place in one rename, so a crash
// leaves either the old or the new updater, never none. An empty new copy (a download that broke off)
// is left alone and the old updater stays.
UpdaterReplacement ReplaceUpdater(const std::filesystem::path& programFolder);

}  // namespace psalmora
