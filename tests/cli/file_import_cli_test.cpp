// psalmora-tool import-text and slides on temporary folders; the presentation cases need LibreOffice.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/record_fields.h"
#include "core/settings.h"
#include "core/text_lines.h"
#include "tool_runner.h"
#include "transfer/assignment_rules.h"

namespace psalmora::testing {
namespace {

// A flat OpenDocument presentation with two slides, made here so no binary fixture is needed.
constexpr std::string_view kTwoSlides = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.presentation">
 <office:body><office:presentation>
  <draw:page draw:name="eins"><draw:frame svg:x="2cm" svg:y="2cm" svg:width="20cm" svg:height="5cm">
   <draw:text-box><text:p>Gro&#223;er Gott</text:p><text:p>wir loben dich</text:p></draw:text-box></draw:frame></draw:page>
  <draw:page draw:name="zwei"><draw:frame svg:x="2cm" svg:y="2cm" svg:width="20cm" svg:height="5cm">
   <draw:text-box><text:p>Zweite Folie</text:p></draw:text-box></draw:frame></draw:page>
 </office:presentation></office:body>
</office:document>
)";

bool OfficeInstalled() { return std::system("command -v soffice >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0; }

class FileImportCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sandbox_.RunInData({"init"}).status, 0);
    AssignmentRules rules;
    rules[0].assigned = true;
    rules[0].source = RuleSource::kFirstLine;
    rules[5] = rules[0];
    rules[5].split = true;
    rules[5].separator = "|";
    rules[5].part = 2;
    ASSERT_TRUE(SaveImportRules(sandbox_.programDir() / kSettingsFileName, rules));
  }
  std::string File(std::string_view name) const { return (sandbox_.root() / name).string(); }
  std::vector<std::string> Songs() const { return SplitLines(ReadFileBytes(sandbox_.dataDir() / "lieder.dat")); }
  ToolSandbox sandbox_;
};

TEST_F(FileImportCliTest, TextFilesBecomeSongsByTheStoredRulesAndAMissingOneFails) {
  WriteFileBytes(sandbox_.root() / "eins.txt", "Erstes|Autorin\r\nStrophe\r\n");
  WriteFileBytes(sandbox_.root() / "zwei.txt", "Zweites\n\n-\n\nRefrain");
  const ToolRun run = sandbox_.RunInData({"import-text", File("eins.txt"), File("fehlt.txt"), File("zwei.txt")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, File("eins.txt") + ": 2\tErstes|Autorin\n" + File("fehlt.txt") + ": skipped: cannot be read\n" +
                         File("zwei.txt") + ": 3\tZweites\n");
  ASSERT_EQ(Songs().size(), 3u);
  EXPECT_EQ(RecordField(Songs()[1], 8), "Autorin");
  EXPECT_EQ(ReadFileBytes(sandbox_.dataDir() / "3.dat"), "-\rRefrain\r\n");
  EXPECT_EQ(sandbox_.RunInData({"import-text", File("eins.txt")}).status, 0);
  EXPECT_EQ(sandbox_.RunInData({"import-text"}).status, 2);
}

TEST_F(FileImportCliTest, PresentationGivesItsSlidesAsTextAndAsPictures) {
  if (!OfficeInstalled()) GTEST_SKIP() << "LibreOffice (soffice) or poppler-utils is not installed";
  WriteFileBytes(sandbox_.root() / "Lied.neu.fodp", kTwoSlides);
  WriteFileBytes(sandbox_.root() / "kaputt.ppt", std::string_view("\xD0\xCF\x11\xE0 kein Inhalt\0\1", 17));
  const ToolRun run = sandbox_.RunInData({"import-text", File("Lied.neu.fodp"), File("kaputt.ppt")});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.out, File("Lied.neu.fodp") + ": 2\tGro\xC3\x9F" "er Gott\n" + File("kaputt.ppt") +
                         ": skipped: cannot be read\n");
  EXPECT_EQ(ReadFileBytes(sandbox_.dataDir() / "2.dat"), "wir loben dich\r-\rZweite Folie\r\n");
  EXPECT_TRUE(std::filesystem::exists(sandbox_.dataDir() / "convert" / "Lied.dat"));

  const ToolRun slides = sandbox_.Run({"slides", File("Lied.neu.fodp"), File("bilder")});
  ASSERT_EQ(slides.status, 0) << slides.err;
  EXPECT_EQ(slides.out, "2\n");
  EXPECT_TRUE(std::filesystem::exists(sandbox_.root() / "bilder" / "Folie2.PNG"));
  EXPECT_EQ(sandbox_.Run({"slides", File("kaputt.ppt"), File("bilder")}).status, 1);
}

}  // namespace
}  // namespace psalmora::testing
