#include "tool_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

ToolRun ToolSandbox::Run(const std::vector<std::string>& arguments, const std::string* input) const {
  std::string command = "env HOME=" + Quoted((dir_ / "home").string()) +
                        " XDG_CONFIG_HOME=" + Quoted((dir_ / "config").string()) +
                        " XDG_DATA_HOME=" + Quoted((dir_ / "share").string()) + " " + Quoted(PSALMORA_TOOL_PATH);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " >" + Quoted((dir_ / "stdout.txt").string()) + " 2>" + Quoted((dir_ / "stderr.txt").string());
  if (input != nullptr) {
    WriteFileBytes(dir_ / "stdin.txt", *input);
    command += " <" + Quoted((dir_ / "stdin.txt").string());
  }
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

ToolRun ToolSandbox::RunInDataWithInput(const std::vector<std::string>& arguments, const std::string& input) const {
  std::vector<std::string> all = {"--program-dir", programDir().string(), "--data-dir", dataDir().string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return Run(all, &input);
}

std::vector<ToolRun> ToolSandbox::RunInDataConcurrently(const std::vector<std::vector<std::string>>& runs) const {
  std::vector<pid_t> children;
  for (std::size_t n = 0; n < runs.size(); ++n) {
    std::vector<std::string> arguments = {PSALMORA_TOOL_PATH, "--program-dir", programDir().string(), "--data-dir",
                                          dataDir().string()};
    arguments.insert(arguments.end(), runs[n].begin(), runs[n].end());
    const std::string out = (dir_ / ("stdout-" + std::to_string(n) + ".txt")).string();
    const std::string err = (dir_ / ("stderr-" + std::to_string(n) + ".txt")).string();
    const pid_t child = ::fork();
    if (child == 0) {
      ::setenv("HOME", (dir_ / "home").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
      ::setenv("XDG_DATA_HOME", (dir_ / "share").c_str(), 1);
      ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      std::vector<char*> argv;
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    children.push_back(child);
  }
  std::vector<ToolRun> results(runs.size());
  for (std::size_t n = 0; n < children.size(); ++n) {
    int raw = 0;
    ::waitpid(children[n], &raw, 0);
    results[n].status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    results[n].out = ReadFileBytes(dir_ / ("stdout-" + std::to_string(n) + ".txt"));
    results[n].err = ReadFileBytes(dir_ / ("stderr-" + std::to_string(n) + ".txt"));
  }
  return results;
}

}  // namespace psalmora::testing
