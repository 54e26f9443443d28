// The presentation program behind the import and the slide pane: text of a presentation, its slides as
// pictures, and the presentation shown by the viewer. The core declares it; the office suite that
// carries it is an adapter (LibreOffice here).
#pragma once

#include <filesystem>
#include <string>

namespace psalmora {

enum class OfficeStatus {
  kOk,
  kNoOffice,    // the presentation program is not installed
  kCannotRead,  // it could not read the file
};

struct PresentationText {
  OfficeStatus status = OfficeStatus::kOk;
  // The slides' texts joined by "#Seitenwechsel#"; the lines inside a slide separated by CR. Empty
  // unless status is kOk.
  std::string text;
};

struct SlideConversion {
  OfficeStatus status = OfficeStatus::kOk;
  int slideCount = 0;  // pictures "Folie1.PNG" … in the target folder
};

class OfficeAutomation {
 public:
  virtual ~OfficeAutomation() = default;
  // `ExtractPresentationText`
  virtual PresentationText ExtractPresentationText(const std::filesystem::path& presentation) = 0;
  // `ConvertPresentationToImages`: "Folie" + n + ".PNG" for every slide into targetFolder (created
  // when missing); pictures of an earlier conversion beyond the new count are removed.
  virtual SlideConversion ConvertPresentationToImages(const std::filesystem::path& presentation,
                                                      const std::filesystem::path& targetFolder) = 0;
  // `ShowPresentationInViewer`: starts the viewer's slide show of the file on `screen` (1-based in the
  // desktop's screen order, 0 = where the viewer likes) and returns at once.
  virtual OfficeStatus ShowPresentationInViewer(const std::filesystem::path& presentation, int screen) = 0;
};

}  // namespace psalmora
