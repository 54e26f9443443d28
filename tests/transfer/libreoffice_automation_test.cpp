#include "transfer/libreoffice_automation.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "transfer/libreoffice_show_profile.h"

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
  EXPECT_EQ(automation.ShowPresentationInViewer(dir / "a.ppt", 0), OfficeStatus::kNoOffice);
}

TEST(LibreOfficeAutomationTest, TheShowRunsInItsOwnProfileOnTheChosenScreen) {
  TempDir dir;
  WriteFileBytes(dir / "a.ppt", "x");
  const auto settings = dir / "show" / "user" / "registrymodifications.xcu";
  // A setting the user made in the show's profile earlier, and the screen of the last show.
  std::string earlier = ShowProfileSettings("", 1);
  earlier.insert(earlier.find("<item"), "<item oor:path=\"/x\"><prop oor:name=\"Zoom\"/></item>\n");
  WriteFileBytes(settings, earlier);
  FakeOffice office;
  LibreOfficeAutomation automation(office.Tools());
  automation.SetShowProfileFolder(dir / "show");
  EXPECT_EQ(automation.ShowPresentationInViewer(dir / "a.ppt", 2), OfficeStatus::kOk);
  ASSERT_EQ(office.calls.size(), 1u);
  EXPECT_EQ(office.calls[0].front(), "-env:UserInstallation=file://" + (dir / "show").string());
  EXPECT_EQ(office.calls[0].back(), (dir / "a.ppt").string());
  const std::string written = testing::ReadFileBytes(settings);
  EXPECT_NE(written.find("oor:name=\"Display\" oor:op=\"fuse\"><value>2</value>"), std::string::npos);
  EXPECT_EQ(written.find("<value>1</value>"), std::string::npos);  // the old screen is replaced, not doubled
  EXPECT_NE(written.find("oor:name=\"Zoom\""), std::string::npos);
  EXPECT_NE(written.find("EnablePresenterScreen\" oor:op=\"fuse\"><value>false"), std::string::npos);
  EXPECT_EQ(automation.ShowPresentationInViewer(dir / "fehlt.ppt", 2), OfficeStatus::kCannotRead);
}

}  // namespace
}  // namespace psalmora
