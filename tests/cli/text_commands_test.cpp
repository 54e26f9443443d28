// psalmora-tool's text commands and its handling of wrong usage.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace psalmora::testing {
namespace {

TEST(ToolTimestamp, FormatsTheValueAsUtc) {
  ToolSandbox sandbox;
  const ToolRun run = sandbox.Run({"timestamp", "1520240700"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "05.03.2018-09:05\n");
  EXPECT_EQ(sandbox.Run({"timestamp", "0"}).out.size(), 17u);  // now
  EXPECT_EQ(sandbox.Run({"timestamp", "+1520240700"}).out, run.out);
  EXPECT_EQ(sandbox.Run({"timestamp", "12x"}).status, 2);
  EXPECT_EQ(sandbox.Run({"timestamp"}).status, 2);
}

TEST(ToolTranslate, UsesTheGivenLanguageOrTheSetting) {
  ToolSandbox sandbox;
  const auto program = sandbox.programDir().string();
  WriteFileBytes(sandbox.programDir() / "config" / "sprachen.spr",
                 "Papierkorb\tPapierkorb\tRecycle bin\r\nLeer\t\t\r\n\xDC"
                 "bersicht\t\xDC"
                 "bersicht\tOverview\r\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "translate", "Papierkorb", "--language", "2"}).out, "Recycle bin\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "translate", "Papierkorb"}).out, "Papierkorb\n");
  WriteFileBytes(sandbox.programDir() / "config" / "einstellungen.ini", "[voreinstellung]\r\nsprache=2\r\n");
  EXPECT_EQ(sandbox
                .Run({"--program-dir", program, "translate",
                      "\xC3\x9C"
                      "bersicht"})
                .out,
            "Overview\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "translate", "Leer"}).out, "Leer()\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "translate", "Fehlt"}).out, "not found\n");
  EXPECT_EQ(sandbox.Run({"--program-dir", program, "translate", "x", "--language", "9"}).status, 2);
}

TEST(ToolUsage, WrongUsageExitsWithTwoAndTheUsageText) {
  ToolSandbox sandbox;
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {}, {"gibtsnicht"}, {"--unbekannt", "list"}, {"--data-dir"}, {"list", "extra"}}) {
    const ToolRun run = sandbox.Run(arguments);
    EXPECT_EQ(run.status, 2) << (arguments.empty() ? "" : arguments[0]);
    EXPECT_NE(run.err.find("usage: psalmora-tool"), std::string::npos);
  }
  const ToolRun help = sandbox.Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("next-id"), std::string::npos);
  const ToolRun version = sandbox.Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("psalmora-tool 3.12 (", 0), 0u) << version.out;
}

}  // namespace
}  // namespace psalmora::testing
