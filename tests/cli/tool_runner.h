// Runs the built psalmora-tool in a sandbox: HOME and the XDG folders point into a temporary folder,
// so no test touches the real home or registry file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace psalmora::testing {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

class ToolSandbox {
 public:
  ToolSandbox();
  const std::filesystem::path& root() const { return dir_.path(); }
  std::filesystem::path programDir() const { return dir_ / "programm"; }
  std::filesystem::path dataDir() const { return dir_ / "daten"; }
  std::filesystem::path registryFile() const { return dir_ / "config" / "psalmora" / "registry.ini"; }

  // The tool with exactly these arguments.
  ToolRun Run(const std::vector<std::string>& arguments, const std::string* input = nullptr) const;
  // The tool with --program-dir and --data-dir of the sandbox before the arguments.
  ToolRun RunInData(const std::vector<std::string>& arguments) const;
  // RunInData with input as the tool's stdin.
  ToolRun RunInDataWithInput(const std::vector<std::string>& arguments, const std::string& input) const;
  // Starts every run of RunInData at once and waits for them all; results in the order given.
  std::vector<ToolRun> RunInDataConcurrently(const std::vector<std::vector<std::string>>& runs) const;

 private:
  TempDir dir_;
};

}  // namespace psalmora::testing
