// The presentation side of `RunFileImport`: a presentation's text is written to its conversion file in
// the data folder, and that file is imported in its place.
#pragma once

#include <filesystem>

#include "transfer/file_import.h"
#include "transfer/office_automation.h"

namespace psalmora {

// True for the presentation files the import reads through the office program (ppt, pps, pptx, ppsx,
// odp, fodp; any case).
bool IsPresentationFile(const std::filesystem::path& file);

struct PresentationSource {
  OfficeStatus status = OfficeStatus::kOk;
  // The conversion file and its bytes. Without an office program the text is empty, so file-name rules
  // still give a song; a file the office program cannot read gives no bytes and no song.
  FileImportSource source;
};

PresentationSource ReadPresentationSource(OfficeAutomation& office, const std::filesystem::path& presentation,
                                          const std::filesystem::path& dataFolder);

}  // namespace psalmora
