#include "core/registry_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

namespace psalmora {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(RegistryStore, MissingFileGroupOrValueGiveTheLiteralErrorTexts) {
  TempDir dir;
  RegistryStore registry(dir / "registry.ini");
  EXPECT_EQ(registry.Read("DIR-Daten"), "Error Opening Key");
  WriteFileBytes(dir / "registry.ini", "[Andere]\r\nDIR-Daten=/x\r\n");
  EXPECT_EQ(registry.Read("DIR-Daten"), "Error Opening Key");
  WriteFileBytes(dir / "registry.ini", "[Software\\Psalmora]\r\nVersion=312\r\n");
  EXPECT_EQ(registry.Read("DIR-Daten"), "Error Reading key");
  EXPECT_EQ(registry.Read("Version"), "312");
}

TEST(RegistryStore, WriteCreatesFolderFileAndGroupAndReadsBack) {
  TempDir dir;
  RegistryStore registry(dir / "neu" / "psalmora" / "registry.ini");
  ASSERT_TRUE(registry.Write("DIR-Daten", "/home/anna/Psalmora Lieder"));
  EXPECT_EQ(registry.Read("DIR-Daten"), "/home/anna/Psalmora Lieder");
  EXPECT_EQ(registry.Read("dir-daten"), "/home/anna/Psalmora Lieder");  // names ignore case
  EXPECT_EQ(ReadFileBytes(dir / "neu" / "psalmora" / "registry.ini"),
            "[Software\\Psalmora]\r\nDIR-Daten=/home/anna/Psalmora Lieder\r\n");
  ASSERT_TRUE(registry.Write("Version", "312"));
  ASSERT_TRUE(registry.Write("DIR-DATEN", "/b=c"));
  EXPECT_EQ(registry.Read("DIR-Daten"), "/b=c");
  EXPECT_EQ(registry.Read("Version"), "312");
  EXPECT_EQ(registry.Write("DIR-Daten", "a\nb").ok, false);  // a line cannot hold a line end
}

TEST(RegistryStore, WriteKeepsEveryOtherLine) {
  TempDir dir;
  WriteFileBytes(dir / "r.ini",
                 "; Kommentar\n[Fremd]\nDIR-Daten=fremd\n[Software\\Psalmora]\nVersion=311\n\n[Zuletzt]\nx=1\n");
  RegistryStore registry(dir / "r.ini");
  ASSERT_TRUE(registry.Write("DIR-Daten", "/daten"));
  ASSERT_TRUE(registry.Write("Version", "312"));
  EXPECT_EQ(ReadFileBytes(dir / "r.ini"),
            "; Kommentar\r\n[Fremd]\r\nDIR-Daten=fremd\r\n[Software\\Psalmora]\r\nVersion=312\r\n"
            "DIR-Daten=/daten\r\n\r\n[Zuletzt]\r\nx=1\r\n");
}

TEST(RegistryStore, AFailedWriteIsReportedAndKeepsTheFile) {
  TempDir dir;
  std::filesystem::create_directories(dir / "registry.ini");  // a folder in the file's place
  RegistryStore registry(dir / "registry.ini");
  const WriteResult result = registry.Write("DIR-Daten", "/x");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.empty());
  EXPECT_EQ(registry.Read("DIR-Daten"), "Error Opening Key");
}

TEST(RegistryStore, AFileThatCannotBeReadIsNotReplacedByOneValue) {
  TempDir dir;
  std::filesystem::create_symlink("registry.ini", dir / "registry.ini");  // a loop: there, but unreadable
  RegistryStore registry(dir / "registry.ini");
  const WriteResult result = registry.Write("DIR-Daten", "/x");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("cannot read"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "registry.ini"));
}

TEST(RegistryStore, DefaultFileFollowsXdgConfigHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-conf", 1);
  EXPECT_EQ(RegistryStore::DefaultFile(), std::filesystem::path("/tmp/xdg-conf/psalmora/registry.ini"));
  ::setenv("XDG_CONFIG_HOME", "relativ", 1);  // relative values are ignored, as the XDG rules say
  ::setenv("HOME", "/home/test", 1);
  EXPECT_EQ(RegistryStore::DefaultFile(), std::filesystem::path("/home/test/.config/psalmora/registry.ini"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryStore::DefaultFile(), std::filesystem::path("/home/test/.config/psalmora/registry.ini"));
  if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
  if (oldHome)
    ::setenv("HOME", savedHome.c_str(), 1);
  else
    ::unsetenv("HOME");
}

}  // namespace
}  // namespace psalmora
