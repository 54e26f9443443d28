// Presentations into conversion files for the text import.
#include "transfer/presentation_import.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "core/atomic_file.h"

namespace psalmora {

bool IsPresentationFile(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  constexpr std::array<std::string_view, 6> kExtensions = {".ppt", ".pps", ".pptx", ".ppsx", ".odp", ".fodp"};
  return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

PresentationSource ReadPresentationSource(OfficeAutomation& office, const std::filesystem::path& presentation,
                                          const std::filesystem::path& dataFolder) {
  PresentationSource result;
  const PresentationText text = office.ExtractPresentationText(presentation);
  result.status = text.status;
  result.source.path = presentation;
  if (text.status == OfficeStatus::kCannotRead) return result;
  std::error_code error;
  std::filesystem::create_directories(ConversionFolder(dataFolder), error);
  const std::filesystem::path converted = ConversionFileFor(dataFolder, presentation);
  std::string bytes = PresentationTextFile(text.text);
  // The conversion file is only a trace of the import: the song does not depend on it being written.
  (void)WriteFileAtomically(converted, bytes, FileSync::kNone);
  result.source.path = converted;
  result.source.bytes = std::move(bytes);
  return result;
}

}  // namespace psalmora
