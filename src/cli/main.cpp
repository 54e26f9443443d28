// psalmora-tool: the command-line program on the core. Global options come before the command.
#include <iostream>
#include <string>
#include <vector>

#include "cli/tool.h"
#include "core/data_folder.h"

namespace {

using namespace psalmora::cli;

int Run(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::filesystem::path programDir;
  std::filesystem::path dataDir;
  std::size_t next = 0;
  for (; next < arguments.size(); ++next) {
    const std::string& argument = arguments[next];
    if (argument == "--help" || argument == "-h" || argument == "help") {
      std::cout << UsageText();
      return kExitOk;
    }
    if (argument == "--version") {
      std::cout << "psalmora-tool " << psalmora::VersionText(PSALMORA_VERSION_DIGITS) << " (" << PSALMORA_VERSION_DATE
                << ")\n";
      return kExitOk;
    }
    if (argument.rfind("--", 0) != 0) break;
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (name != "--program-dir" && name != "--data-dir") {
      std::cerr << "psalmora-tool: unknown option " << name << "\n" << UsageText();
      return kExitUsage;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (next + 1 < arguments.size()) {
      value = arguments[++next];
    }
    if (value.empty()) {
      std::cerr << "psalmora-tool: option " << name << " needs a folder\n" << UsageText();
      return kExitUsage;
    }
    (name == "--program-dir" ? programDir : dataDir) = value;
  }
  if (next >= arguments.size()) {
    std::cerr << "psalmora-tool: no command given\n" << UsageText();
    return kExitUsage;
  }
  for (const Command& command : AllCommands()) {
    if (command.name != arguments[next]) continue;
    ToolContext context(programDir, dataDir, std::cout, std::cerr);
    const std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(next) + 1, arguments.end());
    return command.run(context, rest);
  }
  std::cerr << "psalmora-tool: unknown command " << arguments[next] << "\n" << UsageText();
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "psalmora-tool: " << error.what() << "\n";
    return kExitError;
  }
}
