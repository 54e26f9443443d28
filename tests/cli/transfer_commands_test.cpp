// psalmora-tool export, import-exp and import-ccli on temporary folders.
#include <gtest/gtest.h>

#include "core/record_fields.h"
#include "core/text_lines.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

class TransferCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sandbox_.RunInData({"init"}).status, 0);
    WriteFileBytes(sandbox_.root() / "a.txt", "Zeile a\nZeile b\n");
    ASSERT_EQ(
        sandbox_.RunInData({"new", "--title", "Zweites", "--text-file", (sandbox_.root() / "a.txt").string()}).status,
        0);
  }
  std::string File(std::string_view name) const { return (sandbox_.root() / name).string(); }
  ToolSandbox sandbox_;
};

TEST_F(TransferCommandsTest, ExportedSongsListAndImportAsNewSongsInFileOrder) {
  const ToolRun exported = sandbox_.RunInData({"export", File("x.exp"), "2", "1"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_EQ(exported.out, "2 songs exported to " + File("x.exp") + "\n");

  const ToolRun list = sandbox_.RunInData({"import-exp", File("x.exp"), "--list"});
  EXPECT_EQ(list.out, "1\tZweites\n2\tDas erste Lied\n");
  EXPECT_EQ(sandbox_.RunInData({"import-exp", File("x.exp")}).out, list.out);  // listing is the default

  const ToolRun chosen = sandbox_.RunInData({"import-exp", File("x.exp"), "2", "1"});
  ASSERT_EQ(chosen.status, 0) << chosen.err;
  EXPECT_EQ(chosen.out, "3\tZweites\n4\tDas erste Lied\n");
  EXPECT_EQ(ReadFileBytes(sandbox_.dataDir() / "3.dat"), "Zeile a\r\nZeile b\r\n");
  const ToolRun all = sandbox_.RunInData({"import-exp", File("x.exp"), "--all"});
  EXPECT_EQ(all.out, "5\tZweites\n6\tDas erste Lied\n");
  EXPECT_EQ(SplitLines(ReadFileBytes(sandbox_.dataDir() / "lieder.dat")).size(), 6u);
}

TEST_F(TransferCommandsTest, BadInputFailsAndChangesNothing) {
  const std::string index = ReadFileBytes(sandbox_.dataDir() / "lieder.dat");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string error;
  };
  WriteFileBytes(sandbox_.root() / "plain.exp", "pmexport\r\n");
  const std::vector<Case> cases = {
      {{"export", File("y.exp"), "1", "77"}, 1, "no song with the id 77"},
      {{"import-exp", File("plain.exp"), "--all"}, 1, "is no export file"},
      {{"import-exp", File("missing.exp")}, 1, "cannot be opened"},
      {{"import-ccli"}, 2, "needs at least one file"},
  };
  for (const Case& c : cases) {
    const ToolRun run = sandbox_.RunInData(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments[0];
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(sandbox_.root() / "y.exp"));
  ASSERT_EQ(sandbox_.RunInData({"export", File("z.exp"), "1"}).status, 0);
  const ToolRun outOfRange = sandbox_.RunInData({"import-exp", File("z.exp"), "2"});
  EXPECT_EQ(outOfRange.status, 2);
  EXPECT_EQ(ReadFileBytes(sandbox_.dataDir() / "lieder.dat"), index);
}

TEST_F(TransferCommandsTest, CcliFilesGiveOneLinePerFileAndFailWhenOneIsSkipped) {
  WriteFileBytes(sandbox_.root() / "lied.usr",
                 "\xEF\xBB\xBF[S A77]\r\nTitle=\xC3\x9C"
                 "ber\r\nWords=x/ny/t\r\n");
  WriteFileBytes(sandbox_.root() / "leer.usr", "[File]\r\n");
  const ToolRun run = sandbox_.RunInData({"import-ccli", File("lied.usr"), File("leer.usr"), File("fehlt.usr")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, File("lied.usr") +
                         ": 3\t\xC3\x9C"
                         "ber\n" +
                         File("leer.usr") + ": skipped: no song section\n" + File("fehlt.usr") +
                         ": skipped: cannot be read\n");
  EXPECT_EQ(RecordField(SplitLines(ReadFileBytes(sandbox_.dataDir() / "lieder.dat"))[0], 11), "77");
  const ToolRun fine = sandbox_.RunInData({"import-ccli", File("lied.usr")});
  EXPECT_EQ(fine.status, 0);
}

}  // namespace
}  // namespace psalmora::testing
