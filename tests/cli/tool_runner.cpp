#include "tool_runner.h"

#include <sys/wait.h>

#include <cstdlib>

namespace psalmora::testing {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

ToolSandbox::ToolSandbox() {
  std::filesystem::create_directories(dir_ / "home");
}

ToolRun ToolSandbox::Run(const std::vector<std::string>& arguments) const {
  std::string command = "env HOME=" + Quoted((dir_ / "home").string()) +
                        " XDG_CONFIG_HOME=" + Quoted((dir_ / "config").string()) +
                        " XDG_DATA_HOME=" + Quoted((dir_ / "share").string()) + " " + Quoted(PSALMORA_TOOL_PATH);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " >" + Quoted((dir_ / "stdout.txt").string()) + " 2>" + Quoted((dir_ / "stderr.txt").string());
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFileBytes(dir_ / "stdout.txt");
  run.err = ReadFileBytes(dir_ / "stderr.txt");
  return run;
}

ToolRun ToolSandbox::RunInData(const std::vector<std::string>& arguments) const {
  std::vector<std::string> all = {"--program-dir", programDir().string(), "--data-dir", dataDir().string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return Run(all);
}

}  // namespace psalmora::testing
