// psalmora-tool's renderer commands on temporary folders: the pages render writes, transposition,
// inline expansion, and copy with its stored record and text.
#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "core/text_lines.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A data folder with two songs: 2 has five blocks with chords, 3 is short; song 2's record has no
// trailing TAB, so its last field must survive a copy.
struct RenderSandbox : ToolSandbox {
  RenderSandbox() {
    EXPECT_EQ(RunInData({"init"}).status, 0);
    // Fields 1 to 21: tempo 90 (16), global id "g-77" (19), "letztes" last (21).
    std::vector<std::string> fields(21);
    fields[0] = "2", fields[1] = "01.02.2020-10:00", fields[2] = "Gnade", fields[12] = "0", fields[15] = "90";
    fields[18] = "g-77", fields[20] = "letztes";
    std::string record;
    for (const std::string& field : fields) record += (record.empty() ? "" : "\t") + field;
    WriteFileBytes(dataDir() / "lieder.dat", record + "\r\n3\t01.02.2020-10:00\tKurz\t\r\n");
    WriteFileBytes(dataDir() / "id.dat", "3\r\n");
    WriteFileBytes(dataDir() / "2.dat",
                   ">G       D\r\nErste Zeile hier\r\n\r\n>Em  C\r\nZweite Zeile\r\n\r\nDritte\r\n\r\nVierte\r\n\r\n"
                   "F\xFCnfte\r\n");
    WriteFileBytes(dataDir() / "3.dat", "Nur Text\r\n");
  }
  std::string Page(const std::string& name) const { return ReadFileBytes(dataDir() / name); }
};

TEST(ToolRender, PreviewWritesItsPageWithTransposedChordsAndPrintsThePath) {
  RenderSandbox sandbox;
  ToolRun run = sandbox.RunInData({"render", "vorschau", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (sandbox.dataDir() / "vorschau.htm").string() + "\n");
  std::string page = sandbox.Page("vorschau.htm");
  EXPECT_EQ(Count(page, "<head>"), 1u);
  EXPECT_NE(page.find("<font id=ak>G"), std::string::npos);
  EXPECT_NE(page.find("F\xFCnfte"), std::string::npos);  // Windows-1252 bytes, as the view expects
  EXPECT_EQ(page.find("Folie 1"), std::string::npos);

  ASSERT_EQ(sandbox.RunInData({"render", "vorschau", "2", "--transpose", "2"}).status, 0);
  page = sandbox.Page("vorschau.htm");
  EXPECT_NE(page.find("<font id=ak>A"), std::string::npos);
  EXPECT_NE(page.find("<font id=ak>E"), std::string::npos);
  EXPECT_NE(page.find("<font id=ak>F#m"), std::string::npos);
  ASSERT_EQ(sandbox.RunInData({"render", "vorschau", "2", "--transpose=-1"}).status, 0);
  EXPECT_NE(sandbox.Page("vorschau.htm").find("<font id=ak>F#"), std::string::npos);
}

TEST(ToolRender, SlidesAndTwoColumnsShapeThePreview) {
  RenderSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"render", "vorschau", "2", "--slide", "1", "--two-columns"}).status, 0);
  const std::string page = sandbox.Page("vorschau.htm");
  for (int block = 1; block <= 5; ++block) {
    EXPECT_NE(page.find(">Folie " + std::to_string(block) + "</span>"), std::string::npos) << block;
  }
  // Five blocks: the second column starts before block 4.
  const std::size_t columnBreak = page.find("</td><td valign='top'>");
  ASSERT_NE(columnBreak, std::string::npos);
  EXPECT_LT(page.find("Folie 3"), columnBreak);
  EXPECT_GT(page.find("Folie 4"), columnBreak);
}

TEST(ToolRender, BeamerShowsTheAskedSlideAndTheBandsWriteTheirFiles) {
  RenderSandbox sandbox;
  ToolRun run = sandbox.RunInData({"render", "beamer-lied", "2", "--slide", "3"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (sandbox.dataDir() / "beamer.htm").string() + "\n");
  const std::string page = sandbox.Page("beamer.htm");
  EXPECT_NE(page.find("Dritte"), std::string::npos);
  EXPECT_EQ(page.find("Vierte"), std::string::npos);
  EXPECT_EQ(page.find("<font id=ak>G"), std::string::npos);
  EXPECT_NE(page.find("overflow:hidden"), std::string::npos);

  EXPECT_EQ(sandbox.RunInData({"render", "akkorde", "2"}).out, (sandbox.dataDir() / "akkord.htm").string() + "\n");
  EXPECT_EQ(sandbox.RunInData({"render", "fuss", "2"}).out, (sandbox.dataDir() / "fuss.htm").string() + "\n");
  ASSERT_EQ(sandbox.RunInData({"render", "freetext", "--text", "Psalm 23"}).status, 0);
  EXPECT_NE(sandbox.Page("beamer.htm").find("Psalm 23"), std::string::npos);
}

TEST(ToolRender, PrintRendersEverySongOfTheList) {
  RenderSandbox sandbox;
  ToolRun run = sandbox.RunInData({"render", "drucken", "--songs", "2,3,2"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = sandbox.Page("drucken.htm");
  EXPECT_EQ(Count(page, "<head>"), 3u);
  EXPECT_LT(page.find("Dritte"), page.find("Nur Text"));
  EXPECT_LT(page.find("Nur Text"), page.rfind("Dritte"));
  EXPECT_EQ(sandbox.RunInData({"render", "drucken", "--songs", "2,41"}).status, 1);
  EXPECT_EQ(sandbox.RunInData({"render", "drucken"}).status, 2);
}

TEST(ToolRender, LayoutPreviewAndAnExplicitLayout) {
  RenderSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"render", "layout", "--layout", "1"}).status, 0);
  EXPECT_NE(sandbox.Page("layout.htm").find("Titel"), std::string::npos);
  // A layout key with no file renders an empty body rather than failing.
  ASSERT_EQ(sandbox.RunInData({"render", "vorschau", "3", "--layout", "99"}).status, 0);
  EXPECT_EQ(sandbox.Page("vorschau.htm").find("Nur Text"), std::string::npos);
}

TEST(ToolRender, WrongUsageAndMissingSongs) {
  RenderSandbox sandbox;
  EXPECT_EQ(sandbox.RunInData({"render"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"render", "bunt", "2"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"render", "vorschau"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"render", "vorschau", "2", "--transpose", "zwei"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"render", "vorschau", "2", "--slide", "-1"}).status, 2);
  const ToolRun missing = sandbox.RunInData({"render", "vorschau", "42"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("42"), std::string::npos);
  // The data folder is a file: the page cannot be written, and the tool says so.
  RenderSandbox broken;
  std::filesystem::create_directories(broken.dataDir() / "vorschau.htm" / "x");
  EXPECT_EQ(broken.RunInData({"render", "vorschau", "2"}).status, 1);
}

TEST(ToolTranspose, PrintsTheTransposedChord) {
  ToolSandbox sandbox;
  EXPECT_EQ(sandbox.Run({"transpose", "Am7", "2"}).out, "Hm7\n");
  EXPECT_EQ(sandbox.Run({"transpose", "D/F#", "2"}).out, "E/G#\n");
  EXPECT_EQ(sandbox.Run({"transpose", "C", "-1"}).out, "H\n");
  EXPECT_EQ(sandbox.Run({"transpose", "C", "-13"}).out, sandbox.Run({"transpose", "C", "-1"}).out);
  EXPECT_EQ(sandbox.Run({"transpose", "x", "2"}).out, "(x?)\n");
  EXPECT_EQ(sandbox.Run({"transpose", "C"}).status, 2);
  EXPECT_EQ(sandbox.Run({"transpose", "C", "zwei"}).status, 2);
  // An offset may carry a plus sign, but only one sign.
  EXPECT_EQ(sandbox.Run({"transpose", "Am7", "+2"}).out, "Hm7\n");
  for (const char* offset : {"+", "+-1", "2 ", ""}) {
    EXPECT_EQ(sandbox.Run({"transpose", "C", offset}).status, 2) << offset;
  }
}

TEST(ToolExpandInline, PrintsTheChordLineAndTheTextLine) {
  ToolSandbox sandbox;
  EXPECT_EQ(sandbox.Run({"expand-inline", "Hallo [D]Welt"}).out, ">     D   \nHallo Welt\n");
  EXPECT_EQ(sandbox.Run({"expand-inline", "Nur Text"}).out, "Nur Text\n");
  EXPECT_EQ(sandbox
                .Run({"expand-inline",
                      "[G]\xC3\xBC"
                      "ber"})
                .out,
            ">G  \n\xC3\xBC"
            "ber\n");
  // "Więc śpiewaj": ę and ś are outside Windows-1252, yet each is one column, so the G stands over the ś.
  EXPECT_EQ(sandbox
                .Run({"expand-inline",
                      "Wi\xC4\x99"
                      "c [G]\xC5\x9Bpiewaj"})
                .out,
            ">    G      \nWi\xC4\x99"
            "c \xC5\x9Bpiewaj\n");
  EXPECT_EQ(sandbox.Run({"expand-inline"}).status, 2);
}

TEST(ToolCopy, StoresATransposedCopyWithEveryField) {
  RenderSandbox sandbox;
  const ToolRun run = sandbox.RunInData({"copy", "2", "--transpose", "2"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "4\n");
  const std::vector<std::string> index = SplitLines(ReadFileBytes(sandbox.dataDir() / "lieder.dat"));
  ASSERT_EQ(index.size(), 3u);
  const std::string& copy = index[0];
  EXPECT_EQ(RecordField(copy, 1), "4");
  EXPECT_EQ(RecordField(copy, 3), "Gnade kopie");
  EXPECT_EQ(RecordField(copy, 16), "90");
  EXPECT_EQ(RecordField(copy, 19), "");  // the global id is not copied
  EXPECT_EQ(CountOf(copy, '\t'), 21);
  EXPECT_EQ(RecordField(copy, 21), "letztes");  // the last field of a record without a trailing TAB
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), "4\r\n");
  const std::string text = ReadFileBytes(sandbox.dataDir() / "4.dat");
  EXPECT_EQ(text.rfind(">A       E", 0), 0u) << text;
  EXPECT_NE(text.find(">F#m D"), std::string::npos) << text;
  EXPECT_NE(text.find("F\xFCnfte"), std::string::npos);

  EXPECT_EQ(sandbox.RunInData({"copy", "99"}).status, 1);
  EXPECT_EQ(sandbox.RunInData({"copy"}).status, 2);
}

}  // namespace
}  // namespace psalmora::testing
