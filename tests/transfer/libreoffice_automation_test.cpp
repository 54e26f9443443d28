#include "transfer/libreoffice_automation.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(LibreOfficeAutomationTest, PdfTextBecomesSlidesJoinedByPageBreakMarker) {
  struct Case {
    std::string pdfText;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"Titel\n\n  Zeile eins \nZeile zwei\n\f\fSchluss\n\f", "Titel\rZeile eins\rZeile zwei#Seitenwechsel##Seitenwechsel#Schluss"},
      {"ohne Seitenende", "ohne Seitenende"},
      {"", ""},
      {"\f", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(SlideTextFromPdfText(c.pdfText), c.expected);
}

// Stand-ins for soffice and poppler that leave what the real ones leave.
struct FakeOffice {
  bool installed = true;
  bool readable = true;
  int pages = 12;
  std::vector<std::vector<std::string>> calls;

  ProgramTools Tools() {
    ProgramTools tools;
    tools.find = [this](std::string_view name) { return installed ? "/fake/" + std::string(name) : std::string(); };
    tools.run = [this](const std::string& program, const std::vector<std::string>& arguments, int) {
      calls.push_back(arguments);
      ProgramRun run{true, false, 0, {}};
      if (program == "/fake/soffice" && readable) {
        const auto outdir = std::find(arguments.begin(), arguments.end(), "--outdir");
        WriteFileBytes(std::filesystem::path(*(outdir + 1)) / "x.pdf", "%PDF");
      } else if (program == "/fake/pdftoppm") {
        for (int page = 1; page <= pages; ++page) {
          WriteFileBytes(arguments.back() + (page < 10 ? "-0" : "-") + std::to_string(page) + ".png", std::to_string(page));
        }
      } else if (program == "/fake/pdftotext") {
        run.output = "A\n\fB \xC3\xA4\n\f";
      }
      return run;
    };
    tools.startDetached = [this](const std::string&, const std::vector<std::string>& arguments) {
      calls.push_back(arguments);
      return true;
    };
    return tools;
  }
};

TEST(LibreOfficeAutomationTest, SlidesArePicturesNumberedFromOneAndOldSurplusOnesGo) {
  TempDir dir;
  WriteFileBytes(dir / "a.pptx", "x");
  WriteFileBytes(dir / "folien" / "Folie13.PNG", "alt");
  FakeOffice office;
  LibreOfficeAutomation automation(office.Tools());
  const SlideConversion result = automation.ConvertPresentationToImages(dir / "a.pptx", dir / "folien");
  EXPECT_EQ(result.status, OfficeStatus::kOk);
  EXPECT_EQ(result.slideCount, 12);
  EXPECT_EQ(testing::ReadFileBytes(dir / "folien" / "Folie2.PNG"), "2");
  EXPECT_EQ(testing::ReadFileBytes(dir / "folien" / "Folie12.PNG"), "12");
  EXPECT_FALSE(std::filesystem::exists(dir / "folien" / "Folie13.PNG"));
  // A private profile, so an open LibreOffice of the user neither blocks nor takes the job.
  ASSERT_FALSE(office.calls.empty());
  EXPECT_TRUE(office.calls[0][0].starts_with("-env:UserInstallation=file:///"));
}

TEST(LibreOfficeAutomationTest, TextIsWindows1252AndFailuresAreTold) {
  TempDir dir;
  WriteFileBytes(dir / "a.ppt", "x");
  FakeOffice office;
  LibreOfficeAutomation automation(office.Tools());
  const PresentationText text = automation.ExtractPresentationText(dir / "a.ppt");
  EXPECT_EQ(text.status, OfficeStatus::kOk);
  EXPECT_EQ(text.text, "A#Seitenwechsel#B \xE4");
  EXPECT_EQ(automation.ExtractPresentationText(dir / "fehlt.ppt").status, OfficeStatus::kCannotRead);
  office.readable = false;
  EXPECT_EQ(automation.ExtractPresentationText(dir / "a.ppt").status, OfficeStatus::kCannotRead);
  office.installed = false;
  EXPECT_EQ(automation.ExtractPresentationText(dir / "a.ppt").status, OfficeStatus::kNoOffice);
  EXPECT_EQ(automation.ConvertPresentationToImages(dir / "a.ppt", dir / "f").status, OfficeStatus::kNoOffice);
  EXPECT_EQ(automation.ShowPresentationInViewer(dir / "a.ppt"), OfficeStatus::kNoOffice);
}

}  // namespace
}  // namespace psalmora
