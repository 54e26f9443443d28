// psalmora-tool as one of several writers: the data folder's lock lets one write at a time, and
// reading goes on while it is held.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "core/data_folder_lock.h"
#include "core/record_fields.h"
#include "core/text_lines.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

TEST(ToolWriterLock, ConcurrentNewSongsAllArriveWithTheirOwnIdsAndTexts) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  constexpr int kWriters = 20;
  std::vector<std::vector<std::string>> runs;
  for (int n = 0; n < kWriters; ++n) {
    const auto text = sandbox.root() / ("text-" + std::to_string(n) + ".txt");
    WriteFileBytes(text, "Strophe von Lied " + std::to_string(n) + "\n");
    runs.push_back({"new", "--title", "Lied " + std::to_string(n), "--text-file", text.string()});
  }
  const std::vector<ToolRun> results = sandbox.RunInDataConcurrently(runs);

  std::set<std::string> ids;
  for (int n = 0; n < kWriters; ++n) {
    ASSERT_EQ(results[n].status, 0) << results[n].err;
    const std::string id = results[n].out.substr(0, results[n].out.find('\n'));
    ids.insert(id);
    EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / (id + ".dat")), "Strophe von Lied " + std::to_string(n) + "\r\n");
  }
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(kWriters));
  const std::vector<std::string> index = SplitLines(ReadFileBytes(sandbox.dataDir() / "lieder.dat"));
  ASSERT_EQ(index.size(), static_cast<std::size_t>(kWriters + 1));
  for (const std::string& record : index) {
    const std::string id(RecordField(record, 1));
    EXPECT_TRUE(id == "1" || ids.count(id) == 1) << record;
  }
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), std::to_string(kWriters + 1) + "\r\n");
  EXPECT_FALSE(std::filesystem::exists(sandbox.dataDir() / "psalmora.lock"));
}

TEST(ToolWriterLock, WhileTheProgramHoldsTheFolderWritesAreRefusedAndReadsWork) {
  ToolSandbox sandbox;
  ASSERT_EQ(sandbox.RunInData({"init"}).status, 0);
  const std::string songs = ReadFileBytes(sandbox.dataDir() / "lieder.dat");
  // This test process stands in for the running program.
  WriteFileBytes(sandbox.dataDir() / "psalmora.lock",
                 "computer=" + ThisComputerName() + "\r\npid=" + std::to_string(::getpid()) + "\r\nkind=program\r\n");
  const std::string refusal = "psalmora-tool: Der Datenordner wird von Psalmora auf dem Computer \"" +
                              ThisComputerName() + "\" (Prozess " + std::to_string(::getpid()) + ") benutzt.\n";
  const std::vector<std::vector<std::string>> writes = {
      {"new", "--title", "x"},
      {"delete", "1"},
      {"purge"},
      {"next-id"},
      {"copy", "1"},
      {"selection", "new"},
      {"group", "new"},
      {"selection", "add", "0", "1"},
      {"init"},
  };
  for (const auto& write : writes) {
    const ToolRun run = sandbox.RunInData(write);
    EXPECT_EQ(run.status, 1) << write[0];
    EXPECT_EQ(run.err, refusal) << write[0];
  }
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "lieder.dat"), songs);
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "id.dat"), "1\r\n");
  EXPECT_EQ(ReadFileBytes(sandbox.dataDir() / "auswahl.dat"), "Neue Auswahl\r\n");

  const std::vector<std::vector<std::string>> reads = {
      {"list"},  {"show", "1"},         {"search", "Titel", "erste"},
      {"trash"}, {"selection", "list"}, {"render", "vorschau", "1"},
  };
  for (const std::vector<std::string>& read : reads) {
    EXPECT_EQ(sandbox.RunInData(read).status, 0) << read[0];
  }
}

}  // namespace
}  // namespace psalmora::testing
