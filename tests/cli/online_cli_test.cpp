// psalmora-tool login and sync against a real psalmora-server on loopback.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <sstream>
#include <thread>

#include "support/server_process.h"
#include "support/temp_dir.h"
#include "tool_runner.h"

namespace psalmora::testing {
namespace {

#ifdef PSALMORA_SERVER_PATH
constexpr const char* kServerPath = PSALMORA_SERVER_PATH;
#else
constexpr const char* kServerPath = nullptr;
#endif

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A song text with every line break as LF: the editor writes CR LF, a synchronised song CR.
std::string LineText(std::string text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines.push_back(text[i] == '\r' ? '\n' : text[i]);
  }
  return lines;
}

// The titles of "list" (id TAB title per line), sorted: two folders agree on songs, not on local ids.
std::vector<std::string> Titles(const ToolSandbox& box, const std::vector<std::string>& command = {"list"}) {
  std::vector<std::string> titles;
  for (const std::string& line : Lines(box.RunInData(command).out)) titles.push_back(line.substr(line.find('\t') + 1));
  std::sort(titles.begin(), titles.end());
  return titles;
}

std::string IdOf(const ToolSandbox& box, const std::string& title) {
  for (const std::string& line : Lines(box.RunInData({"list"}).out)) {
    if (line.substr(line.find('\t') + 1) == title) return line.substr(0, line.find('\t'));
  }
  return {};
}

class OnlineCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kServerPath == nullptr) GTEST_SKIP() << "psalmora-server is not built here (cpp-httplib, SQLite or libsodium)";
    server_ = std::make_unique<ServerProcess>(kServerPath);
    ASSERT_TRUE(server_->Running()) << "psalmora-server did not start";
    ASSERT_TRUE(server_->AddUser("anna@example.org", "geheim 1"));
    ASSERT_TRUE(server_->AddUser("bert@example.org", "anderes"));
  }
  // A data folder with the sample song, logged in as the user.
  void Prepare(const ToolSandbox& box, const std::string& email, const std::string& password) {
    ASSERT_EQ(box.RunInData({"init"}).status, 0);
    const ToolRun login = box.RunInDataWithInput({"login", email, "--server", server_->Address()}, password + "\n");
    ASSERT_EQ(login.status, 0) << login.err;
  }
  ToolRun Sync(const ToolSandbox& box) {
    ToolRun run = box.RunInData({"sync"});
    EXPECT_EQ(run.status, 0) << run.err;
    return run;
  }

  std::unique_ptr<ServerProcess> server_;
};

TEST_F(OnlineCliTest, TwoDataFoldersOfOneAccountConverge) {
  ToolSandbox a, b;
  Prepare(a, "anna@example.org", "geheim 1");
  Prepare(b, "anna@example.org", "geheim 1");
  const std::string first = Lines(a.RunInData({"new", "--title", "Erstes Lied"}).out).at(0);
  const std::string second =
      Lines(a.RunInData({"new", "--title", "A&O: 100% Liebe \xE2\x80\x99s Gr\xC3\xBC\xC3\x9F"}).out).at(0);
  const std::string trashed = Lines(a.RunInData({"new", "--title", "Nur im Papierkorb"}).out).at(0);
  ASSERT_EQ(a.RunInData({"delete", trashed}).status, 0);
  // A text longer than a request line may be.
  std::string longText;
  for (int line = 1; line <= 300; ++line)
    longText += "Zeile " + std::to_string(line) + " mit Gr\xC3\xBC\xC3\x9F & Co\n";
  WriteFileBytes(a.root() / "lang.txt", longText);
  ASSERT_EQ(a.RunInData({"new", "--title", "Langes Lied", "--text-file", (a.root() / "lang.txt").string()}).status, 0);
  ASSERT_EQ(a.RunInData({"selection", "new"}).status, 0);
  ASSERT_EQ(a.RunInData({"selection", "rename", "0", "Gottesdienst"}).status, 0);
  ASSERT_EQ(a.RunInData({"selection", "add", "Gottesdienst", second, first}).status, 0);

  EXPECT_NE(Sync(a).out.find("songs: 4 uploaded, 0 downloaded"), std::string::npos);
  const ToolRun toB = Sync(b);
  EXPECT_NE(toB.out.find("songs: 1 uploaded, 4 downloaded"), std::string::npos) << toB.out;
  EXPECT_EQ(LineText(ReadFileBytes(b.dataDir() / (IdOf(b, "Langes Lied") + ".dat"))),
            LineText(ReadFileBytes(a.dataDir() / (IdOf(a, "Langes Lied") + ".dat"))));
  EXPECT_NE(toB.out.find("downloaded: A&O: 100% Liebe \xE2\x80\x99s Gr\xC3\xBC\xC3\x9F"), std::string::npos);
  Sync(a);
  EXPECT_EQ(Titles(a), Titles(b));
  const std::vector<std::string> onB = Titles(b);
  EXPECT_EQ(std::count(onB.begin(), onB.end(), "Nur im Papierkorb"), 0);
  EXPECT_EQ(Titles(b, {"selection", "list", "Gottesdienst"}), Titles(a, {"selection", "list", "Gottesdienst"}));
  EXPECT_EQ(Titles(b, {"selection", "list", "Gottesdienst"}).size(), 2u);

  // On b: one song changed later than a's copy, one deleted (which also changes the selection).
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  const std::string changedId = IdOf(b, "Erstes Lied");
  ASSERT_FALSE(changedId.empty());
  std::string list = ReadFileBytes(b.dataDir() / "lieder.dat");
  const std::size_t title = list.find("Erstes Lied");
  list.replace(title, 11, "Erstes Lied, neu");
  const std::size_t lineStart = list.rfind('\n', title) + 1;
  std::size_t field12 = lineStart;
  for (int tab = 0; tab < 11; ++tab) field12 = list.find('\t', field12) + 1;
  list.replace(field12, list.find('\t', field12) - field12, "01.01.2030-10:00");
  WriteFileBytes(b.dataDir() / "lieder.dat", list);
  WriteFileBytes(b.dataDir() / (changedId + ".dat"), "Neue Strophe\rZweite Zeile\r\n");
  ASSERT_EQ(b.RunInData({"delete", IdOf(b, "A&O: 100% Liebe \xE2\x80\x99s Gr\xC3\xBC\xC3\x9F")}).status, 0);
  const ToolRun fromB = Sync(b);
  EXPECT_NE(fromB.out.find("sent: Erstes Lied, neu"), std::string::npos) << fromB.out;

  const ToolRun toA = Sync(a);
  EXPECT_NE(toA.out.find("changed: Erstes Lied, neu"), std::string::npos) << toA.out;
  EXPECT_NE(toA.out.find("deleted: A&O"), std::string::npos) << toA.out;
  EXPECT_NE(toA.out.find("selections: 0 uploaded, 0 downloaded, 1 changed"), std::string::npos) << toA.out;
  EXPECT_EQ(Titles(a), Titles(b));
  EXPECT_EQ(ReadFileBytes(a.dataDir() / (IdOf(a, "Erstes Lied, neu") + ".dat")), "Neue Strophe\rZweite Zeile\r\n");
  EXPECT_EQ(Titles(a, {"selection", "list", "Gottesdienst"}), std::vector<std::string>{"Erstes Lied, neu"});
  EXPECT_EQ(Titles(b, {"selection", "list", "Gottesdienst"}), std::vector<std::string>{"Erstes Lied, neu"});

  // Nothing left to do on either side.
  EXPECT_NE(Sync(b).out.find("songs: 0 uploaded, 0 downloaded, 0 changed, 0 deleted, 0 sent"), std::string::npos);
  EXPECT_NE(Sync(a).out.find("songs: 0 uploaded, 0 downloaded, 0 changed, 0 deleted, 0 sent"), std::string::npos);
}

TEST_F(OnlineCliTest, ASecondAccountSeesNothingOfTheFirst) {
  ToolSandbox a, c;
  Prepare(a, "anna@example.org", "geheim 1");
  Prepare(c, "bert@example.org", "anderes");
  a.RunInData({"new", "--title", "Annas Lied"});
  Sync(a);
  const ToolRun run = Sync(c);
  EXPECT_NE(run.out.find("songs: 1 uploaded, 0 downloaded"), std::string::npos) << run.out;
  const std::vector<std::string> onC = Titles(c);
  EXPECT_EQ(std::count(onC.begin(), onC.end(), "Annas Lied"), 0);
}

TEST_F(OnlineCliTest, LoginKeepsTheSettingsFileModeAndRefusesAWrongPassword) {
  ToolSandbox a;
  ASSERT_EQ(a.RunInData({"init"}).status, 0);
  const std::filesystem::path settings = a.programDir() / "config" / "einstellungen.ini";
  ASSERT_TRUE(std::filesystem::exists(settings));
  ::chmod(settings.c_str(), 0600);
  const ToolRun wrong =
      a.RunInDataWithInput({"login", "anna@example.org", "--server", server_->Address()}, "xyzzy-42\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("Anmeldung fehlgeschlagen"), std::string::npos) << wrong.err;
  EXPECT_EQ(wrong.err.find("xyzzy"), std::string::npos);  // the password is never printed
  EXPECT_EQ(a.RunInData({"sync"}).status, 1);             // not logged in
  const ToolRun right =
      a.RunInDataWithInput({"login", "anna@example.org", "--server", server_->Address()}, "geheim 1\n");
  ASSERT_EQ(right.status, 0) << right.err;
  Sync(a);
  struct stat info {};
  ASSERT_EQ(::stat(settings.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(OnlineCliTest, AnUnreachableServerChangesNothingAndSaysSo) {
  ToolSandbox a;
  Prepare(a, "anna@example.org", "geheim 1");
  a.RunInData({"new", "--title", "Nicht hochgeladen"});
  server_->Stop();
  const std::string songs = ReadFileBytes(a.dataDir() / "lieder.dat");
  const ToolRun run = a.RunInData({"sync"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("nicht erreichbar"), std::string::npos) << run.err;
  EXPECT_EQ(Lines(run.err).size(), 1u);
  EXPECT_EQ(ReadFileBytes(a.dataDir() / "lieder.dat"), songs);
  const ToolRun login =
      a.RunInDataWithInput({"login", "anna@example.org", "--server", server_->Address()}, "geheim 1\n");
  EXPECT_EQ(login.status, 1);
  EXPECT_NE(login.err.find("nicht erreichbar"), std::string::npos) << login.err;
}

}  // namespace
}  // namespace psalmora::testing
