// psalmora-tool's store commands run on temporary folders; the tests check output, exit status and files.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>

#include "core/record_fields.h"
#include "core/text_lines.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  return SplitLines(text);
}

TEST(ToolInit, SeedsAFreshDataFolderAndInstallsTheProgramDefaults) {
  ToolSandbox sandbox;
  const ToolRun run = sandbox.Run({"--program-dir", sandbox.programDir().string(), "--data-dir",
                                   (sandbox.dataDir() / "tief" / "unten").string(), "init"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto data = sandbox.dataDir() / "tief" / "unten";
  EXPECT_EQ(run.out, data.string() + "\n");
  EXPECT_TRUE(std::filesystem::is_directory(data / "youtube"));
  EXPECT_EQ(ReadFileBytes(data / "id.dat"), "1\r\n");
  EXPECT_EQ(ReadFileBytes(data / "auswahl.dat"), "Neue Auswahl\r\n");
  const std::string index = ReadFileBytes(data / "lieder.dat");
  EXPECT_NE(index.find("\tDas erste Lied\tD A G A D (2x)\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(data / "1.dat"));
  EXPECT_TRUE(std::filesystem::exists(sandbox.programDir() / "config" / "pick-4.dat"));
  EXPECT_NE(ReadFileBytes(sandbox.programDir() / "config" / "einstellungen.ini").find("vor=0"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(sandbox.registryFile()));  // --data-dir bypasses the registry

  // A second init leaves a filled store alone.
  ASSERT_EQ(sandbox.Run({"--program-dir", sandbox.programDir().string(), "--data-dir", data.string(), "init"}).status,
            0);
  EXPECT_EQ(ReadFileBytes(data / "lieder.dat"), index);
}

TEST(ToolInit, RememberStoresTheFolderForLaterCommands) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init", "--remember"}).status, 0);
  EXPECT_NE(ReadFileBytes(sandbox.registryFile()).find("DIR-Daten=" + sandbox.dataDir().string()), std::string::npos);
  const ToolRun list = sandbox.Run({"--program-dir", sandbox.programDir().string(), "list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "1\tDas erste Lied\n");
}

TEST(ToolInit, ReportsAFolderThatCannotBeCreated) {
  ToolSandbox sandbox;
  WriteFileBytes(sandbox.root() / "datei", "x");
  const ToolRun run = sandbox.Run({"--program-dir", sandbox.programDir().string(), "--data-dir",
                                   (sandbox.root() / "datei" / "d").string(), "init"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot create the data folder"), std::string::npos);
}

TEST(ToolInit, WarnsAboutSongsWithoutAnIdCounter) {
  ToolSandbox sandbox;
  WriteFileBytes(sandbox.dataDir() / "lieder.dat", "4\ts\tVier\t\r\n");
  const ToolRun run = sandbox.RunInData({"init"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("ID=0"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "lieder.dat"), "4\ts\tVier\t\r\n");
}

TEST(ToolDataFolder, WithoutRegistryOrOptionTheErrorSaysHowToSetIt) {
  ToolSandbox sandbox;
  const ToolRun run = sandbox.Run({"list"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--data-dir"), std::string::npos);
  EXPECT_EQ(Lines(run.err).size(), 1u);
  const ToolRun missing = sandbox.RunInData({"list"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
}

TEST(ToolDataFolder, CommandsRemoveWhatInterruptedWritesLeftBehind) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  const auto leftover = sandbox.dataDir() / ".lieder.dat.tmp-Ab12cD";
  WriteFileBytes(leftover, "halb geschrieben");
  const timeval past[2] = {{std::time(nullptr) - 600, 0}, {std::time(nullptr) - 600, 0}};
  ::utimes(leftover.c_str(), past);
  const auto recent = sandbox.dataDir() / ".auswahl.dat.tmp-Zy98xW";  // may be a write in progress
  WriteFileBytes(recent, "wird gerade geschrieben");
  EXPECT_EQ(sandbox.RunInData({"list"}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(leftover));
  EXPECT_TRUE(std::filesystem::exists(recent));
}

TEST(ToolList, ShowsActiveSongsInStoreOrderAsUtf8) {
  ToolSandbox sandbox;
  WriteFileBytes(sandbox.dataDir() / "lieder.dat",
                 "3\ts\tGro\xDF ist der Herr\t\r\n#gel\xF6scht#\t2\ts\tWeg\t\r\n1\ts\tDas erste Lied\tD\r\n");
  const ToolRun run = sandbox.RunInData({"list"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "3\tGro\xC3\x9F ist der Herr\n1\tDas erste Lied\n");
}

TEST(ToolShow, PrintsTheRecordThenTheText) {
  ToolSandbox sandbox;
  WriteFileBytes(sandbox.dataDir() / "lieder.dat",
                 "7\ts\t\xDC"
                 "ber\t\r\n");
  WriteFileBytes(sandbox.dataDir() / "7.dat", ">D\rText \xE4\r\n#Trans\r\n");
  const ToolRun run = sandbox.RunInData({"show", "7"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "7\ts\t\xC3\x9C"
            "ber\t\n>D\nText \xC3\xA4\n#Trans\n");
  const ToolRun missing = sandbox.RunInData({"show", "8"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(sandbox.RunInData({"show"}).status, 2);
}

TEST(ToolNew, AddsASongAtTheTopWith21FieldsAndItsText) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  WriteFileBytes(sandbox.root() / "text.txt",
                 ">G   D\nHerr, \xC3\xBC"
                 "ber allem \xC5\x82\n\n;Ende\n");
  const ToolRun run = sandbox.RunInData(
      {"new", "--title", "K\xC3\xB6nig der K\xC3\xB6nige", "--text-file", (sandbox.root() / "text.txt").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2\n");
  const std::vector<std::string> index = Lines(ReadFileBytes(sandbox.dataDir() / "lieder.dat"));
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(RecordField(index[0], 1), "2");
  EXPECT_EQ(RecordField(index[0], 3), "K\xF6nig der K\xF6nige");
  EXPECT_EQ(CountOf(index[0], '\t'), 21);
  EXPECT_EQ(RecordField(index[1], 3), "Das erste Lied");
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "2.dat"),
            ">G   D\r\nHerr, \xFC"
            "ber allem &#322;\r\n\r\n;Ende\r\n");
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), "2\r\n");
  // What the store holds comes back unchanged on the screen.
  EXPECT_EQ(sandbox.RunInData({"show", "2"}).out.substr(0, 2), "2\t");
  EXPECT_NE(sandbox.RunInData({"show", "2"})
                .out.find("Herr, \xC3\xBC"
                          "ber allem \xC5\x82\n"),
            std::string::npos);
}

TEST(ToolNew, WrongUsageAndUnreadableTextChangeNothing) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  const std::string index = ReadFileBytes(sandbox.dataDir() / "lieder.dat");
  EXPECT_EQ(sandbox.RunInData({"new"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"new", "--titel", "x"}).status, 2);
  EXPECT_EQ(sandbox.RunInData({"new", "--title"}).status, 2);
  const ToolRun unreadable = sandbox.RunInData({"new", "--title", "x", "--text-file", "/nicht/da"});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "lieder.dat"), index);
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), "1\r\n");
}

TEST(ToolNextId, CountsOnAndSkipsIdsInUse) {
  ToolSandbox sandbox;
  WriteFileBytes(sandbox.dataDir() / "lieder.dat", "5\ts\tF\xFCnf\t\r\n");
  WriteFileBytes(sandbox.dataDir() / "id.dat", "kaputt");
  const ToolRun run = sandbox.RunInData({"next-id"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "6\n");
  EXPECT_EQ(sandbox.RunInData({"next-id"}).out, "7\n");
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), "7\r\n");
}

}  // namespace
}  // namespace psalmora::testing
