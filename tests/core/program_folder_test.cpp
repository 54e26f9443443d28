#include "core/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(ProgramFolder, OverrideWinsThenAWritableProgramFolderThenTheUserFolder) {
  TempDir dir;
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
  EXPECT_EQ(ChooseProgramFolder(dir / "override", dir.path()), dir / "override");
  EXPECT_EQ(ChooseProgramFolder({}, dir.path()), dir.path());
  // A program folder that cannot take files (here: one that does not exist) falls back to the user's.
  EXPECT_EQ(ChooseProgramFolder({}, dir / "fehlt"), dir / "xdg" / "psalmora");
  EXPECT_EQ(UserProgramFolder(), dir / "xdg" / "psalmora");
  // An installed program (bin/ beside share/psalmora/) keeps its files per user even when bin/ is writable.
  WriteFileBytes(dir / "usr" / "share" / "psalmora" / "config" / "einstellungen.ini", "");
  std::filesystem::create_directories(dir / "usr" / "bin");
  EXPECT_EQ(ChooseProgramFolder({}, dir / "usr" / "bin"), dir / "xdg" / "psalmora");
  if (old)
    ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

TEST(ProgramFolder, WritableFolderCheck) {
  TempDir dir;
  EXPECT_TRUE(IsWritableFolder(dir.path()));
  WriteFileBytes(dir / "datei", "x");
  EXPECT_FALSE(IsWritableFolder(dir / "datei"));
  EXPECT_FALSE(IsWritableFolder(dir / "fehlt"));
  EXPECT_FALSE(IsWritableFolder({}));
}

TEST(ProgramFolder, RunningProgramFolderIsTheTestsFolder) {
  const std::filesystem::path folder = RunningProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(ProgramFolder, DefaultsAreFoundBesideTheProgramOrInAnInstallOrTheSourceTree) {
  TempDir dir;
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::create_directories(dir / "share" / "psalmora" / "config");
  EXPECT_EQ(FindDefaultsFolder(dir / "bin"), dir / "share" / "psalmora");
  std::filesystem::create_directories(dir / "bin" / "data" / "config");
  EXPECT_EQ(FindDefaultsFolder(dir / "bin"), dir / "bin" / "data");
  // From the build tree the repository's data folder is found.
  TempDir bare;
  const std::filesystem::path fromBuild = FindDefaultsFolder(bare / "bin");
  ASSERT_FALSE(fromBuild.empty());
  EXPECT_TRUE(std::filesystem::exists(fromBuild / "config" / "pick-4.dat"));
}

TEST(ProgramFolder, InstallDefaultsCopiesOnlyMissingFiles) {
  TempDir dir;
  const auto defaults = dir / "defaults";
  WriteFileBytes(defaults / "config" / "einstellungen.ini", "[voreinstellung]\r\nsprache=0\r\n");
  WriteFileBytes(defaults / "config" / "pick-4.dat", "0\tLobpreis\r\n");
  WriteFileBytes(defaults / "layouts" / "1.lay", "Standard");
  WriteFileBytes(defaults / "bibel" / "de" / "index.dat", "1");
  WriteFileBytes(defaults / "fremd" / "x.txt", "nicht kopieren");
  const auto program = dir / "program";
  WriteFileBytes(program / "config" / "einstellungen.ini", "[voreinstellung]\r\nsprache=2\r\n");

  const DefaultsCopy copy = InstallDefaults(defaults, program);
  EXPECT_TRUE(copy.errors.empty());
  EXPECT_EQ(copy.copied, 3);
  EXPECT_EQ(ReadFileBytes(program / "config" / "einstellungen.ini"), "[voreinstellung]\r\nsprache=2\r\n");
  EXPECT_EQ(ReadFileBytes(program / "config" / "pick-4.dat"), "0\tLobpreis\r\n");
  EXPECT_EQ(ReadFileBytes(program / "layouts" / "1.lay"), "Standard");
  EXPECT_EQ(ReadFileBytes(program / "bibel" / "de" / "index.dat"), "1");
  EXPECT_FALSE(std::filesystem::exists(program / "fremd"));

  EXPECT_EQ(InstallDefaults(defaults, program).copied, 0);  // a second start copies nothing
  // A layout the user deleted stays deleted; a file a newer version ships arrives once.
  std::filesystem::remove(program / "layouts" / "1.lay");
  WriteFileBytes(defaults / "layouts" / "2.lay", "Neu");
  EXPECT_EQ(InstallDefaults(defaults, program).copied, 1);
  EXPECT_FALSE(std::filesystem::exists(program / "layouts" / "1.lay"));
  EXPECT_EQ(ReadFileBytes(program / "layouts" / "2.lay"), "Neu");
  EXPECT_EQ(InstallDefaults(program, program).copied, 0);  // defaults inside the program folder
  EXPECT_EQ(InstallDefaults({}, program).copied, 0);
}

TEST(ProgramFolder, InstallDefaultsLeavesABibleOfTheUsersOwnAlone) {
  TempDir dir;
  const auto defaults = dir / "defaults";
  WriteFileBytes(defaults / "bibel" / "uebersetzungen.dat", "kjv.dat\tKing James Version\r\n");
  WriteFileBytes(defaults / "bibel" / "index.dat", "NT Johannes 1-21\r\n");
  WriteFileBytes(defaults / "bibel" / "kjv.dat", "NT\tJohannes\t3\t16 For God so loved the world\r\n");
  // Without translations the shipped one arrives (also in a folder an earlier version filled).
  const auto empty = dir / "empty";
  WriteFileBytes(empty / kInstalledDefaultsFile, "config/einstellungen.ini\r\n");
  EXPECT_EQ(InstallDefaults(defaults, empty).copied, 3);
  // With a list of its own nothing of the shipped Bible comes, now or later.
  const auto own = dir / "own";
  WriteFileBytes(own / "config" / "einstellungen.ini", "");
  WriteFileBytes(own / "bibel" / "uebersetzungen.dat", "luther.dat\tLuther\r\n");
  EXPECT_EQ(InstallDefaults(defaults, own).copied, 0);
  std::filesystem::remove(own / "bibel" / "uebersetzungen.dat");
  EXPECT_EQ(InstallDefaults(defaults, own).copied, 0);
  EXPECT_FALSE(std::filesystem::exists(own / "bibel" / "kjv.dat"));
}

TEST(ProgramFolder, InstallDefaultsReportsWhatItCannotCopy) {
  TempDir dir;
  WriteFileBytes(dir / "defaults" / "config" / "a.dat", "a");
  WriteFileBytes(dir / "program", "a file where the program folder should be");
  const DefaultsCopy copy = InstallDefaults(dir / "defaults", dir / "program");
  EXPECT_EQ(copy.copied, 0);
  EXPECT_FALSE(copy.errors.empty());
}

}  // namespace
}  // namespace psalmora
