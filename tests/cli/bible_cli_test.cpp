// psalmora-tool bible on a temporary program folder: import, list, show, a SWORD module when one is
// installed, and the Bible the build ships in the defaults.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

const char* const kZefania = R"(<?xml version="1.0" encoding="utf-8"?>
<XMLBIBLE biblename="Testbibel">
  <BIBLEBOOK bnumber="43" bname="Johannes"><CHAPTER cnumber="3">
    <VERS vnumber="16">Denn also hat Gott die Welt geliebt</VERS>
    <VERS vnumber="17">Denn Gott hat seinen Sohn nicht gesandt</VERS>
    <VERS vnumber="18">Wer an ihn glaubt, wird nicht gerichtet</VERS>
  </CHAPTER></BIBLEBOOK>
  <BIBLEBOOK bnumber="19" bname="Psalmen"><CHAPTER cnumber="23">
    <VERS vnumber="1">Der Herr ist mein Hirte</VERS>
  </CHAPTER></BIBLEBOOK>
</XMLBIBLE>)";

namespace fs = std::filesystem;

const fs::path kShippedBible = fs::path(PSALMORA_GENERATED_DEFAULTS_DIR) / "bibel";

// The shipped Bible files, as "config/installed-defaults.dat" names them.
std::string ShippedBibleLines() {
  std::string lines;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(kShippedBible, error))
    lines += "bibel/" + entry.path().filename().string() + "\r\n";
  return lines;
}

// A program folder whose user deleted the shipped Bible, so that the tool starts it without translations.
void WithoutShippedBible(const fs::path& program) {
  WriteFileBytes(program / "config" / "installed-defaults.dat", ShippedBibleLines());
}

TEST(ToolBible, ImportsListsAndShowsPassages) {
  ToolSandbox sandbox;
  const std::string program = sandbox.programDir().string();
  WithoutShippedBible(sandbox.programDir());
  const auto tool = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--program-dir", program});
    return sandbox.Run(arguments);
  };
  WriteFileBytes(sandbox.root() / "bibel.xml", kZefania);
  WriteFileBytes(sandbox.root() / "kaputt.xml", "<XMLBIBLE><BIBLEBOOK");

  const ToolRun broken = tool({"bible", "import", (sandbox.root() / "kaputt.xml").string()});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("not well-formed XML"), std::string::npos) << broken.err;
  EXPECT_EQ(tool({"bible", "list"}).out, "");

  const ToolRun imported =
      tool({"bible", "import", (sandbox.root() / "bibel.xml").string(), "--name", "Schlachter Test"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "Schlachter Test\tschlachter-test.dat\t2 books, 2 chapters, 4 verses\n");
  EXPECT_EQ(tool({"bible", "list"}).out, "Schlachter Test\tschlachter-test.dat\n");
  EXPECT_EQ(ReadFileBytes(sandbox.programDir() / "bibel" / "index.dat"), "AT Psalmen 23-23\r\nNT Johannes 3-3\r\n");

  const struct {
    const char* reference;
    int status;
    const char* out;
  } cases[] = {
      {"Joh 3,16-17", 0,
       "Johannes 3,16-17\n16 Denn also hat Gott die Welt geliebt\n17 Denn Gott hat seinen Sohn nicht gesandt\n"},
      {"John 3:18", 0, "Johannes 3,18\n18 Wer an ihn glaubt, wird nicht gerichtet\n"},
      {"Ps 23", 0, "Psalmen 23\n1 Der Herr ist mein Hirte\n"},
      {"Joh 4", 1, ""},
      {"Joh 3,30", 1, ""},
      {"Röm 1", 1, ""},
      {"Xyz 1", 1, ""},
  };
  for (const auto& c : cases) {
    const ToolRun run = tool({"bible", "show", "Schlachter Test", c.reference});
    EXPECT_EQ(run.status, c.status) << c.reference << ": " << run.err;
    EXPECT_EQ(run.out, c.out) << c.reference;
  }
  EXPECT_EQ(tool({"bible", "show", "Gibtsnicht", "Joh 3"}).status, 1);
  EXPECT_EQ(tool({"bible", "show", "schlachter-test.dat", "Joh 3,16"}).status, 0);  // by file name too
  EXPECT_EQ(tool({"bible", "import", (sandbox.root() / "bibel.xml").string(), "--name", "Schlachter Test"}).status, 1);
  EXPECT_EQ(tool({"bible"}).status, 2);
}

TEST(ToolBible, ImportsAtTheSameTimeAllEndUpInTheList) {
  ToolSandbox sandbox;
  WithoutShippedBible(sandbox.programDir());
  WriteFileBytes(sandbox.root() / "bibel.xml", kZefania);
  std::vector<std::vector<std::string>> runs;
  for (int i = 1; i <= 6; ++i) {
    runs.push_back({"bible", "import", (sandbox.root() / "bibel.xml").string(), "--name", "T" + std::to_string(i)});
  }
  for (const ToolRun& run : sandbox.RunInDataConcurrently(runs)) EXPECT_EQ(run.status, 0) << run.err;
  const std::string list = ReadFileBytes(sandbox.programDir() / "bibel" / "uebersetzungen.dat");
  for (int i = 1; i <= 6; ++i) {
    EXPECT_NE(list.find("t" + std::to_string(i) + ".dat\tT" + std::to_string(i) + "\r\n"), std::string::npos) << list;
  }
  EXPECT_EQ(ReadFileBytes(sandbox.programDir() / "bibel" / "index.dat"), "AT Psalmen 23-23\r\nNT Johannes 3-3\r\n");
}

TEST(ToolBible, ImportsAnInstalledSwordModule) {
  ToolSandbox sandbox;
  const std::string program = sandbox.programDir().string();
  WithoutShippedBible(sandbox.programDir());
  const ToolRun modules = sandbox.Run({"--program-dir", program, "bible", "sword-modules"});
  if (modules.status != 0) GTEST_SKIP() << "this build has no SWORD support: " << modules.err;
  if (modules.out.find("engKJV2006eb\t") == std::string::npos) {
    GTEST_SKIP() << "the SWORD module engKJV2006eb (Debian package sword-text-kjv) is not installed";
  }
  const ToolRun imported =
      sandbox.Run({"--program-dir", program, "bible", "import-sword", "engKJV2006eb", "--name", "KJV"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "KJV\tkjv.dat\t66 books, 1189 chapters, 31102 verses\n");
  const ToolRun shown = sandbox.Run({"--program-dir", program, "bible", "show", "KJV", "John 3:16"});
  EXPECT_EQ(shown.out,
            "Johannes 3,16\n16 For God so loved the world, that he gave his only begotten Son, that whosoever "
            "believeth in him should not perish, but have everlasting life.\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "bible", "import-sword", "NoSuchModule"}).status, 1);
}

TEST(ToolBible, AProgramFolderWithoutTranslationsGetsTheShippedBible) {
  if (!fs::exists(kShippedBible / "uebersetzungen.dat")) {
    GTEST_SKIP() << "this build made no Bible for the defaults (no libsword, or the SWORD module engKJV2006eb "
                    "of the Debian package sword-text-kjv is not installed)";
  }
  ToolSandbox sandbox;
  const fs::path fresh = sandbox.root() / "neu";
  // A folder an earlier version filled, whose defaults held no Bible yet.
  const fs::path earlier = sandbox.root() / "frueher";
  WriteFileBytes(earlier / "config" / "installed-defaults.dat", "config/einstellungen.ini\r\n");
  for (const fs::path& program : {fresh, earlier}) {
    const ToolRun listed = sandbox.Run({"--program-dir", program.string(), "bible", "list"});
    EXPECT_EQ(listed.out, "King James Version\tking-james-version.dat\n") << program << listed.err;
    const ToolRun shown =
        sandbox.Run({"--program-dir", program.string(), "bible", "show", "King James Version", "Ps 23,1"});
    EXPECT_EQ(shown.out, "Psalmen 23,1\n1 The LORD is my shepherd; I shall not want.\n") << shown.err;
  }
  // Installed once: a user who deletes it does not get it back.
  fs::remove_all(fresh / "bibel");
  EXPECT_EQ(sandbox.Run({"--program-dir", fresh.string(), "bible", "list"}).out, "");
}

}  // namespace
}  // namespace psalmora::testing
